#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include <QLocale>
#include <QString>

namespace generate {

// The largest count that "Start Generating" accepts is anything below this value,
// tested before rounding (1000000.9 passes and gives 1,000,001 rows).
inline constexpr double kCountLimit = 1000001.0;

// Reads the count box the way the user's locale writes numbers: blanks around,
// an optional sign, the locale's currency sign before or after, digits with the
// locale's group separators between them, one decimal separator, an optional
// exponent. Empty text, or a value beyond the range of a double, is no number.
std::optional<double> readNumber(const QString& text, const QLocale& locale);
bool readsAsNumber(const QString& text, const QLocale& locale);

// True when the value (before any rounding) may be generated.
bool withinCountLimit(double value);

// The nearest whole number, a half going to the even neighbour.
double roundHalfEven(double value);

// The count as a signed 32-bit number, rounded half to even; throws
// platform::Failure ("Overflow") when it does not fit.
std::int32_t countFromValue(double value);
// The same from the count text; throws platform::Failure ("Type mismatch") for
// text that does not read as a number.
std::int32_t countFromText(const QString& text, const QLocale& locale);

// The plain reading of the count text that scales the progress bar: blanks
// (space, tab, line feed) are skipped anywhere, then an optional sign, digits
// with at most one '.', an optional exponent; reading stops at the first other
// character. No digits give 0; a value too large for a double gives infinity.
double plainValue(const QString& text);

// The progress bar position for row i of a run scaled by the plain value:
// i / plainValue x 100, rounded, kept within 0 to 100.
// Inline: it runs once a row in the generation loop.
inline int progressPosition(std::int64_t row, double plainValue) {
    const double position = static_cast<double>(row) / plainValue * 100.0;
    if (std::isnan(position) || position <= 0.0) return 0;
    if (position >= 100.0) return 100;
    // Halves to even: the default rounding mode, which the program never changes.
    return static_cast<int>(std::nearbyint(position));
}

}  // namespace generate
