// The main window's draws as the keys Weighted, Born and Invent ask for them,
// over the built names.mdb, and the one report at start-up of a stored value
// that cannot be read.
#include <algorithm>
#include <map>
#include <string>

#include <QHash>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "generate/generation.h"
#include "names/birth_store.h"
#include "names/name_list_model.h"
#include "names/origin_data.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/settings.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "support/form1_fixture.h"

namespace {

namespace keys = platform::keys;
using names::OriginList;

class Form1Draws : public testsupport::Form1Fixture {
protected:
    Form1Draws() : Form1Fixture(builtDatabase()) {}

    void startWith(const std::map<const char*, QString>& stored) {
        form.reset();
        for (const auto& [key, text] : stored) store->writeText({key, nullptr}, text);
        start();
    }
    QStringList generate(QRadioButton* part, int count, std::uint64_t seed = 7) {
        part->click();
        form->random().seed(seed);
        form->Text1->setText(QString::number(count));
        form->PushButton1_Click();
        const results::ResultList& list = form->resultsWindow().results();
        QStringList rows;
        for (int i = 0; i < list.count(); ++i) rows << list.text(i);
        return rows;
    }
    names::OriginEntry storedOrigin(const QString& tag) const {
        platform::Database database;
        database.open(db->path());
        names::OriginEntry entry = names::originForDrawing(database, tag);
        names::loadDistributions(database, entry);
        return entry;
    }
    names::BirthTable storedBirths(const QString& tag) const {
        platform::Database database;
        database.open(db->path());
        return names::storedBirths(database, tag);
    }
};

QString mostCommon(const QStringList& rows, double* share = nullptr) {
    QHash<QString, int> counts;
    for (const QString& row : rows) ++counts[row];
    const auto top = std::max_element(counts.begin(), counts.end());
    if (share) *share = static_cast<double>(*top) / rows.size();
    return top.key();
}

TEST_F(Form1Draws, WeightedDrawsFamilyNamesAsCommonAsInLife) {
    const names::OriginEntry usa = storedOrigin("en-US");
    const QList<names::ListedName>& census = usa.weightedList(OriginList::Last);
    double total = 0;
    const names::ListedName* top = &census.front();
    for (const names::ListedName& listed : census) {
        total += listed.weight;
        if (listed.weight > top->weight) top = &listed;
    }
    const double censusShare = top->weight / total;
    const struct {
        QString weighted;
        bool asInLife;
    } cases[] = {{"True", true}, {"False", false}, {"1", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.weighted.toStdString());
        startWith({{"Origin", "en-US"}, {keys::Weighted.name, c.weighted}});
        const QStringList rows = generate(form->Option6, 40000);
        ASSERT_EQ(rows.size(), 40000);
        const int count =
            static_cast<int>(rows.count(QString::fromUtf8(generate::shownName(top->name))));
        if (c.asInLife)
            EXPECT_NEAR(count / 40000.0, censusShare, censusShare * 0.15);
        else
            EXPECT_LT(count / 40000.0, censusShare / 4);
        EXPECT_TRUE(dialogs.messages().isEmpty());
    }
}

TEST_F(Form1Draws, BornDrawsFirstNamesGivenInThoseDecades) {
    const names::BirthTable births = storedBirths("en-US");
    ASSERT_FALSE(births.empty());
    const struct {
        QString born;
        int firstDecade;
        int lastDecade;
    } cases[] = {{"1950s", 1950, 1950}, {"1975", 1970, 1970}, {"2000s-2010s", 2000, 2010}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.born.toStdString());
        // Women's names with births in the decades, and the most given one.
        QHash<QString, double> given;
        for (const names::BirthTable::Row& row : births.rows) {
            if (!row.female) continue;
            double sum = 0;
            for (qsizetype d = 0; d < births.decades.size(); ++d)
                if (births.decades[d] >= c.firstDecade && births.decades[d] <= c.lastDecade)
                    sum += births.birthsOf(row, d);
            if (sum > 0)
                given[QString::fromUtf8(
                    generate::shownName(QString::fromUtf8(births.nameOf(row))))] = sum;
        }
        const QString mostGiven = std::max_element(given.begin(), given.end()).key();
        startWith({{"Origin", "en-US"}, {keys::Born.name, c.born}});
        form->Option3->click();
        const QStringList rows = generate(form->Option5, 20000);
        ASSERT_EQ(rows.size(), 20000);
        for (const QString& row : rows) ASSERT_TRUE(given.contains(row)) << row.toStdString();
        EXPECT_EQ(mostCommon(rows), mostGiven);
        EXPECT_TRUE(dialogs.messages().isEmpty());
    }
}

