#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generate/alias_table.h"
#include "generate/fast_random.h"

namespace generate {

// A list of names to draw from, held once as UTF-8 in one contiguous buffer
// with the offsets of each name. Drawn uniformly, or by weight through an alias
// table. The names are copied in; string_views from at() and draw() stay valid
// as long as the pool, and their data() tells the pool's names apart.
//
// A weighted pool keeps its alias table in 8-byte columns, the thresholds in
// 32 bits: each weight is reproduced to within 2^-32 of the average weight.
// The small table keeps the draws of long lists in the processor's caches.
//
// The text ends with kPadding bytes past the last name, so that a name may be
// copied in whole blocks of kPadding bytes that read past its end
// (copyPaddedName).
class NamePool {
public:
    static constexpr std::size_t kPadding = 16;

    NamePool() = default;  // empty: nothing to draw
    explicit NamePool(std::span<const std::string_view> names);
    explicit NamePool(std::span<const std::string> names);
    // Weights as AliasTable takes them, one per name (platform::Failure otherwise).
    NamePool(std::span<const std::string_view> names, std::span<const double> weights);
    NamePool(std::span<const std::string> names, std::span<const double> weights);
    // Names already held one after the other in `text`, name i at
    // [offsets[i], offsets[i + 1]); taken over without a copy. platform::Failure
    // unless the offsets start at 0, never fall, and end at text.size().
    NamePool(std::string text, std::vector<std::uint32_t> offsets);
    NamePool(std::string text, std::vector<std::uint32_t> offsets, std::span<const double> weights);

    std::uint32_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    bool isWeighted() const { return weighted_; }

    std::string_view at(std::uint32_t i) const {
        return std::string_view(text_.data() + offsets_[i], offsets_[i + 1] - offsets_[i]);
    }

    // An index, and the name at it, from one 64-bit random number; the pool
    // must not be empty.
    std::uint32_t drawIndex(std::uint64_t r) const {
        if (!weighted_) return static_cast<std::uint32_t>(multiplyShift(r, size_));
        const Uint128 product = static_cast<Uint128>(r) * size_;
        const auto column = static_cast<std::uint32_t>(product >> 64);
        const auto within = static_cast<std::uint32_t>(static_cast<std::uint64_t>(product) >> 32);
        const CompactColumn& c = columns_[column];
        // Branch-free: the outcome is a coin flip for many columns.
        const std::uint32_t toAlias = -static_cast<std::uint32_t>(within >= c.threshold);
        return column ^ ((column ^ c.alias) & toAlias);
    }
    std::string_view draw(std::uint64_t r) const { return at(drawIndex(r)); }
    std::string_view draw(FastRandom& random) const { return draw(random.next()); }

    // Asks the processor for what drawIndex(r) reads, ahead of the draw.
    // The column, or the uniform draw's index, is the high half of r * size().
    void prefetchDraw(std::uint64_t r) const {
        const std::uint64_t i = multiplyShift(r, size_);
        if (weighted_)
            __builtin_prefetch(&columns_[i]);
        else
            __builtin_prefetch(&offsets_[i]);
    }
    // The same for what at(i) reads: the name's place, then its letters.
    void prefetchPlace(std::uint32_t i) const { __builtin_prefetch(&offsets_[i]); }
    void prefetchName(std::uint32_t i) const { __builtin_prefetch(text_.data() + offsets_[i]); }

private:
    template <typename Name>
    void hold(std::span<const Name> names);
    void weigh(std::span<const double> weights);
    void take(std::string text, std::vector<std::uint32_t> offsets);

    std::string text_;
    std::vector<std::uint32_t> offsets_{0};
    std::vector<CompactColumn> columns_;  // one per name when weighted
    std::uint32_t size_ = 0;
    bool weighted_ = false;
};

// The uniform pool of the most common names that together hold at least
// `share` (in (0, 1]) of the total weight: names are taken by falling weight,
// ties in list order, until the share is reached, and kept in list order. For
// lists with frequencies, the uniform draw uses this pool and the weighted
// draw the whole list.
NamePool commonNamesCovering(std::span<const std::string_view> names,
                             std::span<const double> weights, double share);
NamePool commonNamesCovering(std::span<const std::string> names, std::span<const double> weights,
                             double share);

}  // namespace generate
