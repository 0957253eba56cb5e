#include "generate/count.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/failure.h"

namespace generate {

namespace {

// Where the locale groups digits with a (non-breaking or narrow) space, any
// such space stands for it: people type an ordinary blank.
bool isSpaceSeparator(QChar c) {
    return c.category() == QChar::Separator_Space;
}
bool isSpaceLike(QStringView separator) {
    return separator.size() == 1 && isSpaceSeparator(separator.front());
}

class Scanner {
public:
    Scanner(QStringView text, const QLocale& locale)
        : text_(text),
          decimal_(locale.decimalPoint()),
          group_(locale.groupSeparator()),
          currency_(locale.currencySymbol(QLocale::CurrencySymbol)),
          minus_(locale.negativeSign()),
          plus_(locale.positiveSign()),
          exponent_(locale.exponential()) {}

    std::optional<double> read() {
        skipBlanks();
        const bool signFirst = readSign();
        skipBlanks();
        const bool currencyFirst = readWord(currency_);
        skipBlanks();
        if (!signFirst) readSign();
        if (!readMantissa()) return std::nullopt;
        if (!readExponent()) return std::nullopt;
        skipBlanks();
        if (!currencyFirst && readWord(currency_)) skipBlanks();
        if (pos_ != text_.size()) return std::nullopt;
        return value();
    }

private:
    bool atEnd() const { return pos_ >= text_.size(); }
    QChar current() const { return text_[pos_]; }
    bool atDigit() const { return !atEnd() && current() >= u'0' && current() <= u'9'; }

    void skipBlanks() {
        while (!atEnd() && current().isSpace()) ++pos_;
    }

    bool readWord(QStringView word) {
        if (word.isEmpty() || !text_.mid(pos_).startsWith(word)) return false;
        pos_ += word.size();
        return true;
    }

    bool readSign() {
        if (readWord(u"-") || (minus_ != u"-" && readWord(minus_))) {
            number_ += '-';
            return true;
        }
        return readWord(u"+") || (plus_ != u"+" && readWord(plus_));
    }

    void readDigits() {
        while (atDigit()) number_ += static_cast<char>(text_[pos_++].unicode());
    }

    // Whole part with group separators between digits, then the fraction.
    bool readMantissa() {
        bool digits = atDigit();
        readDigits();
        while (digits && atGroupSeparator()) {
            const qsizetype mark = pos_;
            pos_ += groupLength();
            if (!atDigit()) {
                pos_ = mark;  // a trailing separator belongs to what follows
                break;
            }
            readDigits();
        }
        if (readWord(decimal_)) {
            number_ += '.';
            digits = digits || atDigit();
            readDigits();
        }
        return digits;
    }

    bool atGroupSeparator() const {
        if (atEnd()) return false;
        if (!group_.isEmpty() && text_.mid(pos_).startsWith(group_)) return true;
        return isSpaceLike(group_) && isSpaceSeparator(current());
    }
    qsizetype groupLength() const {
        return (!group_.isEmpty() && text_.mid(pos_).startsWith(group_)) ? group_.size() : 1;
    }

    // An exponent needs its digits; "1e" is no number.
    bool readExponent() {
        const bool marked = readWord(u"e") || readWord(u"E") ||
                            (exponent_ != u"e" && exponent_ != u"E" && readWord(exponent_));
        if (!marked) return true;
        number_ += 'e';
        if (readWord(u"-") || (minus_ != u"-" && readWord(minus_)))
            number_ += '-';
        else if (!readWord(u"+"))
            readWord(plus_);
        if (!atDigit()) return false;
        readDigits();
        return true;
    }

    std::optional<double> value() const {
        double result = 0;
        const char* first = number_.data();
        const char* last = first + number_.size();
        const auto [end, error] = std::from_chars(first, last, result);
        if (error != std::errc() || end != last || !std::isfinite(result)) return std::nullopt;
        return result;
    }

    QStringView text_;
    QString decimal_;
    QString group_;
    QString currency_;
    QString minus_;
    QString plus_;
    QString exponent_;
    qsizetype pos_ = 0;
    std::string number_;
};

}  // namespace

std::optional<double> readNumber(const QString& text, const QLocale& locale) {
    return Scanner(text, locale).read();
}

bool readsAsNumber(const QString& text, const QLocale& locale) {
    return readNumber(text, locale).has_value();
}

bool withinCountLimit(double value) {
    return value < kCountLimit;
}

double roundHalfEven(double value) {
    // The default rounding mode rounds to nearest with halves to even; the
    // program never changes it.
    return std::nearbyint(value);
}

std::int32_t countFromValue(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        throw platform::Failure(QStringLiteral("Overflow"));
    return static_cast<std::int32_t>(rounded);
}

std::int32_t countFromText(const QString& text, const QLocale& locale) {
    const std::optional<double> value = readNumber(text, locale);
    if (!value) throw platform::Failure(QStringLiteral("Type mismatch"));
    return countFromValue(*value);
}

double plainValue(const QString& text) {
    std::string number;
    qsizetype pos = 0;
    const auto skipBlanks = [&] {
        while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t' || text[pos] == u'\n'))
            ++pos;
    };
    const auto atDigit = [&] {
        return pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9';
    };
    // Appends the digits from here on to `digits`, skipping blanks among them.
    const auto readDigits = [&](std::string& digits) {
        for (skipBlanks(); atDigit(); skipBlanks())
            digits += static_cast<char>(text[pos++].unicode());
    };

    skipBlanks();
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        if (text[pos] == u'-') number += '-';
        ++pos;
    }
    const std::size_t start = number.size();
    readDigits(number);
    if (pos < text.size() && text[pos] == u'.') {
        ++pos;
        number += '.';
        readDigits(number);
    }
    if (number.find_first_of("0123456789", start) == std::string::npos) return 0.0;
    if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
        std::string exponent = "e";
        ++pos;
        skipBlanks();
        if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
            if (text[pos] == u'-') exponent += '-';
            ++pos;
        }
        const std::size_t before = exponent.size();
        readDigits(exponent);
        if (exponent.size() > before) number += exponent;
    }

    double result = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large is infinite.
        const bool negativeExponent = number.find("e-") != std::string::npos;
        if (negativeExponent) return 0.0;
        return number.front() == '-' ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    }
    return result;
}

}  // namespace generate