QSet<QString> foldedShown(const QStringList& names) {
    QSet<QString> set;
    for (const QString& name : names)
        set.insert(QString::fromUtf8(generate::shownName(name)).toCaseFolded());
    return set;
}

TEST_F(Form1Draws, InventedNamesAreNeverOnesOfTheListsAndKeepTheRowsParts) {
    const QStringList userFirst{"Aldric", "Berenwyn", "Caelith", "Dorian", "Elowen",
                                "Faelan", "Galadin",  "Halwen",  "Isolde", "Jareth"};
    const QStringList userLast{"Ashdown",  "Blackmere", "Coldwater", "Dunmore",  "Eastbrook",
                               "Fairholm", "Greystone", "Hollowell", "Ironwood", "Jadewick"};
    for (const QString& name : userFirst) db->insert("user_firstname", name);
    for (const QString& name : userLast) db->insert("user_lastname", name);
    const struct {
        bool userList;
        QString origins;
    } cases[] = {{true, "en-US"}, {false, "en-US"}, {false, "de:50,ru:50"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.origins.toStdString() + (c.userList ? " user" : ""));
        if (c.userList) chooseUserList();
        startWith({{"Origin", c.origins}, {keys::Invent.name, "True"}});
        const QSet<QString> first = foldedShown(firstShown());
        const QSet<QString> last = foldedShown(lastShown());
        const QStringList rows = generate(form->Option4, 300);
        ASSERT_EQ(rows.size(), 300) << dialogs.messages().join('\n').toStdString();
        const results::ResultList& list = form->resultsWindow().results();
        for (int i = 0; i < list.count(); ++i) {
            const results::ResultList::TwoCells cells = list.twoCells(i);
            EXPECT_FALSE(first.contains(QString::fromUtf8(cells.first).toCaseFolded()));
            EXPECT_FALSE(last.contains(QString::fromUtf8(cells.second).toCaseFolded()));
            EXPECT_TRUE(cells.hasSecond) << rows[i].toStdString();
        }
        for (QRadioButton* part : {form->Option5, form->Option6}) {
            const QSet<QString>& training = part == form->Option5 ? first : last;
            for (const QString& row : generate(part, 200)) {
                EXPECT_FALSE(row.isEmpty());
                EXPECT_FALSE(training.contains(row.toCaseFolded())) << row.toStdString();
            }
        }
        // The same seed invents the same names.
        EXPECT_EQ(generate(form->Option4, 50, 11), generate(form->Option4, 50, 11));
        EXPECT_TRUE(dialogs.messages().isEmpty());
        settings.settings.writeOption(keys::BuiltInList, true);
        settings.settings.writeOption(keys::UserList, false);
    }
}

TEST_F(Form1Draws, InventingFromTooFewNamesSaysSoOnceAndAddsNoRows) {
    chooseUserList();
    db->insert("user_firstname", "Aldric");
    db->insert("user_lastname", "Ashdown");
    startWith({{keys::Invent.name, "True"}});
    dialogs.expectMessageBox();
    EXPECT_TRUE(generate(form->Option4, 20).isEmpty());
    EXPECT_EQ(reportedAt(), QStringList{"Form1.PushButton1_Click 172"});
}

// A stored value that cannot be read: one report at its own statement, the
// run then draws as by the key's default, and the stored text stays.
TEST_F(Form1Draws, AnUnreadableKeyIsReportedOnceAtStartUpAndCountsAsItsDefault) {
    startWith({{"Origin", "en-US"}});
    const QStringList byDefault = generate(form->Option4, 200);
    const struct {
        const char* origin;
        const char* key;
        QString text;
        int statement;
    } cases[] = {{"en-US", keys::Weighted.name, "maybe", 160},
                 {"en-US", keys::Born.name, "1955s", 162},
                 {"en-US", keys::Born.name, "1850s", 162},
                 {"de", keys::Born.name, "1950s", 162},
                 {"en-US", keys::Invent.name, "yes please", 164}};
    std::size_t said = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.text.toStdString());
        testsupport::TempSettings fresh;
        store = &fresh.settings;
        dialogs.expectMessageBox();
        startWith({{"Origin", c.origin}, {c.key, c.text}});
        ASSERT_EQ(reports().size(), ++said);
        EXPECT_EQ(reportedAt().back(), "Form1.Form_Load " + QString::number(c.statement));
        EXPECT_TRUE(reports().back().description.contains('"' + c.text + '"'));
        dialogs.verifyAllShown();
        if (QString(c.origin) == "en-US") {
            EXPECT_EQ(generate(form->Option4, 200), byDefault);
        }
        EXPECT_EQ(fresh.settings.readText({c.key, nullptr}), c.text);
        EXPECT_EQ(reports().size(), said);
        form.reset();
    }
}

}  // namespace
