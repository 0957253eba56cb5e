#include <cmath>
#include <limits>
#include <optional>

#include <QLocale>

#include <gtest/gtest.h>

#include "generate/count.h"
#include "platform/failure.h"
#include "support/qt_printers.h"

namespace {

using generate::readNumber;

struct Reading {
    const char* locale;
    QString text;
    std::optional<double> value;  // nullopt: not a number
};

void PrintTo(const Reading& r, std::ostream* out) {
    *out << r.locale << " \"" << r.text.toStdString() << '"';
}

class ReadsAsNumber : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadsAsNumber, ByTheLocale) {
    const Reading& r = GetParam();
    const QLocale locale(QString::fromLatin1(r.locale));
    const std::optional<double> value = readNumber(r.text, locale);
    EXPECT_EQ(generate::readsAsNumber(r.text, locale), r.value.has_value());
    ASSERT_EQ(value.has_value(), r.value.has_value()) << "read as " << value.value_or(-1);
    if (r.value) {
        EXPECT_DOUBLE_EQ(*value, *r.value);
    }
}

const QString nbsp = QString(QChar(0x00A0));
const QString narrowNbsp = QString(QChar(0x202F));

INSTANTIATE_TEST_SUITE_P(
    Counts, ReadsAsNumber,
    ::testing::Values(
        Reading{"en_US", "100", 100}, Reading{"en_US", "1000000", 1000000},
        Reading{"en_US", "1000000.9", 1000000.9}, Reading{"en_US", "5e6", 5e6},
        Reading{"en_US", "2.5E-1", 0.25}, Reading{"en_US", "1e+3", 1000},
        Reading{"en_US", "  42  ", 42}, Reading{"en_US", "\t7\t", 7}, Reading{"en_US", "-5", -5},
        Reading{"en_US", "+5", 5}, Reading{"en_US", "- 5", -5}, Reading{"en_US", "0", 0},
        Reading{"en_US", ".5", 0.5}, Reading{"en_US", "5.", 5}, Reading{"en_US", "1,000", 1000},
        Reading{"en_US", "1,000,000.5", 1000000.5}, Reading{"en_US", "1,0,0", 100},
        Reading{"en_US", "$100", 100}, Reading{"en_US", "-$100", -100},
        Reading{"en_US", "$-100", -100}, Reading{"en_US", "100$", 100},
        Reading{"en_US", "-3000000000", -3e9},
        // Not numbers.
        Reading{"en_US", "", std::nullopt}, Reading{"en_US", "   ", std::nullopt},
        Reading{"en_US", "abc", std::nullopt}, Reading{"en_US", "12abc", std::nullopt},
        Reading{"en_US", "1e", std::nullopt}, Reading{"en_US", "e5", std::nullopt},
        Reading{"en_US", "-", std::nullopt}, Reading{"en_US", ".", std::nullopt},
        Reading{"en_US", "$", std::nullopt}, Reading{"en_US", "1.2.3", std::nullopt},
        Reading{"en_US", ",100", std::nullopt}, Reading{"en_US", "100,", std::nullopt},
        Reading{"en_US", "1,,000", std::nullopt}, Reading{"en_US", "1 000", std::nullopt},
        Reading{"en_US", "1,5", 15}, Reading{"en_US", "--5", std::nullopt},
        Reading{"en_US", "1e400", std::nullopt}, Reading{"en_US", "$100$", std::nullopt},
        Reading{"en_US", "\u20AC100", std::nullopt},
        // The decimal comma and the dot as group separator.
        Reading{"de_DE", "2,5", 2.5}, Reading{"de_DE", "1.000", 1000},
        Reading{"de_DE", "1.000.000,9", 1000000.9}, Reading{"de_DE", "100 \u20AC", 100},
        Reading{"de_DE", "\u20AC100", 100}, Reading{"de_DE", "1,5e3", 1500},
        Reading{"de_DE", "1,2,3", std::nullopt}, Reading{"de_DE", "$100", std::nullopt},
        // A space-like group separator: typed as the locale writes it or as a blank.
        Reading{"fr_FR", "1" + narrowNbsp + "000", 1000},
        Reading{"fr_FR", "1" + nbsp + "000", 1000}, Reading{"fr_FR", "1 000", 1000},
        Reading{"fr_FR", "3,5", 3.5}, Reading{"fr_FR", "12 \u20AC", 12},
        Reading{"fr_FR", "12 abc", std::nullopt}));

