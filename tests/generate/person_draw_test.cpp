#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "generate/person_draw.h"
#include "platform/failure.h"

namespace {

using generate::DrawChoice;
using generate::FastRandom;
using generate::GenderFilter;
using generate::NameOrder;
using generate::NamePool;
using generate::OriginNames;
using generate::Person;
using generate::PersonDraw;
using generate::Sex;

NamePool pool(std::vector<std::string_view> names) {
    return NamePool(names);
}

OriginNames origin(std::string tag, std::string displayName, NameOrder order) {
    OriginNames o;
    o.tag = std::move(tag);
    o.displayName = std::move(displayName);
    o.order = order;
    return o;
}

DrawChoice choose(GenderFilter gender, std::vector<double> shares = {}, bool mix = false) {
    DrawChoice choice;
    choice.shares = std::move(shares);
    choice.gender = gender;
    choice.mix = mix;
    return choice;
}

bool holds(const NamePool& names, std::string_view name) {
    for (std::uint32_t i = 0; i < names.size(); ++i)
        if (names.at(i) == name) return true;
    return false;
}

// Cyrillic, given name first, a female and a male form of each family name.
OriginNames russian() {
    OriginNames o = origin("ru", "Russian", NameOrder::GivenFirst);
    o.femaleFirst = pool({"Анна", "Мария", "Ольга"});
    o.maleFirst = pool({"Иван", "Пётр", "Олег"});
    o.femaleLast = pool({"Иванова", "Петрова", "Смирнова"});
    o.maleLast = pool({"Иванов", "Петров", "Смирнов"});
    return o;
}

// Han, family name first, one list of family names.
OriginNames chinese() {
    OriginNames o = origin("zh-CN", "Chinese", NameOrder::FamilyFirst);
    o.femaleFirst = pool({"秀英", "丽"});
    o.maleFirst = pool({"伟", "强"});
    o.lastNames = pool({"王", "李", "张"});
    return o;
}

// Latin, with unisex first names and gendered family names.
OriginNames czech() {
    OriginNames o = origin("cs", "Czech", NameOrder::GivenFirst);
    o.femaleFirst = pool({"Jana", "Eva"});
    o.maleFirst = pool({"Jan", "Petr"});
    o.unisexFirst = pool({"Saša", "Niki"});
    o.femaleLast = pool({"Nováková", "Svobodová"});
    o.maleLast = pool({"Novák", "Svoboda"});
    return o;
}

const NamePool& firstNamesOf(const OriginNames& o, Sex sex) {
    return sex == Sex::Female ? o.femaleFirst : sex == Sex::Male ? o.maleFirst : o.unisexFirst;
}

std::vector<Person> drawPersons(const PersonDraw& draw, int count, std::uint64_t seed = 1) {
    FastRandom random(seed);
    std::vector<Person> persons;
    for (int i = 0; i < count; ++i) persons.push_back(draw.next(random));
    return persons;
}

TEST(PersonDraw, EveryRowIsOnePersonOfOneOrigin) {
    const PersonDraw draw({russian(), chinese(), czech()}, choose(GenderFilter::Any));
    std::string full;
    for (const Person& p : drawPersons(draw, 20'000)) {
        const OriginNames& origin = draw.origins()[p.origin];
        ASSERT_EQ(p.lastOrigin, p.origin);
        ASSERT_TRUE(holds(firstNamesOf(origin, p.sex), p.first)) << origin.tag << ' ' << p.first;
        ASSERT_TRUE(holds(origin.lastNames, p.last) || holds(origin.femaleLast, p.last) ||
                    holds(origin.maleLast, p.last))
            << origin.tag << ' ' << p.last;
        full.clear();
        appendFull(full, p);
        const std::string expected = origin.order == NameOrder::FamilyFirst
                                         ? std::string(p.last) + ' ' + std::string(p.first)
                                         : std::string(p.first) + ' ' + std::string(p.last);
        ASSERT_EQ(full, expected);
    }
}

TEST(PersonDraw, FamilyNamesTakeTheFormOfThePersonsSex) {
    for (bool mix : {false, true}) {
        const PersonDraw draw({russian(), czech(), chinese()}, choose(GenderFilter::Any, {}, mix));
        std::array<int, 2> unisexForms{};  // female form, male form
        for (const Person& p : drawPersons(draw, 30'000)) {
            const OriginNames& family = draw.origins()[p.lastOrigin];
            if (!family.hasGenderedSurnames()) continue;
            const bool femaleForm = holds(family.femaleLast, p.last);
            ASSERT_NE(femaleForm, holds(family.maleLast, p.last)) << p.last;
            if (p.sex != Sex::Unisex) {
                ASSERT_EQ(femaleForm, p.sex == Sex::Female) << p.first << ' ' << p.last;
            }
            if (p.sex == Sex::Unisex) ++unisexForms[femaleForm ? 0 : 1];
        }
        // A unisex person takes either form at equal odds.
        const double femaleShare = unisexForms[0] / double(unisexForms[0] + unisexForms[1]);
        EXPECT_NEAR(femaleShare, 0.5, 0.03) << "mix " << mix;
    }
}

TEST(PersonDraw, RowBufferHoldsTheSameRowsAsAString) {
    const PersonDraw draw({russian(), chinese()}, choose(GenderFilter::Both));
    generate::RowBuffer buffer(8);  // grows many times over
    std::string text;
    for (const Person& p : drawPersons(draw, 1'000)) {
        appendFull(buffer, p);
        buffer.push_back('\n');
        appendFull(text, p);
        text += '\n';
    }
    EXPECT_EQ(buffer.text(), text);
    buffer.clear();
    EXPECT_EQ(buffer.size(), 0u);
}

// The fast line of full names copies in blocks past each name's end: every
// length around the block size, both name orders, with and without the blank,
// either line end, gives what appendFull gives.
TEST(PersonDraw, PooledLinesMatchTheFullNames) {
    std::vector<std::string> names;
    for (std::size_t length = 0; length <= 3 * NamePool::kPadding; ++length)
        names.push_back(std::string(length, static_cast<char>('a' + length % 26)));
    const NamePool first(names), last(std::vector<std::string>(names.rbegin(), names.rend()));
    for (const std::string_view lineEnd : {std::string_view("\n"), std::string_view("\r\n")}) {
        generate::RowBuffer buffer(8);  // grows: the copies past the ends must fit too
        std::string text;
        for (std::uint32_t i = 0; i < first.size(); ++i) {
            for (const NameOrder order : {NameOrder::GivenFirst, NameOrder::FamilyFirst}) {
                Person p;
                p.first = first.at(i);
                p.last = last.at((i * 7) % last.size());
                p.order = order;
                p.blankBetween = i % 3 != 0;
                generate::appendPooledLine(buffer, p, lineEnd);
                appendFull(text, p);
                text += lineEnd;
            }
        }
        EXPECT_EQ(buffer.text(), text);
    }
}

struct Odds {
    std::vector<double> shares;  // of ru, zh-CN, cs; empty: equal
    GenderFilter gender;
    std::array<double, 3> origin;  // expected share of each origin
    std::array<double, 3> sex;     // expected share of female, male, unisex
};

class PersonDrawOdds : public ::testing::TestWithParam<Odds> {};

TEST_P(PersonDrawOdds, FollowTheSharesAndTheFilter) {
    const Odds& odds = GetParam();
    const PersonDraw draw({russian(), chinese(), czech()}, choose(odds.gender, odds.shares));
    std::array<int, 3> origins{}, sexes{};
    const int rows = 100'000;
    for (const Person& p : drawPersons(draw, rows, 99)) {
        ++origins[p.origin];
        ++sexes[static_cast<int>(p.sex)];
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(origins[i] / double(rows), odds.origin[i], 0.01) << "origin " << i;
        EXPECT_NEAR(sexes[i] / double(rows), odds.sex[i], 0.01) << "sex " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, PersonDrawOdds,
    ::testing::Values(Odds{{70, 20, 10}, GenderFilter::Both, {0.7, 0.2, 0.1}, {0.5, 0.5, 0}},
                      Odds{{}, GenderFilter::Both, {1 / 3.0, 1 / 3.0, 1 / 3.0}, {0.5, 0.5, 0}},
                      Odds{{1, 1, 2}, GenderFilter::Female, {0.25, 0.25, 0.5}, {1, 0, 0}},
                      Odds{{0.5, 0.5, 1}, GenderFilter::Male, {0.25, 0.25, 0.5}, {0, 1, 0}},
                      // Only cs has unisex names: there, a third of the persons are unisex.
                      Odds{{1, 1, 2},
                           GenderFilter::Any,
                           {0.25, 0.25, 0.5},
                           {0.25 + 1 / 6.0, 0.25 + 1 / 6.0, 1 / 6.0}}));

TEST(PersonDraw, MixingPairsNamesOfAnyOriginByTheShares) {
    const PersonDraw draw({russian(), chinese()}, choose(GenderFilter::Both, {3, 1}, true));
    int mixed = 0, russianFamily = 0;
    const int rows = 100'000;
    for (const Person& p : drawPersons(draw, rows)) {
        mixed += p.lastOrigin != p.origin;
        russianFamily += p.lastOrigin == 0;
        EXPECT_EQ(p.order, draw.origins()[p.origin].order);
    }
    EXPECT_NEAR(mixed / double(rows), 2 * 0.75 * 0.25, 0.01);
    EXPECT_NEAR(russianFamily / double(rows), 0.75, 0.01);
}

TEST(PersonDraw, ASeedGivesTheSamePersons) {
    const PersonDraw draw({russian(), chinese(), czech()},
                          choose(GenderFilter::Any, {5, 3, 2}, true));
    const auto fullNames = [&](std::uint64_t seed) {
        std::string text;
        for (const Person& p : drawPersons(draw, 1'000, seed)) appendFull(text, p), text += '\n';
        return text;
    };
    EXPECT_EQ(fullNames(42), fullNames(42));
    EXPECT_NE(fullNames(42), fullNames(43));
}

// Drawn by batches of any size, weighted or not, mixing or not, the persons
// are those of one draw at a time, in the same order, and the generator is
// left as each of those draws leaves it.
TEST(PersonDraw, BatchesGiveThePersonsOfOneDrawAtATime) {
    OriginNames weighted = chinese();
    const std::vector<std::string_view> han{"王", "李", "张", "刘"};
    const std::vector<double> odds{5, 1, 0.5, 2};
    weighted.lastNames = NamePool(han, odds);
    for (bool mix : {false, true}) {
        const PersonDraw draw({russian(), weighted, czech()},
                              choose(GenderFilter::Any, {5, 3, 2}, mix));
        FastRandom one(9);
        std::vector<Person> single;
        std::vector<std::uint64_t> nextAfter;  // what the generator gives after each person
        for (int i = 0; i < 500; ++i) {
            single.push_back(draw.next(one));
            nextAfter.push_back(FastRandom(one).next());
        }
        for (std::size_t batch :
             {std::size_t{1}, std::size_t{7}, PersonDraw::kMaxBatch, PersonDraw::kMaxBatch + 1}) {
            FastRandom random(9);
            std::vector<Person> batched(single.size());
            std::vector<FastRandom> after(single.size());
            for (std::size_t i = 0; i < batched.size(); i += batch) {
                const std::size_t n = std::min(batch, batched.size() - i);
                draw.nextBatch(random, std::span(batched).subspan(i, n),
                               std::span(after).subspan(i, n));
            }
            for (std::size_t i = 0; i < single.size(); ++i) {
                const std::string where = "batch " + std::to_string(batch) + " row " +
                                          std::to_string(i) + (mix ? " mixing" : "");
                EXPECT_EQ(batched[i].first, single[i].first) << where;
                EXPECT_EQ(batched[i].last, single[i].last) << where;
                EXPECT_EQ(batched[i].lastOrigin, single[i].lastOrigin) << where;
                EXPECT_EQ(after[i].next(), nextAfter[i]) << where;
            }
        }
    }
}

OriginNames without(OriginNames o, NamePool OriginNames::*names) {
    o.*names = NamePool();
    return o;
}

// The refusal's message, or "accepted".
std::string refusalOf(std::vector<OriginNames> origins, DrawChoice choice) {
    try {
        PersonDraw draw(std::move(origins), std::move(choice));
        return "accepted";
    } catch (const platform::Failure& failure) {
        return failure.what();
    }
}

TEST(PersonDraw, RefusesOriginsThatCannotMakeThePersons) {
    using ::testing::HasSubstr;
    OriginNames bothForms = chinese();
    bothForms.femaleLast = pool({"x"});
    bothForms.maleLast = pool({"y"});
    EXPECT_THAT(refusalOf({russian(), czech()}, choose(GenderFilter::Unisex)),
                HasSubstr("ru (Russian) has no unisex first names"));
    EXPECT_THAT(
        refusalOf({without(chinese(), &OriginNames::maleFirst)}, choose(GenderFilter::Both)),
        HasSubstr("zh-CN (Chinese) has no male first names"));
    EXPECT_THAT(refusalOf({without(czech(), &OriginNames::femaleFirst)}, choose(GenderFilter::Any)),
                HasSubstr("cs (Czech) has no female"));
    EXPECT_THAT(
        refusalOf({without(chinese(), &OriginNames::lastNames)}, choose(GenderFilter::Male)),
        HasSubstr("zh-CN (Chinese) has no family names"));
    EXPECT_THAT(
        refusalOf({without(russian(), &OriginNames::maleLast)}, choose(GenderFilter::Female)),
        HasSubstr("ru (Russian) has only the female form"));
    EXPECT_THAT(refusalOf({czech(), bothForms}, choose(GenderFilter::Both)), HasSubstr("zh-CN"));
    EXPECT_THAT(refusalOf({russian(), chinese()}, choose(GenderFilter::Both, {1, 0})),
                HasSubstr("share of origin zh-CN"));
    EXPECT_THAT(refusalOf({russian(), chinese()}, choose(GenderFilter::Both, {1})),
                HasSubstr("1 shares for 2 origins"));
    EXPECT_THAT(refusalOf({}, choose(GenderFilter::Both)), HasSubstr("No origins"));
    // What each origin has is enough for these.
    EXPECT_EQ(refusalOf({russian(), chinese()}, choose(GenderFilter::Any)), "accepted");
    EXPECT_EQ(
        refusalOf({without(russian(), &OriginNames::maleFirst)}, choose(GenderFilter::Female)),
        "accepted");
}

}  // namespace
