// Fuzzes the reading of the count box: whether the text reads as a number for
// the user's locale, its value, the limit decision, the rounding into a
// signed 32-bit count, the plain reading that scales the progress bar, and
// the progress position.
//
// Besides "no crash and no undefined behaviour" it holds the functions to:
// - a value read is finite; empty or blank text is no number;
// - the limit decision is exactly "value below 1,000,001";
// - rounding is to the nearest whole number, a half to the even neighbour
//   (the same as the C library's nearbyint in its default rounding mode);
// - the count is that rounded value when it fits a signed 32-bit number and a
//   platform::Failure otherwise; text that is no number is a Failure too;
// - blanks around the text and a leading minus sign do what they should;
// - a number the locale itself writes (fixed, exponent and, for whole
//   numbers, currency notation) reads back as that number;
// - the progress position stays within 0 to 100, climbs with the row and is
//   100 on the last row when the plain value is the count.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>
#include <QString>

#include "fuzz_check.h"
#include "generate/count.h"
#include "platform/failure.h"

namespace {

const std::vector<QLocale>& testedLocales() {
    static const std::vector<QLocale> locales = [] {
        std::vector<QLocale> all;
        for (const char* name :
             {"C", "en_US", "de_DE", "fr_FR", "de_CH", "hi_IN", "ar_EG", "fa_IR", "sv_SE", "ja_JP",
              "pt_BR", "es_ES", "he_IL", "it_CH", "nb_NO", "bn_BD"})
            all.emplace_back(QString::fromLatin1(name));
        return all;
    }();
    return locales;
}

// The text in the user's hands: either the bytes as UTF-8, or the bytes as
// picks among the pieces the locale writes numbers with, so the fuzzer reaches
// deep into the reading quickly.
QString countText(const std::string& raw, bool pieceWise, const QLocale& locale) {
    if (!pieceWise) return QString::fromStdString(raw);
    const QString pieces[] = {
        locale.decimalPoint(), locale.groupSeparator(),  locale.currencySymbol(),
        locale.negativeSign(), locale.positiveSign(),    locale.exponential(),
        QStringLiteral(" "),   QStringLiteral("\u00A0"), QStringLiteral("e"),
        QStringLiteral("-"),   QStringLiteral("+"),      QStringLiteral("."),
        QStringLiteral(","),   QStringLiteral("$")};
    constexpr std::size_t kPieces = std::size(pieces);
    QString text;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte % 2 == 0)
            text += QChar(u'0' + (byte / 2) % 10);
        else
            text += pieces[(byte / 2) % kPieces];
    }
    return text;
}

void checkLimit(double value) {
    QF_FUZZ_CHECK(generate::withinCountLimit(value) == (value < 1000001.0));
}

void checkRounding(double value) {
    const double rounded = generate::roundHalfEven(value);
    if (std::isnan(value)) {
        QF_FUZZ_CHECK(std::isnan(rounded));
    } else {
        QF_FUZZ_CHECK(rounded == std::nearbyint(value));
    }

    std::optional<std::int32_t> count;
    bool failed = false;
    try {
        count = generate::countFromValue(value);
    } catch (const platform::Failure&) {
        failed = true;
    }
    const bool fits = rounded >= std::numeric_limits<std::int32_t>::min() &&
                      rounded <= std::numeric_limits<std::int32_t>::max();
    QF_FUZZ_CHECK(failed == !fits);
    if (fits) QF_FUZZ_CHECK(static_cast<double>(*count) == rounded);
}

void checkProgress(std::int64_t row, double plainValue) {
    const int position = generate::progressPosition(row, plainValue);
    QF_FUZZ_CHECK(position >= 0 && position <= 100);
    if (row < std::numeric_limits<std::int64_t>::max() && plainValue > 0)
        QF_FUZZ_CHECK(generate::progressPosition(row + 1, plainValue) >= position);
}

// A number that the locale itself writes reads back as that number.
void checkLocaleWriting(const QLocale& locale, double value, int decimals, std::int64_t whole) {
    if (locale.zeroDigit() != QStringLiteral("0")) return;  // only ASCII digits are read
    const auto same = [&](const QString& written, const QString& plain) {
        const std::optional<double> read = generate::readNumber(written, locale);
        const std::string digits = plain.toStdString();
        const double expected = std::strtod(digits.c_str(), nullptr);
        if (!read || *read != expected)
            std::fprintf(stderr, "locale %s wrote \"%s\" for %s; read %s\n",
                         locale.name().toLatin1().constData(), fuzz::printable(written).constData(),
                         digits.c_str(), read ? std::to_string(*read).c_str() : "no number");
        QF_FUZZ_CHECK(read && *read == expected);
    };
    const QLocale c = QLocale::c();
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        same(locale.toString(value, 'f', decimals), c.toString(value, 'f', decimals));
        // Values too close to zero for a normal double are no number by design.
        if (value == 0 || std::fabs(value) > 1e-290)
            same(locale.toString(value, 'e', decimals), c.toString(value, 'e', decimals));
    }
    // Whole amounts only: the currency's own decimals and its way of writing
    // a negative amount (often in parentheses) are not a count's concern.
    if (whole >= 0 && !locale.currencySymbol().isEmpty()) {
        const QString written = locale.toCurrencyString(static_cast<qlonglong>(whole));
        if (written.contains(locale.currencySymbol())) same(written, QString::number(whole));
    }
}

