#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/command_line.h"
#include "generate/person_draw.h"

namespace cli {

// The different names that the chosen origins can make for --unique, each
// with a number of its own. A name is a name of its origin: the same text
// from two origins (John Smith of en-US and of en-GB) counts as two names.
// Names are told apart by their first and last name, each by its text.
class OriginNameNumbers {
public:
    OriginNameNumbers(const std::vector<generate::OriginNames>& origins,
                      generate::GenderFilter gender, Part part);

    // How many different names all origins make, and origin `o` makes.
    std::uint64_t possible() const { return possible_; }
    std::uint64_t possibleIn(std::size_t o) const { return origins_[o].possible; }
    // The numbers lie below this.
    std::uint64_t range() const { return range_; }

    // Makes numberOf() read the persons of a draw whose origin i is origin
    // live[i] here: each name's number is found by its place in its pool.
    void bind(const std::vector<generate::OriginNames>& drawn,
              const std::vector<std::uint32_t>& live);

    // The number of a person of the bound draw.
    std::uint64_t numberOf(const generate::Person& person) const {
        const Bound& bound = bound_[person.origin];
        const Origin& origin = origins_[bound.origin];
        switch (part_) {
            case Part::First:
                return origin.offset + idIn(bound.first, person.first);
            case Part::Last:
                return origin.offset + idIn(bound.last, person.last);
            case Part::Full:
                break;
        }
        return origin.offset + std::uint64_t{idIn(bound.first, person.first)} * origin.last.size() +
               idIn(bound.last, person.last);
    }

private:
    using Numbers = std::unordered_map<std::string_view, std::uint32_t>;
    struct Origin {
        Numbers first;  // the origin's first names, each text once
        Numbers last;   // its family names, each text once, both forms
        std::uint64_t offset = 0;
        std::uint64_t possible = 0;
    };

    // A pool's numbers by the byte where each name begins in its text.
    struct PoolNumbers {
        const char* begin = nullptr;
        std::size_t size = 0;
        std::vector<std::uint32_t> numbers;
    };
    struct Bound {
        std::uint32_t origin = 0;
        std::array<PoolNumbers, 3> first;  // female, male, unisex
        std::array<PoolNumbers, 3> last;   // one list, female and male forms
    };
    static std::uint32_t idIn(const std::array<PoolNumbers, 3>& pools, std::string_view name) {
        for (const PoolNumbers& pool : pools) {
            const auto at = static_cast<std::size_t>(name.data() - pool.begin);
            if (name.data() >= pool.begin && at < pool.size) return pool.numbers[at];
        }
        return 0;  // not reached: every name is of one of its origin's pools
    }
    static PoolNumbers poolNumbers(const Numbers& numbers, const generate::NamePool& pool);

    std::vector<Origin> origins_;
    std::vector<Bound> bound_;
    Part part_;
    std::uint64_t possible_ = 0;
    std::uint64_t range_ = 0;
};

// The sexes the filter draws in an origin, as the engine draws them.
std::vector<generate::Sex> sexesDrawn(const generate::OriginNames& origin,
                                      generate::GenderFilter gender);

}  // namespace cli
