#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generate/birth_decades.h"

namespace {

using generate::DecadeRange;
using generate::SexBirths;

struct Born {
    std::string text;
    std::optional<DecadeRange> range;  // nullopt: refused
};

void PrintTo(const Born& b, std::ostream* out) {
    *out << '"' << b.text << '"';
}

class BornReading : public ::testing::TestWithParam<Born> {};

TEST_P(BornReading, GivesTheDecadesOrRefuses) {
    const Born& b = GetParam();
    if (b.range) {
        EXPECT_EQ(generate::parseBirthDecades(b.text), *b.range);
    } else {
        EXPECT_THROW(generate::parseBirthDecades(b.text), generate::ChoiceError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BornReading,
    ::testing::Values(
        Born{"1950s", DecadeRange{1950, 1950}}, Born{"1950s-1970s", DecadeRange{1950, 1970}},
        Born{" 1950s - 1970s ", DecadeRange{1950, 1970}}, Born{"1985", DecadeRange{1980, 1980}},
        Born{"1880s", DecadeRange{1880, 1880}}, Born{"2024", DecadeRange{2020, 2020}},
        Born{"1948-1962", DecadeRange{1940, 1960}}, Born{"1880s-2020s", DecadeRange{1880, 2020}},
        Born{"1970s-1970s", DecadeRange{1970, 1970}},
        // Refused.
        Born{"", std::nullopt}, Born{"fifties", std::nullopt}, Born{"1955s", std::nullopt},
        Born{"50s", std::nullopt}, Born{"1870s", std::nullopt}, Born{"2030s", std::nullopt},
        Born{"1879", std::nullopt}, Born{"1970s-1950s", std::nullopt}, Born{"1950s-", std::nullopt},
        Born{"1950s-1960s-1970s", std::nullopt}, Born{"1950's", std::nullopt},
        Born{"+1950", std::nullopt}));

TEST(BirthDecades, RefusalsSayWhatIsWrong) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"1955s", "decade"}, {"1870s", "1880s"}, {"1970s-1950s", "backwards"}, {"soon", "'soon'"}};
    for (const auto& [text, mentions] : cases) {
        try {
            generate::parseBirthDecades(text);
            ADD_FAILURE() << text << " accepted";
        } catch (const generate::ChoiceError& error) {
            EXPECT_NE(std::string(error.what()).find(mentions), std::string::npos) << error.what();
        }
    }
}

TEST(BirthDecades, WritesBackWhatItReads) {
    for (const std::string text : {"1950s", "1950s-1970s", "2020s"})
        EXPECT_EQ(generate::formatBirthDecades(generate::parseBirthDecades(text)), text);
}

TEST(BirthDecades, SumTheChosenDecades) {
    // 1880s, 1890s, 1900s; later decades have no counts.
    const std::vector<SexBirths> perDecade{{1, 10}, {2, 20}, {4, 40}};
    const auto sum = [&](DecadeRange range) {
        const SexBirths b = generate::birthsOver(perDecade, range);
        return std::vector<std::uint64_t>{b.female, b.male};
    };
    EXPECT_EQ(sum({1880, 1880}), (std::vector<std::uint64_t>{1, 10}));
    EXPECT_EQ(sum({1890, 2020}), (std::vector<std::uint64_t>{6, 60}));
    EXPECT_EQ(sum({1950, 1970}), (std::vector<std::uint64_t>{0, 0}));
}

struct Births {
    SexBirths births;
    bool unisex;
};

TEST(UnisexRule, BothSexesHoldAThirdOfAtLeastAThousandBirths) {
    const std::vector<Births> cases{
        {{500, 500}, true},   {{334, 666}, true},    {{333, 667}, false},  // a third of 1,000
        {{666, 334}, true},   {{667, 333}, false},   {{400, 599}, false},  // 999 births: too few
        {{3, 6}, false},      {{100, 200}, false},   {{0, 5000}, false},
        {{1000, 2000}, true}, {{1000, 2001}, false}, {{0, 0}, false}};
    for (const Births& c : cases)
        EXPECT_EQ(generate::isUnisex(c.births), c.unisex)
            << c.births.female << '/' << c.births.male;
}

}  // namespace
