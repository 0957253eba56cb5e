#pragma once

#include <QString>

namespace names {

// The first character of every word in capitals (title case), every other
// letter small. Words are separated by blanks only (space, tab, line breaks),
// so a hyphen or an apostrophe does not start a word: anna-lena reads Anna-lena.
QString ProperCase(const QString& text);

}  // namespace names
