#include "cli/origin_unique.h"

#include <algorithm>
#include <iterator>

namespace cli {

namespace {

using generate::NamePool;
using generate::OriginNames;
using generate::Sex;

using Ids = std::vector<std::uint32_t>;  // sorted

// A set of persons' names: every first name of one set with every last name
// of another.
struct Rectangle {
    Ids first;
    Ids last;
};

void number(std::unordered_map<std::string_view, std::uint32_t>& numbers, const NamePool& pool) {
    for (std::uint32_t i = 0; i < pool.size(); ++i)
        numbers.emplace(pool.at(i), static_cast<std::uint32_t>(numbers.size()));
}

Ids idsOf(const std::unordered_map<std::string_view, std::uint32_t>& numbers,
          const NamePool& pool) {
    Ids ids;
    for (std::uint32_t i = 0; i < pool.size(); ++i) ids.push_back(numbers.at(pool.at(i)));
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

Ids intersection(const Ids& a, const Ids& b) {
    Ids both;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(both));
    return both;
}

Ids united(const Ids& a, const Ids& b) {
    Ids either;
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(either));
    return either;
}

const NamePool& firstPool(const OriginNames& origin, Sex sex) {
    switch (sex) {
        case Sex::Female:
            return origin.femaleFirst;
        case Sex::Male:
            return origin.maleFirst;
        case Sex::Unisex:
            break;
    }
    return origin.unisexFirst;
}

// The family-name lists a person of this sex draws from.
std::vector<const NamePool*> surnamePools(const OriginNames& origin, Sex sex) {
    if (!origin.hasGenderedSurnames()) return {&origin.lastNames};
    switch (sex) {
        case Sex::Female:
            return {&origin.femaleLast};
        case Sex::Male:
            return {&origin.maleLast};
        case Sex::Unisex:
            break;
    }
    return {&origin.femaleLast, &origin.maleLast};
}

// The size of the union of the rectangles, by inclusion and exclusion: the
// intersection of rectangles is the rectangle of the intersections.
std::uint64_t pairsIn(const std::vector<Rectangle>& rectangles) {
    std::int64_t total = 0;
    const std::size_t n = rectangles.size();
    for (std::uint32_t subset = 1; subset < (1u << n); ++subset) {
        Rectangle common;
        bool started = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (!(subset & (1u << i))) continue;
            common = started ? Rectangle{intersection(common.first, rectangles[i].first),
                                         intersection(common.last, rectangles[i].last)}
                             : rectangles[i];
            started = true;
        }
        const auto size = static_cast<std::int64_t>(common.first.size() * common.last.size());
        total += (__builtin_popcount(subset) % 2 == 1) ? size : -size;
    }
    return static_cast<std::uint64_t>(total);
}

std::uint64_t possibleNames(const std::vector<Rectangle>& rectangles, Part part) {
    Ids first;
    Ids last;
    for (const Rectangle& rectangle : rectangles) {
        first = united(first, rectangle.first);
        last = united(last, rectangle.last);
    }
    switch (part) {
        case Part::First:
            return first.size();
        case Part::Last:
            return last.size();
        case Part::Full:
            break;
    }
    return pairsIn(rectangles);
}

}  // namespace

std::vector<Sex> sexesDrawn(const OriginNames& origin, generate::GenderFilter gender) {
    switch (gender) {
        case generate::GenderFilter::Both:
            return {Sex::Female, Sex::Male};
        case generate::GenderFilter::Female:
            return {Sex::Female};
        case generate::GenderFilter::Male:
            return {Sex::Male};
        case generate::GenderFilter::Unisex:
            return {Sex::Unisex};
        case generate::GenderFilter::Any:
            break;
    }
    if (origin.unisexFirst.empty()) return {Sex::Female, Sex::Male};
    return {Sex::Female, Sex::Male, Sex::Unisex};
}

OriginNameNumbers::OriginNameNumbers(const std::vector<OriginNames>& origins,
                                     generate::GenderFilter gender, Part part)
    : part_(part) {
    for (const OriginNames& names : origins) {
        Origin origin;
        for (const NamePool* pool : {&names.femaleFirst, &names.maleFirst, &names.unisexFirst})
            number(origin.first, *pool);
        for (const NamePool* pool : {&names.lastNames, &names.femaleLast, &names.maleLast})
            number(origin.last, *pool);
        std::vector<Rectangle> rectangles;
        for (Sex sex : sexesDrawn(names, gender))
            for (const NamePool* last : surnamePools(names, sex))
                rectangles.push_back(
                    {idsOf(origin.first, firstPool(names, sex)), idsOf(origin.last, *last)});
        origin.possible = possibleNames(rectangles, part);
        origin.offset = range_;
        const std::uint64_t firsts = origin.first.size();
        const std::uint64_t lasts = origin.last.size();
        range_ += part == Part::First ? firsts : part == Part::Last ? lasts : firsts * lasts;
        possible_ += origin.possible;
        origins_.push_back(std::move(origin));
    }
}

OriginNameNumbers::PoolNumbers OriginNameNumbers::poolNumbers(const Numbers& numbers,
                                                              const NamePool& pool) {
    PoolNumbers found;
    if (pool.empty()) return found;
    found.begin = pool.at(0).data();
    const std::string_view last = pool.at(pool.size() - 1);
    found.size = static_cast<std::size_t>(last.data() + last.size() - found.begin);
    found.numbers.assign(found.size, 0);
    for (std::uint32_t i = 0; i < pool.size(); ++i) {
        const std::string_view name = pool.at(i);
        found.numbers[static_cast<std::size_t>(name.data() - found.begin)] = numbers.at(name);
    }
    return found;
}

void OriginNameNumbers::bind(const std::vector<OriginNames>& drawn,
                             const std::vector<std::uint32_t>& live) {
    bound_.clear();
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Origin& origin = origins_[live[i]];
        const OriginNames& names = drawn[i];
        bound_.push_back(
            {live[i],
             {poolNumbers(origin.first, names.femaleFirst),
              poolNumbers(origin.first, names.maleFirst),
              poolNumbers(origin.first, names.unisexFirst)},
             {poolNumbers(origin.last, names.lastNames), poolNumbers(origin.last, names.femaleLast),
              poolNumbers(origin.last, names.maleLast)}});
    }
}

}  // namespace cli
