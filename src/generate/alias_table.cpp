#include "generate/alias_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include <QString>

#include "platform/failure.h"

namespace generate {

namespace {

constexpr Uint128 kColumnUnits = static_cast<Uint128>(1) << 64;

void checkWeights(std::span<const double> weights) {
    if (weights.empty()) throw platform::Failure(QStringLiteral("No weights to draw from"));
    if (weights.size() > std::numeric_limits<std::uint32_t>::max())
        throw platform::Failure(QStringLiteral("Too many weights to draw from"));
    for (double w : weights) {
        if (!std::isfinite(w) || w < 0)
            throw platform::Failure(
                QStringLiteral("A weight is not a finite number of at least zero: %1").arg(w));
    }
    if (std::none_of(weights.begin(), weights.end(), [](double w) { return w > 0; }))
        throw platform::Failure(QStringLiteral("All weights are zero"));
}

// floor(v) for 0 <= v < 2^128, in two 64-bit conversions rather than the
// library's slow one to 128 bits. Both halves are exact: v / 2^64 only moves
// the exponent, and v less its multiple of 2^64 is a multiple of v's last place.
Uint128 wholeUnits(double v) {
    const double high = std::floor(v * 0x1p-64);
    const double low = v - high * 0x1p64;
    return (static_cast<Uint128>(static_cast<std::uint64_t>(high)) << 64) |
           static_cast<std::uint64_t>(low);
}

// The largest weight (all are at least zero), four at a time side by side
// rather than one long chain of comparisons.
double largestOf(std::span<const double> weights) {
    std::array<double, 4> largest{};
    std::size_t i = 0;
    for (; i + 4 <= weights.size(); i += 4)
        for (std::size_t lane = 0; lane < 4; ++lane)
            largest[lane] = std::max(largest[lane], weights[i + lane]);
    for (; i < weights.size(); ++i) largest[0] = std::max(largest[0], weights[i]);
    return *std::max_element(largest.begin(), largest.end());
}

// The weights in whole units adding up to exactly weights.size() columns of
// `column` units. A weight above zero keeps at least one unit; the rounding
// remainder, less than a unit per weight, goes to the largest weight.
template <class Unit, class ToUnits>
std::vector<Unit> unitsOf(std::span<const double> weights, Unit column, double columnAsDouble,
                          ToUnits toUnits) {
    const double largest = largestOf(weights);
    double sum = 0;
    for (double w : weights) sum += w / largest;  // at most size(): no overflow
    const double unitsPerWeight = static_cast<double>(weights.size()) * columnAsDouble / sum;

    std::vector<Unit> units(weights.size());
    Unit total = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] > 0)
            units[i] = std::max<Unit>(1, toUnits(weights[i] / largest * unitsPerWeight));
        total += units[i];
    }
    const Unit wanted = column * weights.size();
    Unit& biggest = *std::max_element(units.begin(), units.end());
    biggest = biggest + wanted - total;  // modular: right whether total is above or below
    return units;
}

// Vose's filling of the columns: setColumn(i, kept, alias) for each column i,
// `kept` of its `column` units for entry i and the rest for `alias`; a full
// column is set with kept == column and alias == i.
template <class Unit, class SetColumn>
void fillColumns(std::vector<Unit> units, Unit column, SetColumn setColumn) {
    const auto n = static_cast<std::uint32_t>(units.size());
    // Both hold indices that never add up to more than n: room for them at once.
    std::vector<std::uint32_t> small, large;
    small.reserve(n);
    large.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) (units[i] < column ? small : large).push_back(i);
    // The units add up to exactly n columns, so while an entry is short of a
    // full column another holds more than one: small and large run out together.
    while (!small.empty() && !large.empty()) {
        const std::uint32_t s = small.back(), l = large.back();
        small.pop_back();
        setColumn(s, units[s], l);
        units[l] -= column - units[s];
        if (units[l] < column) {
            large.pop_back();
            small.push_back(l);
        }
    }
    // What is left fills its own column exactly.
    for (std::uint32_t i : large) setColumn(i, column, i);
    for (std::uint32_t i : small) setColumn(i, column, i);
}

}  // namespace

AliasTable::AliasTable(std::span<const double> weights) {
    checkWeights(weights);
    columns_.resize(weights.size());
    fillColumns(unitsOf(weights, kColumnUnits, 0x1p64, wholeUnits), kColumnUnits,
                [&](std::uint32_t i, Uint128 kept, std::uint32_t alias) {
                    const std::uint64_t threshold =
                        kept >= kColumnUnits ? ~std::uint64_t{0} : static_cast<std::uint64_t>(kept);
                    columns_[i] = Column{threshold, i, alias};
                });
}

std::vector<CompactColumn> compactAliasColumns(std::span<const double> weights) {
    checkWeights(weights);
    constexpr std::uint64_t kCompactUnits = std::uint64_t{1} << 32;
    std::vector<CompactColumn> columns(weights.size());
    const auto toUnits = [](double v) { return static_cast<std::uint64_t>(v); };
    fillColumns(unitsOf(weights, kCompactUnits, 0x1p32, toUnits), kCompactUnits,
                [&](std::uint32_t i, std::uint64_t kept, std::uint32_t alias) {
                    const std::uint32_t threshold = kept >= kCompactUnits
                                                        ? ~std::uint32_t{0}
                                                        : static_cast<std::uint32_t>(kept);
                    columns[i] = CompactColumn{threshold, alias};
                });
    return columns;
}

}  // namespace generate
