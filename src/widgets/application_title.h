#pragma once

#include <QString>

namespace widgets {

inline constexpr char kProductTitle[] = "Quillfern";

// The title under which the program is listed and which titles every message
// box that names none of its own: the product title loses its last word at least
// once, and further words while it is longer than 40 characters. A title
// without a blank stays whole.
QString applicationTitle(const QString& productTitle);

}  // namespace widgets
