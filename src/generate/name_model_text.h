#pragma once

// The text side of the name model: names as user-perceived characters
// (grapheme clusters), and case folding for comparing names.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace generate {

// Splits UTF-8 text into grapheme clusters with ICU's root-locale character
// rules. Text of ASCII letters alone is split byte by byte without ICU.
class GraphemeSplitter {
public:
    GraphemeSplitter();
    ~GraphemeSplitter();
    GraphemeSplitter(const GraphemeSplitter&) = delete;
    GraphemeSplitter& operator=(const GraphemeSplitter&) = delete;

    // The clusters of `utf8`, each as UTF-8; invalid bytes become U+FFFD.
    std::vector<std::string> split(std::string_view utf8);

private:
    struct Characters;  // ICU's character break iterator
    std::unique_ptr<Characters> characters_;
};

// Full Unicode case folding (no Turkic special case), UTF-8 in and out.
// Folding works code point by code point, so the folding of a name is the
// concatenation of the foldings of its characters.
std::string foldCase(std::string_view utf8);

// The name without the white space (ASCII and Unicode) at either end.
std::string_view trimmedName(std::string_view utf8);

}  // namespace generate
