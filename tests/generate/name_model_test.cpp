#include <bit>
#include <chrono>
#include <cmath>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generate/invent_quality.h"
#include "generate/name_model.h"
#include "generate/name_model_text.h"

namespace {

using generate::InventFailure;
using generate::NameModel;

const std::vector<std::string> kItalian = {
    "Giulia", "Giulio", "Marco",  "Maria",  "Luca",    "Lucia",   "Paolo",  "Paola",
    "Franco", "Franca", "Sergio", "Silvia", "Matteo",  "Martina", "Enzo",   "Elena",
    "Davide", "Dario",  "Bruno",  "Bianca", "Stefano", "Simona",  "Andrea", "Alessia"};

std::vector<std::string> readCensusNames(const std::string& file) {
    std::ifstream in(std::string(QF_SHARED_DATA_DIR) + "/census-1990/" + file);
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) names.push_back(line.substr(0, line.find(' ')));
    return names;
}

struct TooFew {
    const char* what;
    std::vector<std::string> names;
};

void PrintTo(const TooFew& c, std::ostream* out) {
    *out << c.what;
}

class TooFewNames : public ::testing::TestWithParam<TooFew> {};

TEST_P(TooFewNames, GiveAClearMessage) {
    try {
        (void)NameModel::train(GetParam().names);
        FAIL() << "a model was made";
    } catch (const InventFailure& e) {
        EXPECT_NE(std::string(e.what()).find("at least 5 different names"), std::string::npos)
            << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TooFewNames,
    ::testing::Values(TooFew{"none", {}}, TooFew{"one", {"Anna"}}, TooFew{"two", {"Anna", "Bruno"}},
                      TooFew{"blank entries", {"", "  ", "\t", "Anna", "Bruno"}},
                      TooFew{"case variants", {"Anna", "ANNA", "anna", "Bruno", "BRUNO", "Carlo"}},
                      TooFew{"four", {"Anna", "Bruno", "Carlo", "Dora"}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

TEST(NameModel, RejectsSettingsOutOfRange) {
    const auto settingsWith = [](auto change) {
        generate::ModelSettings s;
        change(s);
        return s;
    };
    const std::vector<generate::ModelSettings> wrong = {
        settingsWith([](auto& s) { s.order = 0; }),
        settingsWith([](auto& s) { s.order = NameModel::kMaxOrder + 1; }),
        settingsWith([](auto& s) { s.discountOnce = 256; }),
        settingsWith([](auto& s) { s.discountMore = -1; }),
        settingsWith([](auto& s) { s.shortContextShare = 257; }),
        settingsWith([](auto& s) { s.plausiblePercent = 101; }),
        settingsWith([](auto& s) { s.commonPercent = -1; })};
    for (const auto& s : wrong) EXPECT_THROW((void)NameModel::train(kItalian, s), InventFailure);
}

TEST(NameModel, CountsCharactersAsReadersSeeThem) {
    // "Zoë" with a combining diaeresis, a Hangul name of two syllables, and a
    // name with an emoji modifier sequence: each character is one cluster.
    const NameModel model =
        NameModel::train({"Zoe\xCC\x88", "\xEB\xAF\xBC\xEC\xA4\x80", "Ana", "Bea", "Cleo", "Dina"});
    const std::vector<std::uint32_t>& lengths = model.lengthCounts();
    ASSERT_EQ(lengths.size(), 5u);
    EXPECT_EQ(lengths[2], 1u);  // the Hangul name
    EXPECT_EQ(lengths[3], 3u);  // Zoë, Ana, Bea
    EXPECT_EQ(lengths[4], 2u);  // Cleo, Dina
}

TEST(NameModel, ChancesAfterAnyHistoryAddUpToOne) {
    const NameModel model = NameModel::train(kItalian);
    std::vector<NameModel::History> histories = {model.start()};
    for (NameModel::Symbol s = 2; s < model.symbolCount(); ++s)
        histories.push_back(model.push(model.push(model.start(), s), 2));
    for (const NameModel::History h : histories) {
        std::uint64_t total = 0;
        for (NameModel::Symbol s = 1; s < model.symbolCount(); ++s) total += model.chance(h, s);
        // Each chance is rounded down by less than one unit per context.
        EXPECT_LE(total, 1ull << 32);
        EXPECT_GE(total + model.symbolCount() * NameModel::kMaxOrder, 1ull << 32);
    }
}

TEST(NameModel, LowersTheOrderToWhatAKeyHolds) {
    std::vector<std::string> hangul;
    // 300 different syllables need 9 bits a symbol: 7 fit in a key.
    for (char32_t c = 0xAC00; c < 0xAC00 + 300; ++c) {
        std::string name = "\xEA";
        name += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        name += static_cast<char>(0x80 | (c & 0x3F));
        hangul.push_back(name + name);
    }
    generate::ModelSettings s;
    s.order = NameModel::kMaxOrder;
    EXPECT_EQ(NameModel::train(hangul, s).order(), 7);
    EXPECT_EQ(NameModel::train(kItalian, s).order(), NameModel::kMaxOrder);
}

struct Folding {
    std::string text, folded;
};

TEST(NameModelText, FoldsCaseAndTrims) {
    const std::vector<Folding> cases = {{"GIULIA", "giulia"}, {"Straße", "strasse"},
                                        {"ΣΟΦΙΑ", "σοφια"},   {"ÉMILE", "émile"},
                                        {"Ирина", "ирина"},   {"민준", "민준"}};
    for (const Folding& c : cases) EXPECT_EQ(generate::foldCase(c.text), c.folded) << c.text;
    EXPECT_EQ(generate::trimmedName("  Anna \t"), "Anna");
    EXPECT_EQ(generate::trimmedName("\xC2\xA0"
                                    "Anna Maria\xE3\x80\x80"),
              "Anna Maria");
    EXPECT_EQ(generate::trimmedName(" \t "), "");
}

TEST(NameModelTables, FixedArithmetic) {
    // splitmix64's first output from seed 0, as its definition gives it.
    generate::SplitMix64 random(0);
    EXPECT_EQ(random.next(), 0xE220A8397B1DCDAFull);
    for (const std::uint64_t n : {1ull, 2ull, 7ull, 1000ull, 1ull << 40})
        for (int i = 0; i < 1000; ++i) EXPECT_LT(random.below(n), n);
    for (const std::uint64_t x : {1ull, 2ull, 3ull, 10ull, 1000ull, 123456789ull, ~0ull}) {
        const double exact = std::log2(static_cast<double>(x)) * 1024;
        EXPECT_NEAR(generate::log2Fixed(x), exact, 1.01) << x;
    }
}

TEST(NameModelTables, BitCountAndByteHash) {
    for (const std::uint64_t x :
         {0ull, 1ull, 0x8000000000000000ull, 0x5555ull, ~0ull, 0x123456789ABCDEFull})
        EXPECT_EQ(generate::bitCount(x), std::popcount(x)) << x;
    // Texts around the eight-byte words, and ones that differ only in a
    // trailing zero byte or in their last byte, hash apart.
    const std::vector<std::string> texts = {"",
                                            std::string(1, '\0'),
                                            "a",
                                            "a" + std::string(1, '\0'),
                                            "giulia",
                                            "giulian",
                                            "giuliano",
                                            "giulianoo",
                                            "giulianp",
                                            "giuliano giulia",
                                            "giuliano giulib"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(generate::hashBytes(texts[i]), generate::hashBytes(std::string(texts[i])));
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_NE(generate::hashBytes(texts[i]), generate::hashBytes(texts[j]))
                << i << " " << j;
    }
}

// Spelling copies in blocks past each symbol; the view holds just the
// symbols, also for characters longer than a block and a reused buffer.
TEST(NameModel, SpellsSymbolsAsLearned) {
    const std::string accented =
        "e\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81\xCC\x81";
    std::vector<std::string> names = kItalian;
    names.push_back("Zo" + accented);
    names.push_back("Ãngela");
    const NameModel model = NameModel::train(names);
    std::vector<NameModel::Symbol> symbols;
    std::string text, folded;
    for (NameModel::Symbol s = 2; s < model.symbolCount(); ++s) {
        symbols.push_back(s);
        text += model.text(s);
        folded += model.folded(s);
    }
    ASSERT_NE(text.find(accented), std::string::npos) << "a character of 17 bytes";
    std::string buffer(1000, 'x');
    EXPECT_EQ(model.spell(symbols, buffer), text);
    EXPECT_EQ(model.spellFolded(symbols, buffer), folded);
    symbols.resize(1);
    EXPECT_EQ(model.spell(symbols, buffer), model.text(2));
    symbols.clear();
    EXPECT_EQ(model.spellFolded(symbols, buffer), "");
}

// A drawn rest of a name keeps to its length, and a draw is refused only
// at that length or past the cost.
TEST(NameModel, DrawRestKeepsItsLimits) {
    const NameModel model = NameModel::train(kItalian);
    struct Limits {
        std::size_t longest;
        NameModel::Cost mostCost;
    };
    const NameModel::Cost any = ~NameModel::Cost{0};
    for (const Limits limits : {Limits{4, any}, Limits{model.longestName(), model.leastLikely()},
                                Limits{3, model.leastLikely()}}) {
        generate::SplitMix64 random(3);
        int drawn = 0, refused = 0;
        for (int i = 0; i < 1000; ++i) {
            std::vector<NameModel::Symbol> symbols;
            NameModel::Cost cost = 0;
            const bool done = model.drawRest(model.stateAfter(model.start()), random,
                                             limits.longest, limits.mostCost, cost, symbols);
            EXPECT_LE(symbols.size(), limits.longest);
            if (done) {
                ++drawn;
                continue;
            }
            ++refused;
            EXPECT_TRUE(symbols.size() == limits.longest || cost > limits.mostCost);
        }
        EXPECT_GT(drawn, 0) << limits.longest;
        EXPECT_GT(refused, 0) << limits.longest;
    }
}

// The held-out measure on the census men's first names stays clear of the
// plain order-2 chain, which finds about 31% of them.
TEST(NameModel, FindsHeldBackNamesOfARealList) {
    const std::vector<std::string> names = readCensusNames("dist.male.first");
    ASSERT_GT(names.size(), 1000u) << "the census files are missing";
    const generate::HeldOutSplit split = generate::splitHeldOut(names, 20240917);
    const generate::InventQuality q =
        generate::measureInventQuality(NameModel::train(split.learned), split, 100000, 7);
    EXPECT_GE(q.recall, 38.0);
    EXPECT_GE(q.inLengthRange, 80.0);
    EXPECT_GE(q.knownTriples, 80.0);
}

TEST(NameModel, SplitHoldsBackAFifthOfTheDifferentNames) {
    std::vector<std::string> names = kItalian;
    names.push_back("GIULIA");
    const generate::HeldOutSplit split = generate::splitHeldOut(names, 1);
    EXPECT_EQ(split.heldBack.size(), kItalian.size() / 5);
    EXPECT_EQ(split.learned.size() + split.heldBack.size(), kItalian.size());
    for (const std::string& n : split.learned)
        EXPECT_EQ(split.heldBack.count(generate::foldCase(n)), 0u) << n;
    EXPECT_EQ(generate::splitHeldOut(names, 1).learned, split.learned);
}

}  // namespace
