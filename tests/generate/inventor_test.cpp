#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <QChar>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include "generate/inventor.h"
#include "generate/name_model_text.h"

namespace {

using generate::InventFailure;
using generate::InventFilters;
using generate::Inventor;
using generate::NameModel;

// Some of them in capitals, so that case variants of learned names are likely.
const std::vector<std::string> kNames = {
    "Giulia",  "Giulio",  "Marco",   "MARIA",   "Luca",     "Lucia",     "Paolo",   "Paola",
    "Franco",  "FRANCA",  "Sergio",  "Silvia",  "Matteo",   "Martina",   "Enzo",    "Elena",
    "Davide",  "Dario",   "Bruno",   "Bianca",  "Stefano",  "Simona",    "Andrea",  "Alessia",
    "Marino",  "Marina",  "Carlo",   "Carla",   "Giorgio",  "Giorgia",   "Roberto", "Roberta",
    "Fabio",   "Fabiana", "Mario",   "Mirella", "Antonio",  "Antonella", "Pietro",  "Piera",
    "Michele", "Michela", "Lorenzo", "Lorena",  "Emanuele", "Emanuela",  "Nicola",  "Nicoletta"};

std::vector<std::string> invent(const NameModel& model, const InventFilters& filters,
                                std::uint64_t seed, std::size_t count) {
    Inventor inventor(model, filters, seed);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) names.emplace_back(inventor.next());
    return names;
}

std::size_t characters(const std::string& name) {
    return generate::GraphemeSplitter().split(name).size();
}

TEST(Inventor, NeverGivesALearnedNameInAnyCase) {
    const NameModel model = NameModel::train(kNames);
    std::set<std::string> learned;
    for (const std::string& n : kNames) learned.insert(generate::foldCase(n));
    for (const std::string& name : invent(model, {}, 3, 20000))
        ASSERT_EQ(learned.count(generate::foldCase(name)), 0u) << name;
}

TEST(Inventor, ASeedGivesTheSameNames) {
    const NameModel model = NameModel::train(kNames);
    InventFilters startsWithM;
    startsWithM.startsWith = "m";
    for (const InventFilters& filters : {InventFilters{}, startsWithM}) {
        EXPECT_EQ(invent(model, filters, 42, 500), invent(model, filters, 42, 500));
        EXPECT_NE(invent(model, filters, 42, 500), invent(model, filters, 43, 500));
    }
    // A model trained again from the same list draws the same names.
    EXPECT_EQ(invent(NameModel::train(kNames), {}, 42, 500), invent(model, {}, 42, 500));
}

struct FilterCase {
    const char* what;
    InventFilters filters;
    std::function<bool(const std::string&)> holds;
};

void PrintTo(const FilterCase& c, std::ostream* out) {
    *out << c.what;
}

class FiltersHold : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FiltersHold, ForEveryName) {
    const NameModel model = NameModel::train(kNames);
    const std::vector<std::string> names = invent(model, GetParam().filters, 5, 1000);
    for (const std::string& name : names) ASSERT_TRUE(GetParam().holds(name)) << name;
    if (GetParam().filters.unique) {
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    }
}

InventFilters filtersWith(std::function<void(InventFilters&)> change) {
    InventFilters f;
    change(f);
    return f;
}

bool startsFolded(const std::string& name, const std::string& start) {
    return generate::foldCase(name).starts_with(start);
}

bool endsFolded(const std::string& name, const std::string& end) {
    return generate::foldCase(name).ends_with(end);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FiltersHold,
    ::testing::Values(FilterCase{"min_length", filtersWith([](auto& f) { f.minLength = 7; }),
                                 [](const std::string& n) { return characters(n) >= 7; }},
                      FilterCase{"max_length", filtersWith([](auto& f) { f.maxLength = 4; }),
                                 [](const std::string& n) { return characters(n) <= 4; }},
                      FilterCase{"one_length",
                                 filtersWith([](auto& f) { f.minLength = f.maxLength = 5; }),
                                 [](const std::string& n) { return characters(n) == 5; }},
                      FilterCase{"starts_lower", filtersWith([](auto& f) { f.startsWith = "ma"; }),
                                 [](const std::string& n) { return startsFolded(n, "ma"); }},
                      FilterCase{"starts_upper", filtersWith([](auto& f) { f.startsWith = "GI"; }),
                                 [](const std::string& n) { return startsFolded(n, "gi"); }},
                      FilterCase{"ends", filtersWith([](auto& f) { f.endsWith = "INA"; }),
                                 [](const std::string& n) { return endsFolded(n, "ina"); }},
                      FilterCase{"all", filtersWith([](auto& f) {
                                     f.startsWith = "M";
                                     f.endsWith = "o";
                                     f.minLength = 5;
                                     f.maxLength = 8;
                                 }),
                                 [](const std::string& n) {
                                     return startsFolded(n, "m") && endsFolded(n, "o") &&
                                            characters(n) >= 5 && characters(n) <= 8;
                                 }},
                      FilterCase{"unique", filtersWith([](auto& f) { f.unique = true; }),
                                 [](const std::string&) { return true; }}),
    [](const auto& info) { return std::string(info.param.what); });

