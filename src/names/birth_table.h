#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>

#include "names/packed_names.h"

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

struct SexBirths {
    std::uint64_t female = 0;
    std::uint64_t male = 0;
    std::uint64_t total() const { return female + male; }
};

// The one rule for unisex first names drawn from birth counts: a name is
// unisex when it was given to at least kUnisexMinimumBirths children over the
// chosen decades and each sex holds at least a third of those births.
inline constexpr std::uint64_t kUnisexMinimumBirths = 1000;
bool isUnisex(SexBirths births);

// The names by their births over the columns [firstColumn, endColumn), by
// falling births (ties in the table's order): a unisex name in `unisex` alone with the births of
// both sexes, any other in `female` and `male` with the births of each. A name without births there
// is left out.
BirthLists birthLists(const BirthTable& table, qsizetype firstColumn, qsizetype endColumn);

// Reads the gzip-compressed table; `what` names it in failures. Throws
// platform::Failure for bytes that are not gzip, a header whose decades do not
// rise by ten, a sex other than F or M, a count that is not a whole number, a
// row with too few or too many columns.
BirthTable readBirthTable(const QByteArray& gzipped, const QString& what);

}  // namespace names
