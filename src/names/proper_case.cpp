#include "names/proper_case.h"

namespace names {

namespace {

bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void appendCodePoint(QString& text, char32_t c) {
    if (QChar::requiresSurrogates(c)) {
        text.append(QChar(QChar::highSurrogate(c)));
        text.append(QChar(QChar::lowSurrogate(c)));
    } else {
        text.append(QChar(static_cast<char16_t>(c)));
    }
}

}  // namespace

QString ProperCase(const QString& text) {
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (isBlank(c)) {
            appendCodePoint(result, c);
            wordStart = true;
        } else {
            appendCodePoint(result, wordStart ? QChar::toTitleCase(c) : QChar::toLower(c));
            wordStart = false;
        }
    }
    return result;
}

}  // namespace names