struct Impossible {
    const char* what;
    std::vector<std::string> names;
    InventFilters filters;
    const char* message;  // the start of the failure's message
    generate::InventLimits limits{2000, 1000};
};

void PrintTo(const Impossible& c, std::ostream* out) {
    *out << c.what;
}

class ImpossibleFilters : public ::testing::TestWithParam<Impossible> {};

TEST_P(ImpossibleFilters, FailClearlyAfterBoundedTries) {
    const Impossible& c = GetParam();
    const NameModel model = NameModel::train(c.names);
    const auto started = std::chrono::steady_clock::now();
    try {
        Inventor inventor(model, c.filters, 1, c.limits);
        for (int i = 0; i < 100000; ++i) (void)inventor.next();
        FAIL() << "no failure";
    } catch (const InventFailure& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(c.message)) << e.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ImpossibleFilters,
    ::testing::Values(
        Impossible{"too_long", kNames, filtersWith([](auto& f) { f.minLength = 40; }),
                   "no invented name fits these filters after 2000 tries"},
        Impossible{"odd_end", kNames, filtersWith([](auto& f) { f.endsWith = "zqx"; }),
                   "no invented name fits these filters after 2000 tries"},
        Impossible{"unseen_start", kNames, filtersWith([](auto& f) { f.startsWith = "Ж"; }),
                   "no invented name can start with \"Ж\""},
        Impossible{"lengths_crossed", kNames, filtersWith([](auto& f) {
                       f.minLength = 6;
                       f.maxLength = 5;
                   }),
                   "the least length (6) is greater than the greatest (5)"},
        // Every name the model can make is learned: nothing new is left.
        Impossible{"nothing_new",
                   {"A", "B", "C", "D", "E"},
                   {},
                   "no invented name fits these filters after 2000 tries"},
        Impossible{"unique_used_up",
                   {"Al", "Bo", "Cy", "Di", "Ed"},
                   filtersWith([](auto& f) { f.unique = true; }),
                   "no further unique invented name fits these filters after 2000 tries"},
        // A name in about every hundred tries: over the average the run allows.
        Impossible{"slowing",
                   kNames,
                   filtersWith([](auto& f) {
                       f.minLength = 9;
                       f.unique = true;
                   }),
                   "inventing slowed to more than 50 tries a name",
                   {100000, 50}}),
    [](const auto& info) { return std::string(info.param.what); });

struct Script {
    const char* what;
    std::vector<std::string> names;
    QChar::Script script;
};

void PrintTo(const Script& c, std::ostream* out) {
    *out << c.what;
}

class OwnScript : public ::testing::TestWithParam<Script> {};

TEST_P(OwnScript, EveryCharacterIsInTheListsScript) {
    const NameModel model = NameModel::train(GetParam().names);
    for (const std::string& name : invent(model, {}, 9, 2000)) {
        const QString text = QString::fromStdString(name);
        ASSERT_FALSE(text.isEmpty());
        for (const char32_t c : text.toUcs4())
            ASSERT_EQ(QChar::script(c), GetParam().script) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, OwnScript,
    ::testing::Values(
        Script{
            "cyrillic",
            {"Александр", "Алексей", "Андрей",     "Антон",    "Борис",     "Вадим",   "Василий",
             "Виктор",    "Виталий", "Владимир",   "Григорий", "Дмитрий",   "Евгений", "Иван",
             "Игорь",     "Кирилл",  "Константин", "Максим",   "Михаил",    "Николай", "Олег",
             "Павел",     "Пётр",    "Роман",      "Сергей",   "Станислав", "Юрий",    "Ярослав"},
            QChar::Script_Cyrillic},
        Script{"hangul",
               {"민준", "서준", "도윤", "예준", "시우", "하준", "주원", "지호", "지후", "준우",
                "현우", "준서", "도현", "건우", "우진", "선우", "서진", "민재", "현준", "연우",
                "유준", "정우", "승우", "승현", "시윤", "준혁", "은우", "지환", "승민", "지우"},
               QChar::Script_Hangul}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
