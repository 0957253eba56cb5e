// The yardstick of `quillfern generate`: about the least a program can do for
// the same job. It holds the 1990 census first and last names (the name column
// of each file) as UTF-8 in memory, draws each part with splitmix64 and a
// multiply-shift range reduction, and writes "First Last\n" rows through one
// 1 MiB buffer with write(2).
//
//   yardstick CENSUS_FOLDER COUNT [OUTPUT_FILE]   (standard output without a file)
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Names one after the other in one block, with where each ends.
struct Names {
    std::string text;
    std::vector<std::uint32_t> ends{0};
    std::uint64_t size() const { return ends.size() - 1; }
};

// The first column of a census file, in proper case ("MARY" gives "Mary").
void readNames(const std::string& path, Names& names) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t end = line.find(' ');
        if (end == 0 || line.empty()) continue;
        const std::string name = line.substr(0, end);
        names.text += name[0];
        for (std::size_t i = 1; i < name.size(); ++i)
            names.text +=
                static_cast<char>(name[i] >= 'A' && name[i] <= 'Z' ? name[i] + 32 : name[i]);
        names.ends.push_back(static_cast<std::uint32_t>(names.text.size()));
    }
}

std::uint64_t splitmix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

__extension__ using Uint128 = unsigned __int128;

std::uint64_t below(std::uint64_t r, std::uint64_t n) {
    return static_cast<std::uint64_t>((static_cast<Uint128>(r) * n) >> 64);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = write(fd, data, size);
        if (wrote <= 0) return false;
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: yardstick CENSUS_FOLDER COUNT [OUTPUT_FILE]\n");
        return 2;
    }
    const std::string folder = argv[1];
    Names first, last;
    readNames(folder + "/dist.female.first", first);
    readNames(folder + "/dist.male.first", first);
    readNames(folder + "/dist.all.last", last);
    if (first.size() == 0 || last.size() == 0) {
        std::fprintf(stderr, "yardstick: no names in %s\n", argv[1]);
        return 1;
    }
    const int fd = argc == 4 ? open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0644) : STDOUT_FILENO;
    if (fd < 0) return 1;

    constexpr std::size_t kBuffer = 1024 * 1024;
    constexpr std::size_t kLongestRow = 256;  // census names are at most 15 letters
    std::vector<char> buffer(kBuffer);
    std::size_t used = 0;
    std::uint64_t state = 1;
    const long count = std::atol(argv[2]);
    for (long i = 0; i < count; ++i) {
        if (kBuffer - used < kLongestRow) {
            if (!writeAll(fd, buffer.data(), used)) return 1;
            used = 0;
        }
        const std::uint64_t f = below(splitmix64(state), first.size());
        const std::uint64_t l = below(splitmix64(state), last.size());
        const std::uint32_t fLength = first.ends[f + 1] - first.ends[f];
        const std::uint32_t lLength = last.ends[l + 1] - last.ends[l];
        char* at = buffer.data() + used;
        std::memcpy(at, first.text.data() + first.ends[f], fLength);
        at[fLength] = ' ';
        std::memcpy(at + fLength + 1, last.text.data() + last.ends[l], lLength);
        at[fLength + 1 + lLength] = '\n';
        used += fLength + lLength + 2;
    }
    if (!writeAll(fd, buffer.data(), used)) return 1;
    return close(fd) == 0 ? 0 : 1;
}
