#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generate/origin_mix.h"

namespace {

using generate::ChoiceError;
using generate::OriginMix;

const std::vector<std::string> known{"de",    "en-US", "es-MX", "fr",      "it", "ja",
                                     "pt-BR", "pt-PT", "sr",    "sr-Latn", "vi", "zh-Hant"};

struct Reading {
    std::string text;
    std::optional<OriginMix> chosen;  // nullopt: refused
    std::string mentions;             // for a refusal: what its message names
};

void PrintTo(const Reading& r, std::ostream* out) {
    *out << '"' << r.text << '"';
}

class OriginMixReading : public ::testing::TestWithParam<Reading> {};

TEST_P(OriginMixReading, ReadsTheChoiceOrSaysWhatIsWrong) {
    const Reading& r = GetParam();
    if (r.chosen) {
        EXPECT_EQ(generate::parseOriginMix(r.text, known), *r.chosen);
        return;
    }
    try {
        const OriginMix chosen = generate::parseOriginMix(r.text, known);
        ADD_FAILURE() << "read as " << generate::formatOriginMix(chosen);
    } catch (const ChoiceError& error) {
        EXPECT_NE(std::string(error.what()).find(r.mentions), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Good, OriginMixReading,
    ::testing::Values(
        Reading{"de", OriginMix{{"de"}, {}}, ""},
        Reading{"de,fr,it", OriginMix{{"de", "fr", "it"}, {}}, ""},
        Reading{"en-US:70,es-MX:20,vi:10", OriginMix{{"en-US", "es-MX", "vi"}, {70, 20, 10}}, ""},
        Reading{"en_us", OriginMix{{"en-US"}, {}}, ""},
        Reading{"PT_br:2.5, sr-latn:0.5", OriginMix{{"pt-BR", "sr-Latn"}, {2.5, 0.5}}, ""},
        Reading{" ja : 1 , de : 3 ", OriginMix{{"ja", "de"}, {1, 3}}, ""},
        Reading{"ALL", OriginMix{known, {}}, ""}));

INSTANTIATE_TEST_SUITE_P(Bad, OriginMixReading,
                         ::testing::Values(Reading{"", std::nullopt, "no origin"},
                                           Reading{"  ", std::nullopt, "no origin"},
                                           Reading{"xx", std::nullopt, "unknown origin 'xx'"},
                                           Reading{"en", std::nullopt, "unknown origin 'en'"},
                                           Reading{"de,,fr", std::nullopt, "empty"},
                                           Reading{"de,", std::nullopt, "empty"},
                                           Reading{"de,DE", std::nullopt, "'de' is given twice"},
                                           Reading{"en-US,en_US", std::nullopt, "twice"},
                                           Reading{"de:50,fr", std::nullopt,
                                                   "every origin or to none"},
                                           Reading{"de:abc", std::nullopt, "'abc'"},
                                           Reading{"de:", std::nullopt, "not a number"},
                                           Reading{"de:1e3", std::nullopt, "not a number"},
                                           Reading{"de:50:50", std::nullopt, "not a number"},
                                           Reading{"de:nan", std::nullopt, "not a number"},
                                           Reading{"de:0,fr:0", std::nullopt, "above zero"},
                                           Reading{"de:-5,fr:10", std::nullopt, "above zero"},
                                           Reading{"de fr", std::nullopt, "not an origin tag"},
                                           Reading{"all,de", std::nullopt, "all"}));

TEST(OriginMix, WritesBackWhatItReads) {
    for (const std::string text :
         {"de", "de,ja", "de:50,ja:50", "en-US:70,es-MX:20,vi:10", "pt-BR:0.25,fr:12.5"}) {
        EXPECT_EQ(generate::formatOriginMix(generate::parseOriginMix(text, known)), text);
    }
}

TEST(OriginMix, DefaultComesFromTheLocale) {
    const std::vector<std::pair<std::string, std::string>> cases{{"de_DE", "de"},
                                                                 {"de_AT.UTF-8", "de"},
                                                                 {"pt_BR", "pt-BR"},
                                                                 {"pt_PT.UTF-8", "pt-PT"},
                                                                 {"pt_AO", "en-US"},
                                                                 {"fr_CA@euro", "fr"},
                                                                 {"en_US.UTF-8", "en-US"},
                                                                 {"en_GB", "en-US"},
                                                                 {"es_MX", "es-MX"},
                                                                 {"zh_TW", "zh-Hant"},
                                                                 {"zh_CN", "en-US"},
                                                                 {"sr_RS", "sr"},
                                                                 {"sr_RS@latin", "sr-Latn"},
                                                                 {"sr_Latn_RS", "sr-Latn"},
                                                                 {"C", "en-US"},
                                                                 {"POSIX", "en-US"},
                                                                 {"", "en-US"},
                                                                 {"ja-JP", "ja"}};
    for (const auto& [locale, origin] : cases)
        EXPECT_EQ(generate::defaultOriginFor(locale, known), origin) << locale;
}

}  // namespace
