#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "generate/choice_error.h"
#include "names/birth_table.h"

namespace generate {

// The decades with birth counts, by the year they start.
inline constexpr int kFirstDecade = 1880;
inline constexpr int kLastDecade = 2020;

// The decades from `first` to `last`, both included, each named by its first year.
struct DecadeRange {
    int first = kFirstDecade;
    int last = kLastDecade;

    bool operator==(const DecadeRange&) const = default;
    // Position of a decade in a list of counts that starts with kFirstDecade.
    static std::size_t indexOf(int decade) {
        return static_cast<std::size_t>((decade - kFirstDecade) / 10);
    }
};

// Reads a birth-decade choice: "1950s", "1950s-1970s", or a year such as
// "1985", which stands for its decade (a range may also join two years:
// "1948-1962" is the 1940s to the 1960s). Throws ChoiceError for other text,
// a decade not ending in 0, a range that runs backwards, or decades outside
// kFirstDecade to kLastDecade.
DecadeRange parseBirthDecades(std::string_view text);

// "1950s" or "1950s-1970s".
std::string formatBirthDecades(DecadeRange range);

// One first name's births by sex, over some decades, and the one unisex rule
// over them, as the store's lists follow it.
using names::isUnisex;
using names::SexBirths;

// The name's births summed over the range; perDecade starts with kFirstDecade
// and may end early (later decades count as none).
SexBirths birthsOver(std::span<const SexBirths> perDecade, DecadeRange range);

}  // namespace generate
