#pragma once

#include <QString>

namespace generate {

// The text with every blank (character 32) removed; other characters stay.
// Text without a blank comes back shared, without a copy.
QString RemoveBlanks(const QString& text);

}  // namespace generate
