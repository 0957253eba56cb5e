#pragma once

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

    // The number of a person of origin `o` (its index among the origins given).
    std::uint64_t numberOf(std::size_t o, const generate::Person& person) const {
        const Origin& origin = origins_[o];
        switch (part_) {
            case Part::First:
                return origin.offset + origin.first.at(person.first);
            case Part::Last:
                return origin.offset + origin.last.at(person.last);
            case Part::Full:
                break;
        }
        return origin.offset + std::uint64_t{origin.first.at(person.first)} * origin.last.size() +
               origin.last.at(person.last);
    }

private:
    using Numbers = std::unordered_map<std::string_view, std::uint32_t>;
    struct Origin {
        Numbers first;  // the origin's first names, each text once
        Numbers last;   // its family names, each text once, both forms
        std::uint64_t offset = 0;
        std::uint64_t possible = 0;
    };

    std::vector<Origin> origins_;
    Part part_;
    std::uint64_t possible_ = 0;
    std::uint64_t range_ = 0;
};

// The sexes the filter draws in an origin, as the engine draws them.
std::vector<generate::Sex> sexesDrawn(const generate::OriginNames& origin,
                                      generate::GenderFilter gender);

}  // namespace cli
