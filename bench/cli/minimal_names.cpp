// The least a program can do for the same job: read the built-in first and
// last names from names.mdb, draw N full names with the same generator, and
// write them all with one write. The yardstick for `quillfern generate`.
//
//   minimal_names NAMES_MDB COUNT OUTPUT_FILE
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> readColumn(sqlite3* db, const char* sql) {
    std::vector<std::string> names;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return names;
    while (sqlite3_step(statement) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return names;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: minimal_names NAMES_MDB COUNT OUTPUT_FILE\n");
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return 1;
    const std::vector<std::string> first = readColumn(
        db, "select mfirst from system_mfirstname union select ffirst from system_ffirstname");
    const std::vector<std::string> last = readColumn(db, "select Last from system_lastname");
    sqlite3_close(db);
    if (first.empty() || last.empty()) return 1;

    const long count = std::atol(argv[2]);
    std::mt19937_64 engine(1);
    const auto draw = [&](std::size_t n) {
        const float r = static_cast<float>(engine() >> 40) * (1.0f / 16777216.0f);
        return static_cast<std::size_t>(static_cast<double>(r) * static_cast<double>(n));
    };
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 16);
    for (long i = 0; i < count; ++i) {
        const std::string& l = last[draw(last.size())];
        text += first[draw(first.size())];
        text += ' ';
        text += l;
        text += '\n';
    }
    const int fd = open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return 1;
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return close(fd) == 0 && written ? 0 : 1;
}
