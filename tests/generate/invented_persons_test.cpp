#include <cctype>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generate/invented_persons.h"
#include "generate/name_model_text.h"
#include "platform/failure.h"

namespace {

using generate::InventionPlan;

const std::vector<std::string> kNames = {
    "Giulio",  "Marco",   "Luca",    "Paolo",   "Franco",   "Sergio",  "Matteo",  "Enzo",
    "Davide",  "Dario",   "Bruno",   "Stefano", "Andrea",   "Marino",  "Carlo",   "Giorgio",
    "Roberto", "Fabio",   "Mario",   "Antonio", "Pietro",   "Michele", "Lorenzo", "Emanuele",
    "Nicola",  "Alberto", "Massimo", "Claudio", "Giuseppe", "Renato",  "Vittorio"};

// One origin of one voice whose given names come from the list.
InventionPlan planOf(std::vector<std::string> alsoKnown) {
    InventionPlan plan;
    const int list = plan.listOf({kNames, "the men's names", {}, std::move(alsoKnown)});
    plan.origins.push_back({"it", generate::NameOrder::GivenFirst, true, 1, {{list, -1}}});
    return plan;
}

std::vector<std::string> firstNames(InventionPlan plan, std::size_t count) {
    generate::InventedPersons persons(std::move(plan), 7);
    generate::FastRandom random(3);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) names.emplace_back(persons.next(random).first);
    return names;
}

// The names the same seed gives first, made known as real ones elsewhere in
// the origin, in other letter case: none of them comes out any more.
TEST(InventedPersons, NeverGivesARealNameOfTheOriginsOtherLists) {
    const std::vector<std::string> before = firstNames(planOf({}), 200);
    std::vector<std::string> known;
    std::set<std::string> folded;
    for (std::size_t i = 0; i < 50; ++i) {
        known.push_back(generate::foldCase(before[i]));
        folded.insert(generate::foldCase(before[i]));
    }
    known.front()[0] = static_cast<char>(std::toupper(known.front()[0]));
    const std::vector<std::string> after = firstNames(planOf(known), 200);
    for (const std::string& name : after)
        EXPECT_FALSE(folded.count(generate::foldCase(name))) << name;
    EXPECT_NE(after, before);
}

TEST(InventedPersons, AListOfNoNamesOrAPlanOfNoOriginsIsRefusedNamingIt) {
    InventionPlan empty;
    empty.listOf({{}, "the women's names", {}, {}});
    empty.origins.push_back({"it", generate::NameOrder::GivenFirst, true, 1, {{0, -1}}});
    try {
        generate::InventedPersons persons(empty, 1);
        FAIL() << "an empty list was learned";
    } catch (const platform::Failure& failure) {
        EXPECT_TRUE(failure.description().startsWith("the women's names"))
            << failure.description().toStdString();
    }
    EXPECT_THROW(generate::InventedPersons(InventionPlan{}, 1), platform::Failure);
}

}  // namespace
