#pragma once

// Shared by the fuzz targets: a property that must hold for every input.
// A broken one prints what failed and aborts, so libFuzzer keeps the input
// as a crash artifact.

#include <cstdio>
#include <cstdlib>

#include <QString>

namespace fuzz {

// What the current input is about, shown with a broken property.
inline QByteArray context;

[[noreturn]] inline void reportBroken(const char* property, const char* file, int line) {
    std::fprintf(stderr, "\nBroken property at %s:%d: %s\n", file, line, property);
    if (!context.isEmpty()) std::fprintf(stderr, "Input: %s\n", context.constData());
    std::abort();
}

// The text with every character outside printable ASCII written as \uXXXX,
// for the report of a broken property.
inline QByteArray printable(const QString& text) {
    QByteArray shown;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\\')
            shown += static_cast<char>(c.unicode());
        else
            shown += "\\u" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    }
    return shown;
}

}  // namespace fuzz

#define QF_FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::reportBroken(#condition, __FILE__, __LINE__))
