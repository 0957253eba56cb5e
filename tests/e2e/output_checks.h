#pragma once

#include <optional>
#include <string>
#include <vector>

// Reading what the program leaves on disk: results.txt and its settings file.

namespace e2e {

struct CrLfLines {
    std::vector<std::string> lines;
    // Empty when every line, the last included, ends in CR LF and no other
    // CR or LF occurs; otherwise what is wrong, with the line number.
    std::string problem;
};

// Splits text whose lines should each end in CR LF.
CrLfLines splitCrLfLines(const std::string& text);

// A first name, one blank and a last name: two non-empty words, nothing else.
bool isFirstAndLastName(const std::string& line);

// One non-empty name without any blank.
bool isSingleName(const std::string& line);

// The value of a key in one section of an INI file's text.
std::optional<std::string> iniValue(const std::string& text, const std::string& section,
                                    const std::string& key);

}  // namespace e2e
