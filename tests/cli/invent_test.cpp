// `generate --invent` run as a separate process: what it learns from, the
// filters, the scripts, the records, and how it refuses.
#include <functional>
#include <utility>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "program_run.h"

namespace {

using namespace clitest;

const QStringList kFirstNames{"Anna",  "Bianca", "Carla",  "Daria", "Elena",
                              "Fabia", "Giulia", "Ilaria", "Laura", "Marta",
                              "Nadia", "Olivia", "Paola",  "Rosa",  "Sara"};
const QStringList kLastNames{"Rossi", "Bianchi", "Romano", "Colombo", "Ricci", "Marino", "Greco"};

QSet<QString> folded(const QStringList& names) {
    QSet<QString> set;
    for (const QString& name : names) set.insert(name.toCaseFolded());
    return set;
}

class Invent : public CommandLine {
protected:
    QStringList invented(const QStringList& arguments) {
        const Outcome outcome = run(QStringList{"generate", "--invent"} + arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        return lines(outcome.out);
    }
    QList<QJsonObject> records(const QStringList& arguments) {
        QList<QJsonObject> result;
        for (const QString& line : invented(arguments + QStringList{"--format", "jsonl"}))
            result << QJsonDocument::fromJson(line.toUtf8()).object();
        return result;
    }
};

TEST_F(Invent, NoNameOfTheUserListComesOutInAnyCase) {
    // The list holds its names in other cases too: none of them may come back.
    setUserList(kFirstNames + QStringList{"ANNA", "sara"}, kLastNames + QStringList{"ROSSI"});
    for (const auto& [part, learned] : {std::pair{"first", kFirstNames}, {"last", kLastNames}}) {
        const QStringList names = invented({"--list", "user", "--part", part, "-n", "3000"});
        ASSERT_EQ(names.size(), 3000) << part;
        for (const QString& name : names) {
            EXPECT_FALSE(name.trimmed().isEmpty()) << part;
            EXPECT_FALSE(folded(learned).contains(name.toCaseFolded())) << name.toStdString();
        }
    }
}

TEST_F(Invent, SeedRepeatsTheNamesAndAnotherSeedChangesThem) {
    const QStringList arguments{"--origin", "it", "-n", "200", "--seed"};
    const QStringList first = invented(arguments + QStringList{"5"});
    EXPECT_EQ(first, invented(arguments + QStringList{"5"}));
    EXPECT_NE(first, invented(arguments + QStringList{"6"}));
    EXPECT_EQ(first.size(), 200);
}

struct FilterCase {
    const char* name;
    QStringList arguments;
    std::function<bool(const QString&)> holds;  // of the given name
};

void PrintTo(const FilterCase& filter, std::ostream* out) {
    *out << filter.name;
}

class Filters : public Invent, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(Filters, HoldForEveryName) {
    const QStringList names =
        invented(QStringList{"--origin", "it", "-n", "300", "--seed", "3"} + GetParam().arguments);
    ASSERT_EQ(names.size(), 300);
    const bool full = !GetParam().arguments.contains("first");
    for (const QString& name : names) {
        const QString given = full ? name.section(' ', 0, 0) : name;
        EXPECT_TRUE(GetParam().holds(given)) << name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Filters,
    ::testing::Values(
        FilterCase{"MinLength",
                   {"--part", "first", "--min-length", "9"},
                   [](const QString& n) { return n.size() >= 9; }},
        FilterCase{"MaxLength",
                   {"--part", "first", "--max-length", "4"},
                   [](const QString& n) { return n.size() <= 4; }},
        FilterCase{"StartsWithIgnoringCase",
                   {"--part", "first", "--starts-with", "mA"},
                   [](const QString& n) { return n.startsWith("ma", Qt::CaseInsensitive); }},
        FilterCase{"EndsWithIgnoringCase",
                   {"--part", "first", "--gender", "male", "--ends-with", "INO"},
                   [](const QString& n) { return n.endsWith("ino", Qt::CaseInsensitive); }},
        FilterCase{
            "TogetherOnTheGivenNameOfAFullName",
            {"--starts-with", "B", "--min-length", "5", "--max-length", "7"},
            [](const QString& n) { return n.startsWith('B') && n.size() >= 5 && n.size() <= 7; }}));

TEST_F(Invent, UniqueGivesNoNameTwiceIgnoringCase) {
    for (const char* part : {"first", "full"}) {
        const QStringList names =
            invented({"--origin", "de", "--part", part, "--unique", "-n", "5000"});
        EXPECT_EQ(folded(names).size(), 5000) << part;
    }
}

struct RefusalCase {
    const char* name;
    QStringList arguments;
    int status;
    QString says;
};

void PrintTo(const RefusalCase& refusal, std::ostream* out) {
    *out << refusal.name;
}

class Refusals : public Invent, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, OneClearLine) {
    expectError(run(QStringList{"generate"} + GetParam().arguments), GetParam().status,
                GetParam().says);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Refusals,
    ::testing::Values(
        RefusalCase{"StartNoNameHas",
                    {"--invent", "--origin", "it", "--starts-with", "Ж"},
                    1,
                    "no such character"},
        RefusalCase{"LengthNoNameHas",
                    {"--invent", "--origin", "it", "--min-length", "60"},
                    1,
                    "no invented name fits these filters"},
        RefusalCase{"EndAndLengthThatExcludeEachOther",
                    {"--invent", "--origin", "it", "--max-length", "2", "--ends-with", "ino"},
                    1,
                    "no invented name fits these filters"},
        RefusalCase{"UniqueBeyondWhatTheListGives",
                    {"--invent", "--origin", "it", "--part", "first", "--max-length", "3",
                     "--unique", "-n", "100000"},
                    1,
                    "these filters leave too few names"},
        RefusalCase{"UnknownOrigin", {"--invent", "--origin", "xx-Elvish"}, 2, "unknown origin"},
        RefusalCase{"OriginAndList",
                    {"--invent", "--origin", "it", "--list", "user"},
                    2,
                    "built-in list only"},
        RefusalCase{"LeastAboveGreatest",
                    {"--invent", "--min-length", "8", "--max-length", "5"},
                    2,
                    "greater than --max-length 5"},
        RefusalCase{"LengthNotANumber", {"--invent", "--max-length", "x"}, 2, "whole number"},
        RefusalCase{"FilterWithoutInvent", {"--starts-with", "A"}, 2, "add --invent"},
        RefusalCase{"UnisexFirstNames", {"--invent", "--gender", "unisex"}, 2, "not for it"}));

TEST_F(Invent, UserListOfFewNamesIsRefusedClearly) {
    const std::pair<QStringList, QString> cases[] = {
        {{}, "the User List's first names: there are none"},
        {{"Ann"}, "at least 5 different names to learn from; this one has 1"},
        {{"Ann", "ANN", "Bob"}, "this one has 2"},
    };
    for (const auto& [first, says] : cases) {
        setUserList(first, kLastNames);
        expectError(run({"generate", "--invent", "--list", "user", "--part", "first"}), 1, says);
    }
}

// Each given and family name in the origin's script, joined in its order.
TEST_F(Invent, CyrillicAndHangulOriginsGiveNamesInTheirScriptInTheirOrder) {
    struct ScriptCase {
        const char* origin;
        QChar::Script script;
        bool familyFirst;
        QString separator;
    };
    for (const ScriptCase& c : {ScriptCase{"ru", QChar::Script_Cyrillic, false, " "},
                                ScriptCase{"ko", QChar::Script_Hangul, true, ""}}) {
        const QList<QJsonObject> people = records({"--origin", c.origin, "-n", "300"});
        ASSERT_EQ(people.size(), 300) << c.origin;
        for (const QJsonObject& person : people) {
            const QString first = person["first"].toString();
            const QString last = person["last"].toString();
            for (const QChar letter : first + last)
                EXPECT_EQ(letter.script(), c.script) << c.origin << " " << first.toStdString();
            EXPECT_EQ(person["full"].toString(),
                      c.familyFirst ? last + c.separator + first : first + c.separator + last);
        }
    }
}

TEST_F(Invent, RecordsSayInventedWithSexAndOrigin) {
    const QList<QJsonObject> people = records({"--origin", "it", "-n", "400", "--seed", "1"});
    QSet<QString> sexes;
    for (const QJsonObject& person : people) {
        EXPECT_EQ(person["invented"], QJsonValue(true));
        EXPECT_EQ(person["origin"], QJsonValue("it"));
        sexes.insert(person["sex"].toString());
    }
    EXPECT_EQ(sexes, (QSet<QString>{"male", "female"}));

    // json: one array of the same records as jsonl.
    const Outcome array = run(
        {"generate", "--invent", "--origin", "it", "-n", "400", "--seed", "1", "--format", "json"});
    const QJsonArray parsed = QJsonDocument::fromJson(array.out).array();
    ASSERT_EQ(parsed.size(), 400);
    EXPECT_EQ(parsed.last().toObject(), people.last());

    setUserList(kFirstNames, kLastNames);
    const QList<QJsonObject> user = records({"--list", "user", "--part", "last", "-n", "5"});
    ASSERT_EQ(user.size(), 5);
    EXPECT_TRUE(user[0]["sex"].isNull() && user[0]["origin"].isNull() &&
                !user[0].contains("first"));
}

TEST_F(Invent, CsvHasTheGivenAndTheFamilyNameTheSexAndTheOrigin) {
    const QStringList rows =
        invented({"--origin", "ko", "-n", "3", "--format", "csv", "--seed", "2"});
    const QList<QJsonObject> people = records({"--origin", "ko", "-n", "3", "--seed", "2"});
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], "first,last,sex,origin");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rows[i + 1],
                  QStringList({people[i]["first"].toString(), people[i]["last"].toString(),
                               people[i]["sex"].toString(), "ko"})
                      .join(','));
}

}  // namespace
