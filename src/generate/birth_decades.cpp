#include "generate/birth_decades.h"

#include <algorithm>
#include <charconv>

namespace generate {

namespace {

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string decadesWithData() {
    return std::to_string(kFirstDecade) + "s to " + std::to_string(kLastDecade) + "s";
}

// "1950s" (a decade) or "1953" (the year's decade).
int readDecade(std::string_view text, std::string_view whole) {
    const bool decade = !text.empty() && text.back() == 's';
    const std::string_view digits = decade ? text.substr(0, text.size() - 1) : text;
    int year = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), year);
    if (digits.size() != 4 || error != std::errc() || end != digits.data() + digits.size())
        throw ChoiceError(
            quoted(whole) +
            " is not a birth decade: write 1950s, 1950s-1970s or a year such as 1985");
    if (decade && year % 10 != 0)
        throw ChoiceError(quoted(text) + " is not a decade: decades start with a year ending in 0");
    const int start = year - year % 10;
    if (start < kFirstDecade || start > kLastDecade)
        throw ChoiceError("there are births for the " + decadesWithData() + " only, not " +
                          quoted(text));
    return start;
}

}  // namespace

DecadeRange parseBirthDecades(std::string_view text) {
    const std::string_view whole = trimmed(text);
    const std::size_t dash = whole.find('-');
    if (dash == std::string_view::npos) {
        const int decade = readDecade(whole, whole);
        return {decade, decade};
    }
    const DecadeRange range{readDecade(trimmed(whole.substr(0, dash)), whole),
                            readDecade(trimmed(whole.substr(dash + 1)), whole)};
    if (range.first > range.last)
        throw ChoiceError("the birth decades " + quoted(whole) +
                          " run backwards: put the earlier one first");
    return range;
}

std::string formatBirthDecades(DecadeRange range) {
    std::string text = std::to_string(range.first) + 's';
    if (range.last != range.first) text += '-' + std::to_string(range.last) + 's';
    return text;
}

SexBirths birthsOver(std::span<const SexBirths> perDecade, DecadeRange range) {
    SexBirths sum;
    const std::size_t end = std::min(perDecade.size(), DecadeRange::indexOf(range.last) + 1);
    for (std::size_t i = DecadeRange::indexOf(range.first); i < end; ++i) {
        sum.female += perDecade[i].female;
        sum.male += perDecade[i].male;
    }
    return sum;
}

}  // namespace generate
