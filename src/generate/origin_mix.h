#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generate/choice_error.h"

namespace generate {

// The chosen origins, as known tags, with their shares or none.
struct OriginMix {
    std::vector<std::string> tags;
    std::vector<double> shares;  // one per tag, or empty: equal shares

    bool operator==(const OriginMix&) const = default;
};

// Reads a choice of origins: "de", "de,fr,it", "en-US:70,es-MX:20,vi:10" or
// "all" (every known tag, in the known order). Tags are matched against the
// known canonical tags ignoring case, with '_' read as '-' (en_us is en-US);
// the chosen holds the known spelling. Shares are positive decimal numbers,
// given on every entry or on none; they need not add up to 100. Throws
// ChoiceError for empty entries, unknown or repeated tags, and shares that are
// missing on some entries or are not positive numbers.
OriginMix parseOriginMix(std::string_view text, std::span<const std::string> knownTags);

// The chosen written back in the form parseOriginMix reads: "de,fr" or
// "de:50,ja:50" (shares in their shortest exact decimal form).
std::string formatOriginMix(const OriginMix& chosen);

// The origin for a locale name such as "de_DE", "pt_BR.UTF-8" or
// "sr_RS@latin": the language with region if known (pt-BR), else the language
// with its script (written in the name, or the script the language is usually
// written in there, e.g. zh_TW gives zh-Hant), else the bare language (de),
// else en-US. A script written in the name that differs from the usual one
// (sr_RS@latin) skips the language-region tag.
std::string defaultOriginFor(std::string_view localeName, std::span<const std::string> knownTags);

}  // namespace generate
