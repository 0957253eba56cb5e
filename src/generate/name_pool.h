#pragma once

#include <cstdint>
#include <optional>
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
// as long as the pool.
class NamePool {
public:
    NamePool() = default;  // empty: nothing to draw
    explicit NamePool(std::span<const std::string_view> names);
    explicit NamePool(std::span<const std::string> names);
    // Weights as AliasTable takes them, one per name (platform::Failure otherwise).
    NamePool(std::span<const std::string_view> names, std::span<const double> weights);
    NamePool(std::span<const std::string> names, std::span<const double> weights);

    std::uint32_t size() const { return static_cast<std::uint32_t>(offsets_.size() - 1); }
    bool empty() const { return size() == 0; }
    bool isWeighted() const { return weights_.has_value(); }

    std::string_view at(std::uint32_t i) const {
        return std::string_view(text_.data() + offsets_[i], offsets_[i + 1] - offsets_[i]);
    }

    // An index from one 64-bit random number; the pool must not be empty.
    std::uint32_t drawIndex(std::uint64_t r) const {
        return weights_ ? weights_->draw(r) : static_cast<std::uint32_t>(multiplyShift(r, size()));
    }
    std::string_view draw(std::uint64_t r) const { return at(drawIndex(r)); }
    std::string_view draw(FastRandom& random) const { return draw(random.next()); }

private:
    template <typename Name>
    void hold(std::span<const Name> names);

    std::string text_;
    std::vector<std::uint32_t> offsets_{0};
    std::optional<AliasTable> weights_;
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
