#include "generate/alias_table.h"

#include <algorithm>
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

// The weights in whole units adding up to exactly weights.size() * 2^64. A
// weight above zero keeps at least one unit; the rounding remainder goes to
// the largest weight, which it changes by far less than one part in 2^40.
std::vector<Uint128> unitsOf(std::span<const double> weights) {
    const double largest = *std::max_element(weights.begin(), weights.end());
    double sum = 0;
    for (double w : weights) sum += w / largest;  // at most size(): no overflow
    const double unitsPerWeight = static_cast<double>(weights.size()) * 0x1p64 / sum;

    std::vector<Uint128> units(weights.size());
    Uint128 total = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] > 0)
            units[i] = std::max<Uint128>(1, wholeUnits(weights[i] / largest * unitsPerWeight));
        total += units[i];
    }
    const Uint128 wanted = kColumnUnits * weights.size();
    Uint128& biggest = *std::max_element(units.begin(), units.end());
    biggest = biggest + wanted - total;  // modular: right whether total is above or below
    return units;
}

}  // namespace

AliasTable::AliasTable(std::span<const double> weights) {
    checkWeights(weights);
    std::vector<Uint128> units = unitsOf(weights);
    const auto n = static_cast<std::uint32_t>(weights.size());

    std::vector<std::uint32_t> small, large;
    for (std::uint32_t i = 0; i < n; ++i) (units[i] < kColumnUnits ? small : large).push_back(i);

    columns_.resize(n);
    // The units add up to exactly n columns, so while an entry is short of a
    // full column another holds more than one: small and large run out together.
    while (!small.empty() && !large.empty()) {
        const std::uint32_t s = small.back(), l = large.back();
        small.pop_back();
        columns_[s] = Column{static_cast<std::uint64_t>(units[s]), s, l};
        units[l] -= kColumnUnits - units[s];
        if (units[l] < kColumnUnits) {
            large.pop_back();
            small.push_back(l);
        }
    }
    // What is left fills its own column exactly.
    for (std::uint32_t i : large) columns_[i] = Column{~std::uint64_t{0}, i, i};
    for (std::uint32_t i : small) columns_[i] = Column{~std::uint64_t{0}, i, i};
}

}  // namespace generate
