#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>

// Births per name, sex and decade, as an origin's births_by_decade.tsv.gz
// holds them (data/SOURCES.md): a header `name, sex, 1880s, ...`, then a row
// per name and sex with the births of each decade. Needs only Qt Core and
// zlib: the build tool reads it too.
namespace names {

struct BirthTable {
    QList<int> decades;  // the first year of each column, rising by ten: 1880, 1890, ...
    struct Row {
        std::uint32_t nameBegin = 0;  // the name's bytes in `names`
        std::uint32_t nameEnd = 0;
        std::uint32_t first = 0;  // where the row's births start in `births`
        bool female = false;      // sex F; else M
    };
    std::vector<Row> rows;
    std::string names;                  // the rows' names as UTF-8, one after the other
    std::vector<std::uint32_t> births;  // rows.size() * decades.size(), row after row

    bool empty() const { return rows.empty(); }
    std::string_view nameOf(const Row& row) const {
        return std::string_view(names).substr(row.nameBegin, row.nameEnd - row.nameBegin);
    }
    // The births of a row in the decade at column `decade`.
    std::uint32_t birthsOf(const Row& row, qsizetype decade) const {
        return births[row.first + static_cast<std::size_t>(decade)];
    }
};

// Reads the gzip-compressed table; `what` names it in failures. Throws
// platform::Failure for bytes that are not gzip, a header whose decades do not
// rise by ten, a sex other than F or M, a count that is not a whole number, a
// row with too few or too many columns.
BirthTable readBirthTable(const QByteArray& gzipped, const QString& what);

}  // namespace names
