#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "generate/fast_random.h"

namespace generate {

// Walker's alias method in Vose's form: built once from weights, then each
// draw takes O(1) time and one 64-bit random number.
//
// The table is built in integers: the weights are scaled to whole units that
// add up to exactly size() columns of 2^64 units each, and the columns are
// filled without rounding. A draw forms the 128-bit product r * size(): its high
// half picks the column, its low half is compared with the column's threshold
// (keep the column) or goes to the column's alias. Every weight's share is thus
// reproduced to within size() / 2^64 absolute, the limit of one 64-bit number.
class AliasTable {
public:
    // Weights must be finite and not negative, at least one above zero, and
    // fewer than 2^32 of them; otherwise platform::Failure. An entry of weight
    // zero is never drawn.
    explicit AliasTable(std::span<const double> weights);
    AliasTable(std::initializer_list<double> weights)
        : AliasTable(std::span<const double>(weights.begin(), weights.size())) {}

    std::uint32_t size() const { return static_cast<std::uint32_t>(columns_.size()); }

    std::uint32_t draw(std::uint64_t r) const {
        const Uint128 product = static_cast<Uint128>(r) * columns_.size();
        const Column& column = columns_[static_cast<std::size_t>(product >> 64)];
        const auto within = static_cast<std::uint64_t>(product);
        return within < column.threshold ? column.self : column.alias;
    }
    std::uint32_t draw(FastRandom& random) const { return draw(random.next()); }

    struct Column {
        std::uint64_t threshold;  // units of the column kept for its own entry
        std::uint32_t self;
        std::uint32_t alias;  // the entry that takes the rest of the column
    };
    // Column i belongs to entry i (self == i).
    const std::vector<Column>& columns() const { return columns_; }

private:
    std::vector<Column> columns_;
};

// The same table in 8 bytes a column, at 2^32 units a column: the column is
// the high half of r * size(), and it keeps its own entry while the next 32
// bits of that product are below `threshold`, else it gives `alias` (a full
// column has itself as alias). Each weight's share is reproduced to within
// 2^-32 of a column. The same weights are refused as by AliasTable.
struct CompactColumn {
    std::uint32_t threshold;
    std::uint32_t alias;
};
std::vector<CompactColumn> compactAliasColumns(std::span<const double> weights);

}  // namespace generate
