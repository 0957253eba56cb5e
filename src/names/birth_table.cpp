#include "names/birth_table.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/failure.h"

namespace names {

namespace {

[[noreturn]] void fail(const QString& what, const QString& fault) {
    throw platform::Failure(what + QStringLiteral(": ") + fault);
}

[[noreturn]] void failAt(const QString& what, qsizetype line, const QString& fault) {
    fail(what, QStringLiteral("line %1: %2").arg(line).arg(fault));
}

QByteArray gunzip(const QByteArray& gzipped, const QString& what) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) fail(what, QStringLiteral("no inflater"));
    QByteArray out;
    out.reserve(gzipped.size() * 5);
    char chunk[1 << 16];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzipped.constData()));
    stream.avail_in = static_cast<uInt>(gzipped.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        rc = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, static_cast<qsizetype>(sizeof chunk - stream.avail_out));
    }
    inflateEnd(&stream);
    if (rc != Z_STREAM_END) fail(what, QStringLiteral("not a whole gzip stream"));
    return out;
}

// Splits a line at its tabs, one cell at a time.
class Cells {
public:
    explicit Cells(std::string_view line) : rest_(line) {}
    bool next(std::string_view& cell) {
        if (done_) return false;
        const std::size_t tab = rest_.find('\t');
        cell = rest_.substr(0, tab);
        done_ = tab == std::string_view::npos;
        if (!done_) rest_.remove_prefix(tab + 1);
        return true;
    }

    // What next() has not yet given, and whether there is any.
    std::string_view rest() const { return rest_; }
    bool hasRest() const { return !done_; }

private:
    std::string_view rest_;
    bool done_ = false;
};

QList<int> decadesOf(std::string_view header, const QString& what) {
    Cells cells(header);
    std::string_view cell;
    if (!cells.next(cell) || cell != "name" || !cells.next(cell) || cell != "sex")
        fail(what, QStringLiteral("the header is not name, sex and decades"));
    QList<int> decades;
    while (cells.next(cell)) {
        int year = 0;
        const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), year);
        if (error != std::errc() || end + 1 != cell.data() + cell.size() || *end != 's' ||
            year % 10 != 0 || (!decades.isEmpty() && year != decades.last() + 10))
            fail(what, QStringLiteral("the header's decades do not rise by ten"));
        decades.append(year);
    }
    if (decades.isEmpty()) fail(what, QStringLiteral("the header is not name, sex and decades"));
    return decades;
}

void readRow(std::string_view line, qsizetype number, const QString& what, BirthTable& table) {
    Cells cells(line);
    std::string_view name, sex;
    cells.next(name);
    if (!cells.next(sex) || (sex != "F" && sex != "M"))
        failAt(what, number, QStringLiteral("a sex other than F or M"));
    BirthTable::Row row;
    row.nameBegin = static_cast<std::uint32_t>(table.names.size());
    table.names.append(name);
    row.nameEnd = static_cast<std::uint32_t>(table.names.size());
    row.first = static_cast<std::uint32_t>(table.births.size());
    row.female = sex == "F";
    // The counts read straight through the rest of the line: each ends at a
    // tab or at the line's end, with no search for the tab first.
    qsizetype columns = 0;
    const std::string_view counts = cells.rest();
    const char* at = counts.data();
    const char* const lineEnd = counts.data() + counts.size();
    while (cells.hasRest()) {
        std::uint32_t count = 0;
        const auto [end, error] = std::from_chars(at, lineEnd, count);
        if (end == at || error != std::errc() || (end != lineEnd && *end != '\t'))
            failAt(what, number, QStringLiteral("a count that is not a whole number"));
        table.births.push_back(count);
        ++columns;
        if (end == lineEnd) break;
        at = end + 1;
    }
    if (columns != table.decades.size())
        failAt(what, number, QStringLiteral("not %1 columns").arg(table.decades.size() + 2));
    table.rows.push_back(row);
}

}  // namespace

namespace {

PackedNames byFallingWeight(const PackedNames& list) {
    std::vector<std::uint32_t> order(list.size());
    for (std::uint32_t i = 0; i < list.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return list.weights[a] > list.weights[b];
    });
    PackedNames sorted;
    sorted.text.reserve(list.text.size() + kTextSpare);
    for (std::uint32_t i : order) sorted.append(list.at(i), list.weights[i]);
    return sorted;
}

}  // namespace

bool isUnisex(SexBirths births) {
    const std::uint64_t total = births.total();
    return total >= kUnisexMinimumBirths && births.female * 3 >= total && births.male * 3 >= total;
}

BirthLists birthLists(const BirthTable& table, qsizetype firstColumn, qsizetype endColumn) {
    BirthLists lists;
    const auto addName = [&](std::string_view name, SexBirths births) {
        if (isUnisex(births)) {
            lists.unisex.append(name, static_cast<double>(births.total()));
            return;
        }
        if (births.female > 0) lists.female.append(name, static_cast<double>(births.female));
        if (births.male > 0) lists.male.append(name, static_cast<double>(births.male));
    };
    // A name's two sexes are rows one after the other.
    std::string_view name;
    SexBirths births;
    for (const BirthTable::Row& row : table.rows) {
        const std::string_view rowName = table.nameOf(row);
        if (rowName != name) {
            if (!name.empty()) addName(name, births);
            name = rowName;
            births = {};
        }
        std::uint64_t& count = row.female ? births.female : births.male;
        for (qsizetype c = firstColumn; c < endColumn; ++c) count += table.birthsOf(row, c);
    }
    if (!name.empty()) addName(name, births);
    // By falling births: the commonest names, drawn most, side by side.
    for (PackedNames* list : {&lists.female, &lists.male, &lists.unisex})
        *list = byFallingWeight(*list);
    return lists;
}

BirthTable readBirthTable(const QByteArray& gzipped, const QString& what) {
    const QByteArray bytes = gunzip(gzipped, what);
    std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (text.size() >= std::numeric_limits<std::uint32_t>::max() / 2)
        fail(what, QStringLiteral("too large"));
    BirthTable table;
    for (qsizetype number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (number == 1)
            table.decades = decadesOf(line, what);
        else
            readRow(line, number, what, table);
    }
    if (table.decades.isEmpty()) fail(what, QStringLiteral("no header"));
    return table;
}

}  // namespace names
