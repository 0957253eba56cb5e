#include "generate/origin_mix.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include <unicode/locid.h>

namespace generate {

namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isAsciiLetter(char c) {
    return lower(c) >= 'a' && lower(c) <= 'z';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end - at));
        if (end == std::string_view::npos) return parts;
        at = end + 1;
    }
}

// Tags compare ignoring ASCII case, '_' standing for '-'.
bool sameTag(std::string_view a, std::string_view b) {
    const auto norm = [](char c) { return c == '_' ? '-' : lower(c); };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return norm(x) == norm(y); });
}

std::optional<std::string> knownSpelling(std::string_view tag, std::span<const std::string> known) {
    const auto found = std::find_if(known.begin(), known.end(),
                                    [&](const std::string& k) { return sameTag(tag, k); });
    if (found == known.end()) return std::nullopt;
    return *found;
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

bool looksLikeTag(std::string_view tag) {
    return !tag.empty() && std::all_of(tag.begin(), tag.end(), [](char c) {
        return isAsciiLetter(c) || isDigit(c) || c == '-' || c == '_';
    });
}

std::string readTag(std::string_view tag, std::span<const std::string> known) {
    if (sameTag(tag, "all")) throw ChoiceError("'all' stands alone: it already names every origin");
    if (!looksLikeTag(tag))
        throw ChoiceError(quoted(tag) + " is not an origin tag (such as de, en-US or sr-Latn)");
    std::optional<std::string> spelling = knownSpelling(tag, known);
    if (!spelling) throw ChoiceError("unknown origin " + quoted(tag));
    return *spelling;
}

double readShare(std::string_view text, std::string_view tag) {
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        throw ChoiceError("the share " + quoted(text) + " of origin " + quoted(tag) +
                          " is not a number");
    if (value <= 0)
        throw ChoiceError("the share of origin " + quoted(tag) + " must be above zero, not " +
                          quoted(text));
    return value;
}

}  // namespace

OriginMix parseOriginMix(std::string_view text, std::span<const std::string> knownTags) {
    text = trimmed(text);
    if (text.empty()) throw ChoiceError("no origin given: name one, such as en-US, or all");
    if (sameTag(text, "all")) return OriginMix{{knownTags.begin(), knownTags.end()}, {}};

    OriginMix chosen;
    std::size_t withShare = 0;
    for (std::string_view entry : split(text, ',')) {
        entry = trimmed(entry);
        if (entry.empty()) throw ChoiceError("an empty entry in the origins " + quoted(text));
        const std::size_t colon = entry.find(':');
        const std::string_view tag = trimmed(entry.substr(0, colon));
        std::string spelling = readTag(tag, knownTags);
        if (std::find(chosen.tags.begin(), chosen.tags.end(), spelling) != chosen.tags.end())
            throw ChoiceError("origin " + quoted(spelling) + " is given twice");
        if (colon != std::string_view::npos) {
            chosen.shares.push_back(readShare(trimmed(entry.substr(colon + 1)), tag));
            ++withShare;
        }
        chosen.tags.push_back(std::move(spelling));
    }
    if (withShare != 0 && withShare != chosen.tags.size())
        throw ChoiceError("give a share to every origin or to none, as in de:60,fr:40, not " +
                          quoted(text));
    double total = 0;
    for (double share : chosen.shares) total += share;
    if (!chosen.shares.empty() && !std::isfinite(total))
        throw ChoiceError("the shares in " + quoted(text) + " are too large to add up");
    return chosen;
}

std::string formatOriginMix(const OriginMix& chosen) {
    std::string text;
    for (std::size_t i = 0; i < chosen.tags.size(); ++i) {
        if (i > 0) text += ',';
        text += chosen.tags[i];
        if (i < chosen.shares.size()) {
            char digits[32];
            const auto [end, error] =
                std::to_chars(digits, digits + sizeof digits, chosen.shares[i]);
            (void)error;  // 32 characters hold any double
            text += ':';
            text.append(digits, end);
        }
    }
    return text;
}

namespace {

// A POSIX locale name in its parts: language, script, region.
struct LocaleParts {
    std::string language;
    std::string script;  // as written in the name: sr_Latn_RS, sr_RS@latin
    std::string region;
};

std::string scriptOfModifier(std::string_view modifier) {
    if (sameTag(modifier, "latin")) return "Latn";
    if (sameTag(modifier, "cyrillic")) return "Cyrl";
    return {};
}

LocaleParts partsOf(std::string_view name) {
    LocaleParts parts;
    const std::size_t at = name.find('@');
    if (at != std::string_view::npos) parts.script = scriptOfModifier(name.substr(at + 1));
    name = name.substr(0, std::min(name.find('.'), at));
    const std::vector<std::string_view> pieces =
        split(name, name.find('-') != name.npos ? '-' : '_');
    const auto letters = [](std::string_view p) {
        return std::all_of(p.begin(), p.end(), isAsciiLetter);
    };
    const std::string_view language = pieces.front();
    if (language.size() < 2 || language.size() > 3 || !letters(language)) return {};
    parts.language.assign(language);
    std::transform(language.begin(), language.end(), parts.language.begin(), lower);
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        const std::string_view piece = pieces[i];
        if (piece.size() == 4 && letters(piece)) {
            parts.script.assign(piece);
            std::transform(piece.begin(), piece.end(), parts.script.begin(), lower);
            parts.script.front() = upper(piece.front());
        } else if ((piece.size() == 2 && letters(piece)) ||
                   (piece.size() == 3 && std::all_of(piece.begin(), piece.end(), isDigit))) {
            parts.region.assign(piece);
            std::transform(piece.begin(), piece.end(), parts.region.begin(), upper);
        }
    }
    return parts;
}

// The script the language is usually written in, in the region if given.
std::string likelyScript(const LocaleParts& parts) {
    icu::Locale locale(parts.language.c_str(),
                       parts.region.empty() ? nullptr : parts.region.c_str());
    UErrorCode status = U_ZERO_ERROR;
    locale.addLikelySubtags(status);
    return U_SUCCESS(status) ? std::string(locale.getScript()) : std::string();
}

}  // namespace

std::string defaultOriginFor(std::string_view localeName, std::span<const std::string> knownTags) {
    const LocaleParts parts = partsOf(trimmed(localeName));
    if (parts.language.empty()) return "en-US";
    const std::string usual = likelyScript(parts);
    const bool usualScript = parts.script.empty() || parts.script == usual;
    const std::string script = parts.script.empty() ? usual : parts.script;

    std::vector<std::string> candidates;
    if (!parts.script.empty() && !parts.region.empty())
        candidates.push_back(parts.language + '-' + parts.script + '-' + parts.region);
    if (usualScript && !parts.region.empty())
        candidates.push_back(parts.language + '-' + parts.region);
    if (!script.empty()) candidates.push_back(parts.language + '-' + script);
    candidates.push_back(parts.language);
    for (const std::string& candidate : candidates)
        if (std::optional<std::string> spelling = knownSpelling(candidate, knownTags))
            return *spelling;
    return "en-US";
}

}  // namespace generate