// Whether a sign stands anywhere before the digits (after a currency sign, say).
bool signBeforeDigits(const QString& text, const QLocale& locale) {
    qsizetype digit = 0;
    while (digit < text.size() && !(text[digit] >= u'0' && text[digit] <= u'9')) ++digit;
    const QString before = text.left(digit);
    for (const QString& sign :
         {QStringLiteral("-"), QStringLiteral("+"), locale.negativeSign(), locale.positiveSign()})
        if (!sign.isEmpty() && before.contains(sign)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text comes first, so a seed file that holds only a count text is
    // read in the C locale with every other choice zero. The choices are
    // taken from the end of the input.
    FuzzedDataProvider input(data, size);
    const std::string typed = input.ConsumeRandomLengthString(64);
    const bool pieceWise = input.ConsumeBool();
    const std::vector<QLocale>& locales = testedLocales();
    const QLocale& locale =
        locales[input.ConsumeIntegralInRange<std::size_t>(0, locales.size() - 1)];
    const double raw = input.ConsumeFloatingPoint<double>();
    const std::int64_t row = input.ConsumeIntegral<std::int64_t>();
    const int decimals = input.ConsumeIntegralInRange<int>(0, 8);
    const QString text = countText(typed, pieceWise, locale);
    fuzz::context = "locale " + locale.name().toLatin1() + ", text \"" + fuzz::printable(text) +
                    "\", value " + QByteArray::number(raw, 'g', 17) + ", row " +
                    QByteArray::number(static_cast<qlonglong>(row));

    // The reading of the count text for the locale.
    const std::optional<double> value = generate::readNumber(text, locale);
    QF_FUZZ_CHECK(generate::readsAsNumber(text, locale) == value.has_value());
    if (text.trimmed().isEmpty()) QF_FUZZ_CHECK(!value);
    if (value) {
        QF_FUZZ_CHECK(std::isfinite(*value));
        checkLimit(*value);
        checkRounding(*value);

        // Blanks around change nothing; a minus sign in front negates.
        const std::optional<double> padded =
            generate::readNumber(QStringLiteral("  ") + text + QStringLiteral(" "), locale);
        QF_FUZZ_CHECK(padded && *padded == *value);
        if (!signBeforeDigits(text, locale)) {
            const std::optional<double> negated =
                generate::readNumber(QStringLiteral("-") + text, locale);
            QF_FUZZ_CHECK(negated && *negated == -*value);
        }
    }

    // The count: a Failure for text that is no number or does not fit.
    bool failed = false;
    std::int32_t count = 0;
    try {
        count = generate::countFromText(text, locale);
    } catch (const platform::Failure&) {
        failed = true;
    }
    if (!value) {
        QF_FUZZ_CHECK(failed);
    } else {
        const double rounded = generate::roundHalfEven(*value);
        const bool fits = rounded >= std::numeric_limits<std::int32_t>::min() &&
                          rounded <= std::numeric_limits<std::int32_t>::max();
        QF_FUZZ_CHECK(failed == !fits);
        if (fits) QF_FUZZ_CHECK(count == static_cast<std::int32_t>(rounded));
    }

    // The values the rounding must cope with include infinities, NaN and
    // values far outside 32 bits.
    checkRounding(raw);
    checkLimit(raw);
    checkLimit(1000001.0);
    checkLimit(std::nextafter(1000001.0, 0.0));

    // The plain reading, and the progress bar position it scales.
    const double plainValue = generate::plainValue(text);
    QF_FUZZ_CHECK(!std::isnan(plainValue));
    checkProgress(row, plainValue);
    checkProgress(row, raw);
    if (!failed && count > 0) {
        // Plain digits: the plain value is the count, so the last row is 100.
        const QString digits = QString::number(count);
        QF_FUZZ_CHECK(generate::plainValue(digits) == count);
        QF_FUZZ_CHECK(generate::readNumber(digits, locale) == count);
        QF_FUZZ_CHECK(generate::progressPosition(count, count) == 100);
    }

    checkLocaleWriting(locale, raw, decimals, row < 0 ? -1 : row % 1000000000000000);
    return 0;
}