TEST(CountLimit, TestedBeforeRounding) {
    EXPECT_TRUE(generate::withinCountLimit(1000000));
    EXPECT_TRUE(generate::withinCountLimit(1000000.9));
    EXPECT_TRUE(generate::withinCountLimit(-3e9));
    EXPECT_FALSE(generate::withinCountLimit(1000001));
    EXPECT_FALSE(generate::withinCountLimit(5e6));
}

TEST(CountFromValue, RoundsHalfToEven) {
    const struct {
        double value;
        std::int32_t count;
    } cases[] = {{2.5, 2},
                 {3.5, 4},
                 {0.5, 0},
                 {1.5, 2},
                 {-2.5, -2},
                 {-3.5, -4},
                 {2.4999, 2},
                 {2.5001, 3},
                 {0, 0},
                 {-5, -5},
                 {1000000.5, 1000000},
                 {1000000.7, 1000001},
                 {2147483647, 2147483647},
                 {-2147483648.0, -2147483647 - 1},
                 {2147483647.4, 2147483647},
                 {-2147483648.5, -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(generate::countFromValue(c.value), c.count) << c.value;
}

TEST(CountFromValue, ValueThatDoesNotFitIsAFailure) {
    for (double value : {-3e9, 2147483647.5, 2147483648.0, -2147483649.0, 1e300}) {
        try {
            generate::countFromValue(value);
            ADD_FAILURE() << value << " converted";
        } catch (const platform::Failure& failure) {
            EXPECT_EQ(failure.description(), "Overflow");
        }
    }
}

TEST(CountFromText, ReadsThenRounds) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(generate::countFromText("1,000", english), 1000);
    EXPECT_EQ(generate::countFromText(" 3.5 ", english), 4);
    EXPECT_THROW(generate::countFromText("abc", english), platform::Failure);
}

TEST(PlainValue, ReadsLikeAPlainNumber) {
    const struct {
        QString text;
        double value;
    } cases[] = {{"100", 100},
                 {"  100  ", 100},
                 {"1 0 0", 100},
                 {"2.5", 2.5},
                 {"1.2.3", 1.2},
                 {"12abc", 12},
                 {"abc", 0},
                 {"", 0},
                 {"1,000", 1},
                 {"$100", 0},
                 {"-5", -5},
                 {"+5", 5},
                 {"5e6", 5e6},
                 {"1.5E-1", 0.15},
                 {"1e", 1},
                 {"1e+", 1},
                 {"\t7\n", 7},
                 {".5", 0.5},
                 {"1000000.7", 1000000.7},
                 {"1e-400", 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(generate::plainValue(c.text), c.value) << c.text.toStdString();
    EXPECT_EQ(generate::plainValue("1e400"), std::numeric_limits<double>::infinity());
}

TEST(ProgressPosition, ClimbsToAHundredAndStaysWithin) {
    const struct {
        std::int64_t row;
        double plain;
        int position;
    } cases[] = {{1, 100, 1},
                 {50, 100, 50},
                 {100, 100, 100},
                 {1, 3, 33},
                 {2, 3, 67},
                 {3, 3, 100},
                 {1, 2.5, 40},
                 {1000, 1, 100},
                 {1, 0, 100},
                 {1, -5, 0},
                 {1, std::numeric_limits<double>::infinity(), 0},
                 {1000001, 1000000.7, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(generate::progressPosition(c.row, c.plain), c.position)
            << c.row << " / " << c.plain;
}

}  // namespace
