// Weighted and born draws on the command line: shares against the sources'
// own files, the unisex rule, origins without frequencies, refusals, seeds.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "names/birth_table.h"
#include "program_run.h"
#include "support/qt_printers.h"

namespace {

using namespace clitest;

QByteArray dataFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The census file's frequency of each surname, as its ProperCase text.
QHash<QString, double> censusSurnames(double& total) {
    QHash<QString, double> frequency;
    total = 0;
    const QByteArray text =
        dataFile(QStringLiteral(QF_SHARED_DATA_DIR "/census-1990/dist.all.last"));
    for (const QString& line : QString::fromLatin1(text).split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        const QString name = fields[0].left(1) + fields[0].mid(1).toLower();
        frequency[name] = fields[1].toDouble();
        total += fields[1].toDouble();
    }
    return frequency;
}

// Births by name and sex over some decades, from the committed table.
struct Births {
    double female = 0;
    double male = 0;
};
QHash<QString, Births> birthsOver(int first, int last) {
    static const names::BirthTable table = names::readBirthTable(
        dataFile(QStringLiteral(QF_SOURCE_DIR "/data/origins/en-US/births_by_decade.tsv.gz")),
        QStringLiteral("en-US births"));
    QHash<QString, Births> births;
    for (const names::BirthTable::Row& row : table.rows) {
        Births& b = births[QString::fromStdString(std::string(table.nameOf(row)))];
        for (qsizetype c = 0; c < table.decades.size(); ++c)
            if (table.decades[c] >= first && table.decades[c] <= last)
                (row.female ? b.female : b.male) += table.birthsOf(row, c);
    }
    return births;
}

// The unisex rule as the README documents it.
bool unisexByTheRule(const Births& b) {
    const double all = b.female + b.male;
    return all >= 1000 && b.female * 3 >= all && b.male * 3 >= all;
}

QHash<QString, int> counted(const Outcome& outcome) {
    QHash<QString, int> count;
    for (const QString& line : lines(outcome.out)) ++count[line];
    return count;
}

class Weighted : public CommandLine {
protected:
    QHash<QString, int> drawn(const QStringList& arguments) {
        const Outcome outcome = run(QStringList{"generate"} + arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
        return counted(outcome);
    }
};

TEST_F(Weighted, LastNamesComeAtTheirCensusShares) {
    double total = 0;
    const QHash<QString, double> census = censusSurnames(total);
    ASSERT_GT(total, 0);
    const int rows = 1'000'000;
    const QHash<QString, int> count =
        drawn({"--weighted", "--part", "last", "-n", QString::number(rows), "--seed", "21"});
    for (const char* name : {"Smith", "Johnson"}) {
        const double expected = census[name] / total * rows;
        EXPECT_NEAR(count[name], expected, 0.1 * expected) << name;
    }
}

TEST_F(Weighted, WomenBornInThe1950sAreMaryAndLindaAtTheirShares) {
    double allFemale = 0;
    const QHash<QString, Births> births = birthsOver(1950, 1950);
    for (const Births& b : births)
        if (!unisexByTheRule(b)) allFemale += b.female;
    const int rows = 1'000'000;
    const QHash<QString, int> count = drawn({"--born", "1950s", "--gender", "female", "--weighted",
                                             "--part", "first", "-n", QString::number(rows)});
    for (const char* name : {"Mary", "Linda"}) {
        const double expected = births[name].female / allFemale * rows;
        EXPECT_NEAR(count[name], expected, 0.1 * expected) << name;
    }
}

// Noah leads Liam by about 5% of births: 4,000,000 rows tell them apart by
// more than four standard deviations.
TEST_F(Weighted, MenBornInThe2010sAreMostOftenNoahHoweverTheDecadeIsWritten) {
    const QHash<QString, int> count =
        drawn({"--born", "2010s", "--gender", "male", "--part", "first", "-n", "4000000"});
    const auto top = std::max_element(count.begin(), count.end());
    EXPECT_EQ(top.key(), "Noah");
    for (const char* same : {"2015", "2010s-2010s", "2010-2019"})
        EXPECT_EQ(run({"generate", "--born", same, "-n", "500", "--seed", "8"}).out,
                  run({"generate", "--born", "2010s", "-n", "500", "--seed", "8"}).out)
            << same;
}

// A unisex name holds the rule over the chosen decades, a woman's or man's does not.
TEST_F(Weighted, UnisexNamesFollowTheRuleOverTheChosenDecades) {
    struct Case {
        QString decades;
        int first, last;
    };
    for (const Case& c : {Case{"1950s", 1950, 1950}, Case{"1980s-2000s", 1980, 2000}}) {
        const QHash<QString, Births> births = birthsOver(c.first, c.last);
        for (const char* gender : {"unisex", "female", "male"}) {
            const QHash<QString, int> count =
                drawn({"--born", c.decades, "--gender", gender, "--part", "first", "-n", "20000"});
            ASSERT_GT(count.size(), 20) << gender;
            for (auto it = count.begin(); it != count.end(); ++it) {
                ASSERT_TRUE(births.contains(it.key())) << it.key().toStdString();
                EXPECT_EQ(unisexByTheRule(births[it.key()]), gender == QLatin1String("unisex"))
                    << c.decades.toStdString() << " " << gender << " " << it.key().toStdString();
            }
        }
    }
}

// An origin without frequencies draws as without --weighted and is named on
// standard error; one with them is not.
TEST_F(Weighted, OriginsWithoutFrequenciesDrawUniformlyAndAreNamed) {
    struct Case {
        QStringList arguments;
        QString note;  // empty: none
        bool sameAsUniform;
    };
    const QList<Case> cases{
        {{"--origin", "de"}, "equal odds: the names of de (", true},
        {{"--origin", "de", "--part", "last"}, "equal odds: the last names of de (", true},
        {{"--origin", "en-GB"}, "equal odds: the first names of en-GB (", false},
        {{"--origin", "en-GB", "--part", "last"}, "", false},
        {{"--origin", "en-US"}, "", false},
        {{"--origin", "en-US:50,de:10,fr:5,it:5,es:5,sv:5,fi:5,pl:5,nl:5,pt-BR:5", "--mix"},
         "the names of de, fr, it, es, pl, nl, pt-BR (",
         false},
    };
    for (const Case& c : cases) {
        const QStringList common = c.arguments + QStringList{"-n", "3000", "--seed", "4"};
        const Outcome weighted = run(QStringList{"generate", "--weighted"} + common);
        const Outcome uniform = run(QStringList{"generate"} + common);
        const std::string what = c.arguments.join(' ').toStdString();
        ASSERT_EQ(weighted.status, 0) << what << weighted.err.toStdString();
        EXPECT_EQ(lines(weighted.out).size(), 3000) << what;
        EXPECT_EQ(weighted.out == uniform.out, c.sameAsUniform) << what;
        EXPECT_TRUE(uniform.err.isEmpty()) << what;
        if (c.note.isEmpty())
            EXPECT_TRUE(weighted.err.isEmpty()) << what << weighted.err.toStdString();
        else
            EXPECT_TRUE(weighted.err.contains(c.note.toUtf8()) && weighted.err.count('\n') == 1)
                << what << weighted.err.toStdString();
    }
}

// Each format, --unique and --mix take the same weighted draw.
TEST_F(Weighted, EveryFormatUniqueAndMixDrawTheSameWay) {
    const QStringList draw{"--weighted", "--born", "1960s-1980s", "-n", "2000", "--seed", "5"};
    const QStringList text = lines(run(QStringList{"generate"} + draw).out);
    ASSERT_EQ(text.size(), 2000);
    EXPECT_EQ(lines(run(QStringList{"generate"} + draw).out), text);
    EXPECT_NE(
        run({"generate", "--weighted", "--born", "1960s-1980s", "-n", "2000", "--seed", "6"}).out,
        run(QStringList{"generate"} + draw).out);
    const QJsonArray json =
        QJsonDocument::fromJson(run(QStringList{"generate", "--format", "json"} + draw).out)
            .array();
    ASSERT_EQ(json.size(), text.size());
    const QStringList csv = lines(run(QStringList{"generate", "--format", "csv"} + draw).out);
    ASSERT_EQ(csv.size(), text.size() + 1);
    for (qsizetype i = 0; i < text.size(); i += 37) {
        const QJsonObject person = json[i].toObject();
        EXPECT_EQ(person["full"].toString(), text[i]);
        EXPECT_EQ(csv[i + 1].section(',', 0, 1),
                  person["first"].toString() + "," + person["last"].toString());
    }
    const Outcome unique =
        run({"generate", "--weighted", "--unique", "--part", "last", "-n", "15000", "--seed", "2"});
    ASSERT_EQ(unique.status, 0) << unique.err.toStdString();
    EXPECT_EQ(setOf(lines(unique.out)).size(), 15000);
    const Outcome mixed =
        run({"generate", "--weighted", "--born", "1990s", "--mix", "--origin", "en-US", "-n", "9"});
    EXPECT_EQ(mixed.status, 0) << mixed.err.toStdString();
    EXPECT_EQ(lines(mixed.out).size(), 9);
}

// Which origins carry frequencies and decades, by the files of data/origins.
TEST_F(Weighted, OriginsSayWhichCarryFrequenciesAndDecades) {
    const QJsonArray origins =
        QJsonDocument::fromJson(run({"origins", "--format", "json"}).out).array();
    ASSERT_GE(origins.size(), 40);
    int withFrequencies = 0;
    for (const QJsonValue& value : origins) {
        const QJsonObject origin = value.toObject();
        const QString tag = origin["tag"].toString();
        const QDir folder(QStringLiteral(QF_SOURCE_DIR "/data/origins/") + tag);
        bool weights = false;
        for (const QString& list : folder.entryList({"*.txt"}))
            weights = weights || dataFile(folder.filePath(list)).contains('\t');
        const bool decades = folder.exists("births_by_decade.tsv.gz");
        EXPECT_EQ(origin["frequencies"].toBool(), weights || decades) << tag.toStdString();
        EXPECT_EQ(origin["decades"].toBool(), decades) << tag.toStdString();
        withFrequencies += weights;
    }
    EXPECT_GE(withFrequencies, 2);
    const QStringList csv = lines(run({"origins", "--format", "csv"}).out);
    EXPECT_TRUE(csv.first().endsWith(",frequencies,decades"));
    EXPECT_EQ(csv.filter(QRegularExpression("^en-US,.*,yes,yes$")).size(), 1);
    const QStringList text = lines(run({"origins"}).out);
    EXPECT_EQ(text.filter(QRegularExpression("^en-US .*; frequencies, birth decades$")).size(), 1);
    EXPECT_EQ(text.filter(QRegularExpression("^de .*; no frequencies$")).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Born, UsageErrors,
    ::testing::Values(
        UsageCase{"OriginWithoutDecades",
                  {"generate", "--born", "1950s", "--origin", "en-US,de"},
                  "de (German) has no names by birth decade"},
        UsageCase{"NotADecade", {"generate", "--born", "fifties"}, "is not a birth decade"},
        UsageCase{"DecadeNotEndingInZero", {"generate", "--born", "1955s"}, "is not a decade"},
        UsageCase{"Backwards", {"generate", "--born", "1970s-1950s"}, "run backwards"},
        UsageCase{"BeforeTheData", {"generate", "--born", "1870s"}, "births for the 1880s"},
        UsageCase{"BornOfUserList",
                  {"generate", "--list", "user", "--born", "1950s"},
                  "built-in list only"},
        UsageCase{"WeightedOfUserList",
                  {"generate", "--list", "user", "--weighted"},
                  "built-in list only"},
        UsageCase{"BornInvented",
                  {"generate", "--invent", "--born", "1950s"},
                  "does not go with --invent"},
        UsageCase{"WeightedInvented",
                  {"generate", "--invent", "--weighted"},
                  "does not go with --invent"}));

}  // namespace
