#pragma once

#include <ostream>

#include <QColor>
#include <QString>
#include <QStringList>

#include "platform/dialogs.h"
#include "platform/pointer.h"

// Readable Qt strings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *out << (i ? ", \"" : "\"") << texts[i].toStdString() << '"';
    *out << '}';
}

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
