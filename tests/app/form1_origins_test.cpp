// The main window over the built names.mdb with its origins: the Origin key
// and its default, the built-in list of the current origins, whole persons
// drawn per row, and the user's edits kept per origin.
#include <memory>
#include <vector>

#include <QHash>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "generate/generation.h"
#include "names/name_list_model.h"
#include "names/origin_data.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/settings.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "support/form1_fixture.h"
#include "support/scoped_locale.h"

namespace {

namespace keys = platform::keys;
using names::OriginList;

const names::OriginEntry& originData(const QString& tag) {
    static const QList<names::OriginEntry> all =
        names::readOriginFolder(QStringLiteral(QF_DATA_DIR "/origins"));
    for (const names::OriginEntry& entry : all)
        if (entry.origin.tag == tag) return entry;
    ADD_FAILURE() << "no origin " << tag.toStdString();
    return all.front();
}

QSet<QString> setOf(const QStringList& names) {
    return QSet<QString>(names.begin(), names.end());
}

// Names as rows show them.
QSet<QString> shownSet(const QStringList& names) {
    QSet<QString> set;
    for (const QString& name : names) set.insert(QString::fromUtf8(generate::shownName(name)));
    return set;
}
QStringList lastOf(const QStringList& tags) {
    QStringList names;
    for (const QString& tag : tags) names += names::lastTableNames(originData(tag));
    return names;
}
QStringList firstOf(const QStringList& tags) {
    QStringList names;
    for (const QString& tag : tags)
        names += names::maleTableNames(originData(tag)) + names::femaleTableNames(originData(tag));
    return names;
}

class Form1Origins : public testsupport::Form1Fixture {
protected:
    Form1Origins() : Form1Fixture(builtDatabase()) {}
    void TearDown() override { locale.reset(); }

    void startIn(const QLocale& chosen, const QString& key = QString()) {
        locale.reset();
        locale = std::make_unique<testsupport::ScopedLocale>(chosen);
        if (!key.isNull()) store->writeText(keys::Origin, key);
        form.reset();
        start();
    }
    QStringList shownOrigins() const {
        platform::Database database;
        database.open(db->path());
        return names::shownOrigins(database);
    }
    QSet<QString> storedFirst() const { return setOf(form->firstNames().storedNames()); }
    QSet<QString> storedLast() const { return setOf(form->lastNames().storedNames()); }
    QStringList generate(const QString& count) {
        form->Text1->setText(count);
        form->PushButton1_Click();
        QStringList rows;
        const results::ResultList& list = form->resultsWindow().results();
        for (int i = 0; i < list.count(); ++i) rows << list.text(i);
        return rows;
    }

