// Pools by frequency and birth decade: from small made-up origins for the
// rules, and from the built names.mdb for the real shares.
#include <map>
#include <string>
#include <unordered_map>

#include <gtest/gtest.h>

#include "generate/frequency_pools.h"
#include "names/birth_store.h"
#include "names/birth_table.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "support/gzip.h"
#include "support/temp_database.h"

namespace {

using generate::DecadeRange;
using generate::FrequencyChoice;
using generate::FrequencyPools;
using generate::GenderFilter;
using generate::NamePool;
using generate::PersonDraw;
using names::OriginEntry;
using names::OriginList;

bool holds(const NamePool& pool, std::string_view name) {
    for (std::uint32_t i = 0; i < pool.size(); ++i)
        if (pool.at(i) == name) return true;
    return false;
}

OriginEntry plainOrigin() {
    OriginEntry entry{{"de", "German", "Latn", false, true, "test"}};
    entry[OriginList::Male] = {{"Jan", 0}, {"Karl", 0}};
    entry[OriginList::Female] = {{"Eva", 0}};
    entry[OriginList::Last] = {{"Bauer", 0}, {"Roth", 0}};
    return entry;
}

// Births in the 1950s and 1960s; Jessie is unisex in the 1950s only.
OriginEntry bornOrigin() {
    OriginEntry entry = plainOrigin();
    entry.origin.tag = "us";
    entry.birthsByDecade = testsupport::gzipped(
        "name\tsex\t1950s\t1960s\n"
        "Jessie\tF\t600\t100\n"
        "Jessie\tM\t500\t4000\n"
        "Kim\tF\t340\t0\n"
        "Kim\tM\t660\t0\n"
        "Mary\tF\t30000\t0\n"
        "Noah\tM\t0\t2000\n");
    return entry;
}

// Where each first name goes, by the unisex rule over the chosen decades.
struct Placement {
    std::optional<DecadeRange> decades;
    std::string name;
    const char* pool;  // "female", "male", "unisex", "male and female" or "none"
};

TEST(FrequencyPools, FirstNamesAreUnisexByTheRuleOverTheChosenDecades) {
    const std::vector<Placement> cases{
        {DecadeRange{1950, 1950}, "Jessie", "unisex"},           // 600 / 500
        {DecadeRange{1960, 1960}, "Jessie", "male and female"},  // 100 / 4000
        {std::nullopt, "Jessie", "male and female"},             // 700 / 4500: all years
        {DecadeRange{1950, 1950}, "Kim", "unisex"},              // 340 / 660 of 1,000
        {DecadeRange{1960, 1960}, "Kim", "none"},                // no births
        {DecadeRange{1950, 1960}, "Mary", "female"},
        {DecadeRange{1950, 1950}, "Noah", "none"},
        {DecadeRange{1960, 1960}, "Noah", "male"},
    };
    for (const Placement& c : cases) {
        const FrequencyPools pools = generate::frequencyPools(bornOrigin(), {true, c.decades});
        const bool f = holds(pools.names.femaleFirst, c.name);
        const bool m = holds(pools.names.maleFirst, c.name);
        const bool u = holds(pools.names.unisexFirst, c.name);
        const std::string where = u        ? "unisex"
                                  : f && m ? "male and female"
                                  : f      ? "female"
                                  : m      ? "male"
                                           : "none";
        EXPECT_EQ(where, c.pool) << c.name << " " << (c.decades ? c.decades->first : 0);
        EXPECT_FALSE(u && (f || m)) << c.name;
    }
}

TEST(FrequencyPools, AnOriginWithoutWeightsDrawsUniformlyAndSaysSo) {
    const FrequencyPools pools = generate::frequencyPools(plainOrigin(), {true, std::nullopt});
    EXPECT_TRUE(pools.lacksFrequencies);
    EXPECT_FALSE(pools.weightedFirst || pools.weightedLast);
    for (const NamePool* pool : {&pools.names.maleFirst, &pools.names.lastNames}) {
        EXPECT_FALSE(pool->isWeighted());
        EXPECT_EQ(pool->size(), 2u);
    }
    EXPECT_FALSE(generate::frequencyPools(plainOrigin(), {}).lacksFrequencies);  // not asked
}

TEST(FrequencyPools, DecadesAreRefusedForAnOriginWithoutBirths) {
    try {
        generate::frequencyPools(plainOrigin(), {false, DecadeRange{1950, 1950}});
        ADD_FAILURE() << "decades accepted";
    } catch (const generate::ChoiceError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("de (German)"), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

TEST(FrequencyPools, WeightedLastNamesTakeTheFullListWithoutItsZeroWeights) {
    OriginEntry entry = plainOrigin();
    entry.weightedLists[static_cast<std::size_t>(OriginList::Last)] = {
        {"Bauer", 3}, {"Roth", 1}, {"Zorn", 0}, {"Abel", 2}};
    const FrequencyPools weighted = generate::frequencyPools(entry, {true, std::nullopt});
    EXPECT_TRUE(weighted.weightedLast);
    EXPECT_FALSE(weighted.weightedFirst);
    EXPECT_TRUE(weighted.names.lastNames.isWeighted());
    EXPECT_EQ(weighted.names.lastNames.size(), 3u);
    EXPECT_TRUE(holds(weighted.names.lastNames, "Abel"));
    EXPECT_FALSE(holds(weighted.names.lastNames, "Zorn"));
    EXPECT_EQ(generate::frequencyPools(entry, {}).names.lastNames.size(), 2u);  // the list
}

// Over the built names.mdb.
class UsNames : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        database_ = new platform::Database;
        database_->open(QStringLiteral(QF_BUILT_NAMES_DB),
                        platform::Database::Access::ReadOnlyImmutable);
    }
    static void TearDownTestSuite() { delete database_; }

    static FrequencyPools pools(FrequencyChoice choice) {
        return generate::storedFrequencyPools(*database_, "en-US", choice);
    }
    // How often each first name (or last name) came out.
    static std::map<std::string, double> shares(FrequencyChoice choice, GenderFilter gender,
                                                int rows, bool last = false) {
        const PersonDraw draw({pools(choice).names}, {{}, gender, false});
        generate::FastRandom random(16);
        std::unordered_map<std::string_view, int> counts;
        for (int i = 0; i < rows; ++i) {
            const generate::Person person = draw.next(random);
            ++counts[last ? person.last : person.first];
        }
        std::map<std::string, double> byName;
        for (const auto& [name, count] : counts) byName[std::string(name)] = double(count) / rows;
        return byName;
    }
    static inline platform::Database* database_ = nullptr;
};

TEST_F(UsNames, WeightedLastNamesComeAtTheirCensusShares) {
    OriginEntry us = names::originForDrawing(*database_, "en-US");
    names::loadDistributions(*database_, us);
    double total = 0;
    std::map<QString, double> weight;
    for (const names::ListedName& listed : us.weightedList(OriginList::Last)) {
        total += listed.weight;
        weight[listed.name] = listed.weight;
    }
    const auto drawn = shares({true, std::nullopt}, GenderFilter::Both, 1'000'000, true);
    for (const char* name : {"Smith", "Johnson"})
        EXPECT_NEAR(drawn.at(name), weight[name] / total, 0.1 * weight[name] / total) << name;
}

// A store made before the births over all years were kept ready sums them
// from the births by decade: a seed gives the same persons from either.
TEST(StoredPools, ASeedDrawsTheSamePersonsWithOrWithoutTheReadyBirths) {
    testsupport::TempDatabase copy{QStringLiteral(QF_BUILT_NAMES_DB)};
    platform::Database db;
    db.open(copy.path());
    const auto persons = [&] {
        const PersonDraw draw(
            {generate::storedFrequencyPools(db, "en-US", {true, std::nullopt}).names},
            {{}, GenderFilter::Any, false});
        generate::FastRandom random(7);
        std::vector<std::string> drawn;
        for (int i = 0; i < 2000; ++i) {
            const generate::Person person = draw.next(random);
            drawn.push_back(std::string(person.first) + ' ' + std::string(person.last));
        }
        return drawn;
    };
    const std::vector<std::string> ready = persons();
    copy.execute("delete from origin_pack where full = 2");
    EXPECT_EQ(persons(), ready);
}

TEST_F(UsNames, WomenOfThe1950sAreMaryAndLindaAtTheirShares) {
    const names::BirthTable births = names::storedBirths(*database_, "en-US");
    const qsizetype fifties = births.decades.indexOf(1950);
    double all = 0;
    std::map<std::string_view, double> born;
    for (const auto& row : births.rows) {
        if (!row.female) continue;
        all += births.birthsOf(row, fifties);
        born[births.nameOf(row)] = births.birthsOf(row, fifties);
    }
    const auto drawn = shares({true, DecadeRange{1950, 1950}}, GenderFilter::Female, 1'000'000);
    for (const char* name : {"Mary", "Linda"})
        EXPECT_NEAR(drawn.at(name), born[name] / all, 0.1 * born[name] / all) << name;
}

TEST_F(UsNames, MenOfThe2010sAreMostOftenNoah) {
    const auto drawn = shares({true, DecadeRange{2010, 2010}}, GenderFilter::Male, 200'000);
    const auto top = std::max_element(drawn.begin(), drawn.end(),
                                      [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_EQ(top->first, "Noah");
}

TEST_F(UsNames, TheCommittedListsFollowTheUnisexRuleOverAllYears) {
    const FrequencyPools fromBirths = pools({true, std::nullopt});
    const FrequencyPools lists = pools({});
    EXPECT_FALSE(lists.names.maleFirst.isWeighted());
    const NamePool& unisex = lists.names.unisexFirst;
    ASSERT_EQ(unisex.size(), fromBirths.names.unisexFirst.size());
    for (std::uint32_t i = 0; i < unisex.size(); ++i)  // the births' pool by falling births
        EXPECT_TRUE(holds(fromBirths.names.unisexFirst, unisex.at(i))) << unisex.at(i);
    for (const NamePool* sexed : {&lists.names.maleFirst, &lists.names.femaleFirst})
        for (std::uint32_t i = 0; i < sexed->size(); ++i)
            EXPECT_FALSE(holds(unisex, sexed->at(i))) << sexed->at(i);
}

TEST_F(UsNames, ASeedGivesTheSameNames) {
    const PersonDraw draw({pools({true, DecadeRange{1970, 1990}}).names}, {});
    const auto names = [&](std::uint64_t seed) {
        generate::FastRandom random(seed);
        std::string text;
        for (int i = 0; i < 1000; ++i) generate::appendFull(text, draw.next(random));
        return text;
    };
    EXPECT_EQ(names(7), names(7));
    EXPECT_NE(names(7), names(8));
}

}  // namespace
