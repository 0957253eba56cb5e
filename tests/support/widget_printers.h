#pragma once

#include <ostream>

#include <QColor>

#include "platform/dialogs.h"
#include "platform/pointer.h"
#include "support/qt_printers.h"

// Readable colours, pointer shapes and message-box styles in test failure messages.
inline void PrintTo(const QColor& colour, std::ostream* out) {
    *out << colour.name().toStdString();
}

// Pointer shapes and message-box styles by their numbers.
namespace platform {
inline void PrintTo(PointerShape pointer, std::ostream* out) {
    *out << "pointer " << static_cast<int>(pointer);
}
inline void PrintTo(MessageStyle style, std::ostream* out) {
    *out << "style " << static_cast<int>(style);
}
}  // namespace platform