    std::unique_ptr<testsupport::ScopedLocale> locale;
    const QLocale german{QLocale::German, QLocale::Germany};
};

TEST_F(Form1Origins, TheDefaultOriginComesFromTheLocaleAndIsStoredOnFirstStart) {
    const struct {
        QLocale locale;
        QString origin;
    } cases[] = {{{QLocale::German, QLocale::Germany}, "de"},
                 {{QLocale::Portuguese, QLocale::Brazil}, "pt-BR"},
                 {{QLocale::Swahili, QLocale::Kenya}, "en-US"},
                 {QLocale::c(), "en-US"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        testsupport::TempSettings fresh;
        store = &fresh.settings;
        startIn(c.locale);
        EXPECT_EQ(fresh.settings.readText(keys::Origin, "none"), c.origin);
        EXPECT_EQ(shownOrigins(), QStringList{c.origin});
        EXPECT_EQ(storedLast(), setOf(lastOf({c.origin})));
        EXPECT_EQ(storedFirst().size(), firstShown().size());
        EXPECT_TRUE(storedFirst().subtract(setOf(firstOf({c.origin}))).isEmpty());
        EXPECT_TRUE(dialogs.messages().isEmpty());
        form.reset();
    }
}

TEST_F(Form1Origins, AStoredKeyChoosesTheOriginsShownAndStaysAsWritten) {
    const struct {
        QString key;
        QStringList origins;
    } cases[] = {{"ja", {"ja"}}, {"de:50,ja:50", {"de", "ja"}}, {"en_us", {"en-US"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        startIn(german, c.key);
        EXPECT_EQ(shownOrigins(), c.origins);
        EXPECT_EQ(storedLast(), setOf(lastOf(c.origins)));
        EXPECT_EQ(lastShown().size(), lastOf(c.origins).size());
        EXPECT_TRUE(storedFirst().subtract(setOf(firstOf(c.origins))).isEmpty());
        EXPECT_EQ(stored("Origin"), c.key);
        EXPECT_TRUE(dialogs.messages().isEmpty());
    }
}

// Which origin a full-name row is of, when its two names are both of it.
class RowOrigins {
public:
    explicit RowOrigins(const QStringList& tags) {
        for (const QString& tag : tags)
            origins_.push_back({tag, originData(tag).origin.familyFirst, shownSet(firstOf({tag})),
                                shownSet(lastOf({tag}))});
    }
    QString of(const QString& row) const {
        const QStringList parts = row.split(' ');
        if (parts.size() != 2) return {};
        for (const Origin& origin : origins_) {
            if (origin.firstNames.contains(parts[origin.familyFirst ? 1 : 0]) &&
                origin.lastNames.contains(parts[origin.familyFirst ? 0 : 1]))
                return origin.tag;
        }
        return {};
    }

private:
    struct Origin {
        QString tag;
        bool familyFirst;
        QSet<QString> firstNames;
        QSet<QString> lastNames;
    };
    std::vector<Origin> origins_;
};

TEST_F(Form1Origins, RowsOfTwoOriginsPairNamesOfOneOriginByTheShares) {
    startIn(german, "de:75,ja:25");
    form->random().seed(99);
    const QStringList rows = generate("4000");
    ASSERT_EQ(rows.size(), 4000);
    const RowOrigins origins({"de", "ja"});
    QHash<QString, int> counts;
    for (const QString& row : rows) {
        const QString origin = origins.of(row);
        ASSERT_FALSE(origin.isEmpty()) << row.toStdString();
        ++counts[origin];
    }
    EXPECT_NEAR(counts["de"] / 4000.0, 0.75, 0.03);

    // A window seeded alike repeats the rows; the next run goes on from there.
    const QStringList next = generate("4000");
    EXPECT_NE(next, rows);
    form->random().seed(99);
    EXPECT_EQ(generate("4000"), rows);
}

// One origin alone whose names read family name first: its rows too.
TEST_F(Form1Origins, RowsOfOneFamilyFirstOriginAreInItsOrder) {
    for (const QString tag : {"ja", "hu"}) {
        SCOPED_TRACE(tag.toStdString());
        startIn(german, tag);
        const RowOrigins origins({tag});
        for (const QString& row : generate("200"))
            EXPECT_EQ(origins.of(row), tag) << row.toStdString();
    }
}

TEST_F(Form1Origins, NoPersonOfAGenderedOriginHasTheOtherSexsSurnameForm) {
    for (const QString tag : {"ru", "cs"}) {
        SCOPED_TRACE(tag.toStdString());
        startIn(german, tag);
        const names::OriginEntry& entry = originData(tag);
        const QSet<QString> femaleForms = shownSet(namesOf(entry[OriginList::LastFemale]));
        const QSet<QString> maleForms = shownSet(namesOf(entry[OriginList::LastMale]));
        const QSet<QString> femaleOnly = shownSet(names::femaleTableNames(entry))
                                             .subtract(shownSet(names::maleTableNames(entry)));
        const QSet<QString> maleOnly = shownSet(names::maleTableNames(entry))
                                           .subtract(shownSet(names::femaleTableNames(entry)));
        const struct {
            QRadioButton* gender;
            QStringList firstNames;  // every row's first name is one of these
            const QSet<QString>& surnames;
        } cases[] = {{form->Option3, names::femaleTableNames(entry), femaleForms},
                     {form->Option2, names::maleTableNames(entry), maleForms}};
        for (const auto& c : cases) {
            c.gender->click();
            const QSet<QString> firstNames = shownSet(c.firstNames);
            for (const QString& row : generate("500")) {
                const QStringList parts = row.split(' ');
                ASSERT_EQ(parts.size(), 2) << row.toStdString();
                EXPECT_TRUE(firstNames.contains(parts[0])) << row.toStdString();
                EXPECT_TRUE(c.surnames.contains(parts[1])) << row.toStdString();
            }
        }
        form->Option1->click();
        int women = 0;
        for (const QString& row : generate("1000")) {
            const QStringList parts = row.split(' ');
            if (femaleOnly.contains(parts[0])) {
                ++women;
                EXPECT_TRUE(femaleForms.contains(parts[1])) << row.toStdString();
            } else if (maleOnly.contains(parts[0])) {
                EXPECT_TRUE(maleForms.contains(parts[1])) << row.toStdString();
            }
        }
        EXPECT_NEAR(women, 500, 80);
    }
}

TEST_F(Form1Origins, TheFirstRunAfterASwitchDrawsTheNewOriginsOnly) {
    startIn(german, "de,ja");
    form->waitForPreparedDraw();  // the draw made at start-up, for de and ja
    form->originsChosen(generate::OriginMix{{"cs", "ru"}, {}});
    form->waitForPreparedDraw();
    EXPECT_EQ(store->readText(keys::Origin), "cs,ru");
    const QSet<QString> surnames = shownSet(lastOf({"cs", "ru"}));
    for (const QString& row : generate("300"))
        EXPECT_TRUE(surnames.contains(row.split(' ').last())) << row.toStdString();
}

// Drops every entry of a list view but those whose stored names are kept:
// the first one by a double-click, as the user does.
void keepOnly(app::Form1& form, QTreeView* view, names::NameListModel& list,
              const QSet<QString>& kept) {
    for (int row = list.count() - 1; row >= 0; --row) {
        if (kept.contains(list.storedName(row))) continue;
        view->setCurrentIndex(view->model()->index(row, 0));
        if (view == form.ListView1)
            form.ListView1_DblClick();
        else
            form.ListView2_DblClick();
    }
}

TEST_F(Form1Origins, NamesDroppedFromTheViewsAreNeverDrawn) {
    startIn(german, "de,ja");
    const auto femaleOnly = [](const QString& tag) {
        const names::OriginEntry& entry = originData(tag);
        for (const QString& name : names::femaleTableNames(entry))
            if (!names::maleTableNames(entry).contains(name)) return name;
        return QString();
    };
    const QSet<QString> keptFirst{femaleOnly("de"), originData("de")[OriginList::Male][0].name,
                                  femaleOnly("ja"), originData("ja")[OriginList::Male][0].name};
    const QSet<QString> keptLast{originData("de")[OriginList::Last][0].name,
                                 originData("ja")[OriginList::Last][0].name};
    keepOnly(*form, form->ListView1, form->firstNames(), keptFirst);
    keepOnly(*form, form->ListView2, form->lastNames(), keptLast);
    ASSERT_EQ(storedFirst(), keptFirst);
    form->Option5->click();
    EXPECT_EQ(setOf(generate("400")), shownSet(keptFirst.values()));
    form->Option6->click();
    EXPECT_EQ(setOf(generate("400")), shownSet(keptLast.values()));

    // With no name left to draw, the run says so once and adds no rows.
    keepOnly(*form, form->ListView2, form->lastNames(), {});
    dialogs.expectMessageBox();
    EXPECT_TRUE(generate("50").isEmpty());
    EXPECT_EQ(reportedAt(), QStringList{"Form1.PushButton1_Click 172"});
}

TEST_F(Form1Origins, EditsOfTheBuiltInListComeBackWithTheirOrigin) {
    startIn(german, "de");
    dialogs.answerInputBox("Quendolyn");
    form->PushButton2->click();
    dialogs.answerOpenFiles({writeFile("last.txt", "Zorbenthal\r\n")});
    form->PushButton7->click();
    const QString deleted = form->lastNames().storedName(0);
    select(form->ListView2, 0);
    form->PushButton3->click();
    const auto expectEdits = [&](bool shown) {
        EXPECT_EQ(firstShown().contains("Quendolyn"), shown);
        EXPECT_EQ(lastShown().contains("Zorbenthal"), shown);
        EXPECT_FALSE(storedLast().contains(deleted));
    };
    expectEdits(true);

    store->writeText(keys::Origin, "ja");
    startIn(german);
    expectEdits(false);
    store->writeText(keys::Origin, "ja:50,de:50");
    startIn(german);
    expectEdits(true);
    store->writeText(keys::Origin, "de");
    startIn(german);
    expectEdits(true);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

}  // namespace
