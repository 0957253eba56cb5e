#include "generate/name_pool.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include <QString>

#include "names/packed_names.h"
#include "platform/failure.h"

namespace generate {

namespace {

void checkSameLength(std::size_t names, std::size_t weights) {
    if (names != weights)
        throw platform::Failure(QStringLiteral("%1 names but %2 weights").arg(names).arg(weights));
}

template <typename Name>
NamePool common(std::span<const Name> names, std::span<const double> weights, double share) {
    checkSameLength(names.size(), weights.size());
    if (!(share > 0 && share <= 1))
        throw platform::Failure(QStringLiteral("A share of names must be above 0 and at most 1"));
    const AliasTable validated(weights);  // the same checks as a weighted pool's

    std::vector<std::size_t> byWeight(names.size());
    std::iota(byWeight.begin(), byWeight.end(), std::size_t{0});
    std::stable_sort(byWeight.begin(), byWeight.end(),
                     [&](std::size_t a, std::size_t b) { return weights[a] > weights[b]; });

    const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<bool> taken(names.size(), false);
    double covered = 0;
    for (std::size_t i : byWeight) {
        if (covered >= share * total || weights[i] == 0) break;
        taken[i] = true;
        covered += weights[i];
    }
    std::vector<std::string_view> kept;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (taken[i]) kept.emplace_back(names[i]);
    return NamePool(std::span<const std::string_view>(kept));
}

}  // namespace

template <typename Name>
void NamePool::hold(std::span<const Name> names) {
    std::size_t length = 0;
    for (const Name& name : names) length += std::string_view(name).size();
    if (length > std::numeric_limits<std::uint32_t>::max() ||
        names.size() >= std::numeric_limits<std::uint32_t>::max())
        throw platform::Failure(QStringLiteral("Too many names for one list"));
    text_.reserve(length + kPadding);
    offsets_.reserve(names.size() + 1);
    for (const Name& name : names) {
        text_.append(std::string_view(name));
        offsets_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
    text_.append(kPadding, '\0');
    size_ = static_cast<std::uint32_t>(names.size());
}

void NamePool::weigh(std::span<const double> weights) {
    columns_ = compactAliasColumns(weights);
    weighted_ = true;
}

NamePool::NamePool(std::span<const std::string_view> names) {
    hold(names);
}
NamePool::NamePool(std::span<const std::string> names) {
    hold(names);
}

NamePool::NamePool(std::span<const std::string_view> names, std::span<const double> weights) {
    checkSameLength(names.size(), weights.size());
    hold(names);
    weigh(weights);
}

NamePool::NamePool(std::span<const std::string> names, std::span<const double> weights) {
    checkSameLength(names.size(), weights.size());
    hold(names);
    weigh(weights);
}

static_assert(NamePool::kPadding <= names::kTextSpare,
              "a list read from the store has room for the padding");

void NamePool::take(std::string text, std::vector<std::uint32_t> offsets) {
    if (offsets.empty() || offsets.front() != 0 || offsets.back() != text.size() ||
        !std::is_sorted(offsets.begin(), offsets.end()))
        throw platform::Failure(QStringLiteral("A list's names do not match their offsets"));
    if (offsets.size() > std::numeric_limits<std::uint32_t>::max())
        throw platform::Failure(QStringLiteral("Too many names for one list"));
    text_ = std::move(text);
    text_.append(kPadding, '\0');
    offsets_ = std::move(offsets);
    size_ = static_cast<std::uint32_t>(offsets_.size() - 1);
}

NamePool::NamePool(std::string text, std::vector<std::uint32_t> offsets) {
    take(std::move(text), std::move(offsets));
}

NamePool::NamePool(std::string text, std::vector<std::uint32_t> offsets,
                   std::span<const double> weights) {
    checkSameLength(offsets.empty() ? 0 : offsets.size() - 1, weights.size());
    take(std::move(text), std::move(offsets));
    weigh(weights);
}

NamePool commonNamesCovering(std::span<const std::string_view> names,
                             std::span<const double> weights, double share) {
    return common(names, weights, share);
}

NamePool commonNamesCovering(std::span<const std::string> names, std::span<const double> weights,
                             double share) {
    return common(names, weights, share);
}

}  // namespace generate
