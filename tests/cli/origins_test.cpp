// The built-in origins on the command line: persons of one origin, shares,
// Latin letters, JSON, seeds under other locales, the list of origins.
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "program_run.h"
#include "support/qt_printers.h"

namespace {

using namespace clitest;

// A list of data/origins as rows show it, compared without letter case and blanks.
QString key(const QString& name) {
    return QString(name).remove(QLatin1Char(' ')).toCaseFolded();
}

QSet<QString> dataList(const QString& tag, const char* list) {
    QFile file(QStringLiteral(QF_SOURCE_DIR "/data/origins/") + tag + QLatin1Char('/') +
               QLatin1String(list) + QStringLiteral(".txt"));
    QSet<QString> names;
    if (!file.open(QIODevice::ReadOnly)) return names;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
        if (!line.isEmpty()) names.insert(key(line.section(QLatin1Char('\t'), 0, 0)));
    return names;
}

// The JSON lines of a run, each an object.
QList<QJsonObject> records(const Outcome& outcome) {
    QList<QJsonObject> objects;
    for (const QString& line : lines(outcome.out))
        objects << QJsonDocument::fromJson(line.toUtf8()).object();
    return objects;
}

class Origins : public CommandLine {
protected:
    QList<QJsonObject> drawn(QStringList arguments) {
        const Outcome outcome = run(QStringList{"generate", "--format", "jsonl"} + arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        return records(outcome);
    }
};

// No woman with a man's surname form, no man with a woman's, every name of
// its own origin, joined in its order.
TEST_F(Origins, EveryPersonIsOfOneOriginInItsOrderAndSurnameForm) {
    const QStringList tags{"ru", "cs", "ja", "zh-CN", "de", "ko"};
    const QSet<QString> familyFirst{"ja", "zh-CN", "ko"};
    const QSet<QString> together{"zh-CN", "ko"};
    const QList<QJsonObject> persons =
        drawn({"--origin", tags.join(','), "--gender", "any", "-n", "6000", "--seed", "11"});
    ASSERT_EQ(persons.size(), 6000);
    QHash<QString, int> perOrigin;
    for (const QJsonObject& person : persons) {
        const QString tag = person["origin"].toString();
        const QString sex = person["sex"].toString();
        const QString first = person["first"].toString();
        const QString last = person["last"].toString();
        ++perOrigin[tag];
        ASSERT_TRUE(tags.contains(tag)) << tag.toStdString();
        EXPECT_TRUE(dataList(tag, sex.toLatin1()).contains(key(first)))
            << tag.toStdString() << " " << sex.toStdString() << " " << first.toStdString();
        const QSet<QString> female = dataList(tag, "last_female");
        const QSet<QString> male = dataList(tag, "last_male");
        if (female.isEmpty())
            EXPECT_TRUE(dataList(tag, "last").contains(key(last))) << last.toStdString();
        else if (sex == "female")
            EXPECT_TRUE(female.contains(key(last))) << "woman " << last.toStdString();
        else if (sex == "male")
            EXPECT_TRUE(male.contains(key(last))) << "man " << last.toStdString();
        else
            EXPECT_TRUE(male.contains(key(last)) || female.contains(key(last)));
        const QString blank = together.contains(tag) ? "" : " ";
        EXPECT_EQ(person["full"].toString(),
                  familyFirst.contains(tag) ? last + blank + first : first + blank + last);
    }
    for (const QString& tag : tags) EXPECT_GT(perOrigin[tag], 800) << tag.toStdString();
    // Text shows the same full names.
    const QStringList text = lines(run({"generate", "--origin", tags.join(','), "--gender", "any",
                                        "-n", "6000", "--seed", "11"})
                                       .out);
    ASSERT_EQ(text.size(), persons.size());
    for (qsizetype i = 0; i < text.size(); i += 97)
        EXPECT_EQ(text[i], persons[i]["full"].toString());
}

TEST_F(Origins, SharesHoldWithinAPercentOver100000Rows) {
    const Outcome outcome = run({"generate", "--origin", "en-US:70,es-MX:20,vi:10", "--format",
                                 "csv", "-n", "100000", "--seed", "5"});
    ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    const QStringList rows = lines(outcome.out);
    ASSERT_EQ(rows.first(), "first,last,sex,origin");
    QHash<QString, int> count;
    for (const QString& row : rows.mid(1)) ++count[row.section(',', -1)];
    EXPECT_NEAR(count["en-US"], 70000, 1000);
    EXPECT_NEAR(count["es-MX"], 20000, 1000);
    EXPECT_NEAR(count["vi"], 10000, 1000);
    // The sexes at equal odds.
    EXPECT_NEAR(rows.filter(",female,").size(), 50000, 1000);
}

TEST_F(Origins, LatinGivesLatinLettersAndIsRefusedForScriptsItCannotRead) {
    const Outcome latin = run({"generate", "--origin", "ru,uk,mk,hy,ko,zh-CN,th,de", "--latin",
                               "-n", "5000", "--seed", "3"});
    ASSERT_EQ(latin.status, 0) << latin.err.toStdString();
    for (const QString& row : lines(latin.out)) {
        for (const QChar c : row)
            ASSERT_TRUE(c.script() == QChar::Script_Latin ||
                        c.script() == QChar::Script_Inherited || c == ' ' || c == '-')
                << row.toStdString();
        EXPECT_EQ(row.count(' '), 1) << "given and family name apart: " << row.toStdString();
    }
    for (const char* tags : {"ja", "de,ja", "he", "fa", "ckb"})
        expectError(run({"generate", "--origin", tags, "--latin"}), 2,
                    "cannot be read into Latin letters");
}

TEST_F(Origins, JsonIsReadBackByPython) {
    const Outcome builtIn = shell(
        "\"$Q\" generate --origin ru,ja --format json -n 300 | python3 -c 'import json,sys; "
        "r=json.load(sys.stdin); print(len(r), sorted({p[\"origin\"] for p in r}), "
        "sorted({p[\"sex\"] for p in r}), all(p[\"last\"] in p[\"full\"] for p in r))'");
    EXPECT_EQ(builtIn.out, "300 ['ja', 'ru'] ['female', 'male'] True\n")
        << builtIn.err.toStdString();
    const Outcome one = shell(
        "\"$Q\" generate --origin de --part last --format jsonl -n 2 | python3 -c 'import "
        "json,sys; print([sorted(json.loads(l)) for l in sys.stdin])'");
    EXPECT_EQ(one.out, "[['last', 'origin', 'sex'], ['last', 'origin', 'sex']]\n");
    // Quotes, backslashes and control characters escaped; the User List has
    // no sexes or origins.
    setUserList({"Say \"hi\"", "Back\\slash", "Bell\x07", "Zoë"}, {"Ørsted"});
    const Outcome user = shell(
        "\"$Q\" generate --list user --format json -n 400 | python3 -c 'import json,sys; "
        "r=json.load(sys.stdin); print(len(r), sorted({p[\"first\"] for p in r}), "
        "{p[\"sex\"] for p in r}, {p[\"origin\"] for p in r})'");
    EXPECT_EQ(user.out, "400 ['Back\\\\slash', 'Bell\\x07', 'Say\"hi\"', 'Zoë'] {None} {None}\n")
        << user.err.toStdString();
}

TEST_F(Origins, SeedGivesTheSameNamesUnderEveryLocale) {
    const QString seeded = "generate -n 3000 --origin de,ru,ja,zh-CN,sv --seed 77";
    const Outcome outcome = shell("LC_ALL=C \"$Q\" " + seeded + "; LC_ALL=de_DE.UTF-8 \"$Q\" " +
                                  seeded + "; LC_ALL= LANG=sv_SE.UTF-8 \"$Q\" " + seeded);
    const QStringList rows = lines(outcome.out);
    ASSERT_EQ(rows.size(), 9000);
    EXPECT_EQ(rows.mid(0, 3000), rows.mid(3000, 3000));
    EXPECT_EQ(rows.mid(0, 3000), rows.mid(6000, 3000));
    EXPECT_NE(run({"generate", "-n", "3000", "--origin", "de,ru", "--seed", "78"}).out,
              run({"generate", "-n", "3000", "--origin", "de,ru", "--seed", "77"}).out);
}

TEST_F(Origins, OriginsListsEveryOriginWithItsCounts) {
    const QJsonArray origins =
        QJsonDocument::fromJson(run({"origins", "--format", "json"}).out).array();
    ASSERT_GE(origins.size(), 40);
    QSet<QString> tags;
    for (const QJsonValue& value : origins) {
        const QJsonObject origin = value.toObject();
        const QString tag = origin["tag"].toString();
        tags << tag;
        const bool gendered = origin["gendered_surnames"].toBool();
        EXPECT_EQ(gendered, !dataList(tag, "last_female").isEmpty()) << tag.toStdString();
        EXPECT_GE(origin[gendered ? "last_female" : "last"].toInt(), 20) << tag.toStdString();
        EXPECT_GE(origin["male"].toInt(), 30) << tag.toStdString();
    }
    EXPECT_TRUE(tags.contains("ru") && tags.contains("zh-CN") && tags.contains("en-US"));
    const QStringList text = lines(run({"origins"}).out);
    EXPECT_EQ(text.size(), origins.size());
    EXPECT_TRUE(text.filter(QRegularExpression("^ru +Russian +male \\d+, female \\d+, unisex \\d+, "
                                               "last \\d+ male \\+ \\d+ female forms"))
                    .size() == 1)
        << text.join('\n').toStdString();
    const QStringList csv = lines(run({"origins", "--format", "csv"}).out);
    EXPECT_EQ(csv.first(),
              "tag,name,male,female,unisex,last,last_male,last_female,gendered_surnames,"
              "frequencies,decades");
    EXPECT_EQ(csv.size(), origins.size() + 1);
}

// Every name of each origin once, and not one more; an origin whose names
// run out leaves the draw even with the larger share.
TEST_F(Origins, UniqueCountsPerOriginAndEndsWhenAnOriginRunsOut) {
    const auto possible = [&](const QStringList& arguments) {
        const Outcome refused =
            run(QStringList{"generate", "--unique", "-n", "2000000000"} + arguments);
        EXPECT_EQ(refused.status, 1);
        return QString::fromUtf8(refused.err)
            .section("only ", 1)
            .section(' ', 0, 0)
            .remove(',')
            .toInt();
    };
    const int af = possible({"--origin", "af", "--part", "last"});
    const int both = possible({"--origin", "af:99,da:1", "--part", "last"});
    ASSERT_GT(af, 100);
    ASSERT_GT(both, af);
    const Outcome all = run({"generate", "--unique", "--origin", "af:99,da:1", "--part", "last",
                             "--format", "csv", "-n", QString::number(both)});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    const QStringList rows = lines(all.out).mid(1);
    EXPECT_EQ(setOf(rows).size(), both);
    EXPECT_EQ(rows.filter(",af").size(), af);
    expectError(run({"generate", "--unique", "--origin", "af:99,da:1", "--part", "last", "-n",
                     QString::number(both + 1)}),
                1, QStringLiteral("only %1 last names").arg(both));
    // Full names: a woman's and a man's surname form make different names.
    const int ru = possible({"--origin", "ru", "--gender", "female"});
    EXPECT_EQ(ru, dataList("ru", "female").size() * dataList("ru", "last_female").size());
}

// The main window shows en-US's lists in a new database; --origin en-US shows the same.
TEST_F(Origins, NamesOfAnOriginAreTheListViewsOfThatOrigin) {
    for (const QStringList& which : {QStringList{"first"},
                                     {"last"},
                                     {"first", "--gender", "male"},
                                     {"first", "--gender", "female"}}) {
        const Outcome shown = run(QStringList{"names"} + which);
        ASSERT_EQ(shown.status, 0);
        EXPECT_EQ(run(QStringList{"names", "--origin", "en-US"} + which).out, shown.out)
            << which.join(' ').toStdString();
    }
    const QStringList unisex =
        lines(run({"names", "first", "--origin", "de", "--gender", "unisex"}).out);
    EXPECT_FALSE(unisex.isEmpty());
    for (const QString& name : unisex) EXPECT_TRUE(dataList("de", "unisex").contains(key(name)));
}

INSTANTIATE_TEST_SUITE_P(
    Origins, UsageErrors,
    ::testing::Values(
        UsageCase{"UnknownOrigin", {"generate", "--origin", "xx-YY"}, "unknown origin 'xx-YY'"},
        UsageCase{"NotATag", {"generate", "--origin", "d e!"}, "is not an origin tag"},
        UsageCase{"ShareText", {"generate", "--origin", "de:ten,fr:5"}, "is not a number"},
        UsageCase{"ShareZero", {"generate", "--origin", "de:0,fr:5"}, "above zero"},
        UsageCase{"ShareOnSome", {"generate", "--origin", "de:60,fr"}, "every origin or to none"},
        UsageCase{"Twice", {"generate", "--origin", "de,DE"}, "given twice"},
        UsageCase{"Empty", {"generate", "--origin", ""}, "no origin given"},
        UsageCase{"NoUnisexNames",
                  {"generate", "--origin", "af", "--gender", "unisex"},
                  "has no unisex first names"},
        UsageCase{"OriginOfUserList",
                  {"generate", "--list", "user", "--origin", "de"},
                  "built-in list only"},
        UsageCase{"MixOfUserList", {"generate", "--list", "user", "--mix"}, "built-in list only"},
        UsageCase{
            "LatinOfUserList", {"generate", "--list", "user", "--latin"}, "built-in list only"},
        UsageCase{"UniqueMix", {"generate", "--unique", "--mix"}, "does not go with --mix"},
        UsageCase{"NamesUnknownOrigin", {"names", "last", "--origin", "qq"}, "unknown origin"},
        UsageCase{
            "NamesUnisexWithoutOrigin", {"names", "first", "--gender", "unisex"}, "needs --origin"},
        UsageCase{"OriginsFormat", {"origins", "--format", "xlsx"}, "text, csv or json"}));

}  // namespace
