#pragma once

#include <string_view>

#include <QString>

namespace generate {

// The text with every blank (character 32) removed; other characters stay.
// Text without a blank comes back shared, without a copy.
QString RemoveBlanks(const QString& text);

// The first two words of a row split at single blanks: the text before the
// first blank, and the text between the first and the second blank.
struct TwoWords {
    std::string_view first;
    std::string_view second;
    bool hasSecond = false;  // false when the row has no blank
};
TwoWords splitTwoWords(std::string_view row);

}  // namespace generate
