// The origin chooser: its filter, ticking and shares, the drawing choices it
// stores, and the main window's origin button that opens it.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "app/origin_chooser.h"
#include "app/origin_rows.h"
#include "names/name_list_model.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/settings.h"
#include "support/form1_fixture.h"
#include "support/temp_settings.h"

namespace {

namespace keys = platform::keys;
using app::OriginChooser;
using app::OriginRow;

const QList<OriginRow> kRows{{"de", "German", 300, false, false},
                             {"en-US", "English (United States)", 900, true, true},
                             {"it", "Italian", 200, false, false},
                             {"es-MX", "Spanish (Mexico)", 400, true, false}};

QStringList tagsOf(const QList<OriginRow>& rows) {
    QStringList tags;
    for (const OriginRow& row : rows) tags << row.tag;
    return tags;
}

generate::OriginMix mix(std::vector<std::string> tags, std::vector<double> shares = {}) {
    return {std::move(tags), std::move(shares)};
}

TEST(OriginRows, TheFilterMatchesDisplayNamesAndTagsInAnyCase) {
    const struct {
        const char* typed;
        QStringList found;
    } cases[] = {{"ital", {"it"}},
                 {"ITAL", {"it"}},
                 {"en-us", {"en-US"}},
                 {"  mexico ", {"es-MX"}},
                 {"an", {"de", "it", "es-MX"}},
                 {"", tagsOf(kRows)},
                 {"klingon", {}}};
    for (const auto& c : cases) {
        QStringList found;
        for (const OriginRow& row : kRows)
            if (app::matchesFilter(row, QString::fromUtf8(c.typed))) found << row.tag;
        EXPECT_EQ(found, c.found) << c.typed;
    }
}

TEST(OriginRows, TheCaptionNamesOneOriginOrCountsThem) {
    const struct {
        QStringList chosen;
        const char* caption;
    } cases[] = {{{"it"}, "Italian"},
                 {{"en-US"}, "English (United States)"},
                 {{"de", "it", "es-MX"}, "3 origins"},
                 {tagsOf(kRows), "All origins"}};
    for (const auto& c : cases)
        EXPECT_EQ(app::originCaption(c.chosen, kRows), c.caption)
            << c.chosen.join(',').toStdString();
}

TEST(OriginRows, EqualSharesAreLeftOutOfTheMix) {
    EXPECT_EQ(app::mixOf({"de", "it"}, {2, 2}), mix({"de", "it"}));
    EXPECT_EQ(app::mixOf({"de", "it"}, {3, 1}), mix({"de", "it"}, {3, 1}));
    EXPECT_EQ(app::mixOf({"de"}, {5}), mix({"de"}));
}

TEST(OriginRows, TheBuiltDatabaseGivesEveryOriginWithItsCount) {
    platform::Database database;
    database.open(QStringLiteral(QF_PROGRAM_DIR "/names.mdb"));
    const QList<OriginRow> rows = app::readOriginRows(database);
    ASSERT_EQ(rows.size(), names::storedOrigins(database).size());
    for (const OriginRow& row : rows) {
        int names = 0;
        for (int count : names::storedCounts(database, row.tag)) names += count;
        EXPECT_EQ(row.names, names) << row.tag.toStdString();
        EXPECT_GT(row.names, 0) << row.tag.toStdString();
    }
    const auto english = std::find_if(rows.begin(), rows.end(),
                                      [](const OriginRow& row) { return row.tag == "en-US"; });
    ASSERT_NE(english, rows.end());
    EXPECT_TRUE(english->frequencies && english->decades);
}

class OriginChooserTest : public ::testing::Test {
protected:
    OriginChooserTest() {
        chooser.onChosen = [this](const generate::OriginMix& chosen) {
            reported.push_back(chosen);
        };
        chooser.showChoice(mix({"de"}));
    }
    QTreeWidgetItem* item(const QString& tag) {
        for (int i = 0; i < chooser.originList->topLevelItemCount(); ++i)
            if (chooser.originList->topLevelItem(i)->toolTip(OriginChooser::kNameColumn) == tag)
                return chooser.originList->topLevelItem(i);
        ADD_FAILURE() << "no row " << tag.toStdString();
        return chooser.originList->topLevelItem(0);
    }
    void tick(const QString& tag, bool on) {
        item(tag)->setCheckState(OriginChooser::kNameColumn, on ? Qt::Checked : Qt::Unchecked);
    }
    void setShare(const QString& tag, const QVariant& share) {
        item(tag)->setData(OriginChooser::kShareColumn, Qt::EditRole, share);
    }

    testsupport::TempSettings settings;
    OriginChooser chooser{kRows, settings.settings};
    std::vector<generate::OriginMix> reported;
};

TEST_F(OriginChooserTest, EachRowShowsItsOriginAndCountOfNames) {
    ASSERT_EQ(chooser.originList->topLevelItemCount(), kRows.size());
    EXPECT_EQ(item("it")->text(OriginChooser::kNameColumn), "Italian");
    EXPECT_EQ(item("it")->text(OriginChooser::kCountColumn), QLocale().toString(200));
    EXPECT_EQ(item("en-US")->text(OriginChooser::kCountColumn), QLocale().toString(900));
}

TEST_F(OriginChooserTest, TypingHidesTheOtherOriginsAndEnterChoosesTheFirstAlone) {
    QTest::keyClicks(chooser.filterBox, "ital");
    EXPECT_EQ(chooser.shownTags(), QStringList{"it"});
    EXPECT_TRUE(reported.empty());
    QTest::keyClick(chooser.filterBox, Qt::Key_Return);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported.back(), mix({"it"}));
    EXPECT_EQ(chooser.choice(), mix({"it"}));
    chooser.filterBox->clear();
    EXPECT_EQ(chooser.shownTags(), tagsOf(kRows));
}

TEST_F(OriginChooserTest, TickingMixesOriginsAndEditedSharesAreReported) {
    tick("it", true);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported.back(), mix({"de", "it"}));
    setShare("it", 3.0);
    EXPECT_EQ(reported.back(), mix({"de", "it"}, {1, 3}));
    // A share of an origin not ticked is kept, and not reported.
    setShare("es-MX", 2.5);
    EXPECT_EQ(reported.size(), 2u);
    tick("es-MX", true);
    EXPECT_EQ(reported.back(), mix({"de", "it", "es-MX"}, {1, 3, 2.5}));
    chooser.equalShares->click();
    EXPECT_EQ(reported.back(), mix({"de", "it", "es-MX"}));
    chooser.allOrigins->click();
    EXPECT_EQ(reported.back().tags.size(), kRows.size());
}

TEST_F(OriginChooserTest, ABadShareGoesBackAndTheLastOriginStaysTicked) {
    tick("it", true);
    setShare("it", 4.0);
    const std::size_t before = reported.size();
    for (const QVariant& bad : {QVariant(0.0), QVariant(-2.0), QVariant(QStringLiteral("x"))}) {
        setShare("it", bad);
        EXPECT_EQ(item("it")->data(OriginChooser::kShareColumn, Qt::EditRole).toDouble(), 4.0);
    }
    tick("de", false);
    tick("it", false);
    EXPECT_EQ(chooser.choice(), mix({"it"}));
    EXPECT_EQ(reported.size(), before + 1);  // only the untick of de
}

TEST_F(OriginChooserTest, TheStoredChoiceIsShownWithItsShares) {
    chooser.showChoice(mix({"en-US", "es-MX"}, {70, 30}));
    EXPECT_EQ(chooser.choice(), mix({"en-US", "es-MX"}, {70, 30}));
    EXPECT_TRUE(reported.empty());
}

TEST_F(OriginChooserTest, DrawingChoicesAreEnabledByTheOriginsAndStoredAtOnce) {
    const struct {
        generate::OriginMix chosen;
        bool weighted;
        bool born;
    } cases[] = {{mix({"de"}), false, false},
                 {mix({"es-MX"}), true, false},
                 {mix({"de", "en-US"}), true, true}};
    for (const auto& c : cases) {
        chooser.showChoice(c.chosen);
        EXPECT_EQ(chooser.weighted->isEnabled(), c.weighted) << c.chosen.tags.front();
        EXPECT_EQ(chooser.born->isEnabled(), c.born) << c.chosen.tags.front();
        EXPECT_TRUE(chooser.invent->isEnabled());
    }
    chooser.weighted->click();
    EXPECT_TRUE(settings.settings.readOption(keys::Weighted));
    chooser.invent->click();
    EXPECT_TRUE(settings.settings.readOption(keys::Invent));
    chooser.born->setCurrentIndex(chooser.born->findText("1950s"));
    EXPECT_EQ(settings.settings.readText(keys::Born), "1950s");
    chooser.born->setCurrentIndex(0);
    EXPECT_EQ(settings.settings.readText(keys::Born, "unset"), "");
}

TEST(OriginChooserStart, StoredDrawingChoicesComeBackAndARangeStaysAsWritten) {
    testsupport::TempSettings settings;
    settings.settings.writeOption(keys::Weighted, true);
    settings.settings.writeText(keys::Born, "1950s-1970s");
    const OriginChooser chooser{kRows, settings.settings};
    EXPECT_TRUE(chooser.weighted->isChecked());
    EXPECT_FALSE(chooser.invent->isChecked());
    EXPECT_EQ(chooser.born->currentText(), "1950s-1970s");
    EXPECT_EQ(settings.settings.readText(keys::Born), "1950s-1970s");
}

class Form1OriginButton : public testsupport::Form1Fixture {
protected:
    Form1OriginButton() : Form1Fixture(builtDatabase()) {}
    QStringList lastNamesOf(const QString& tag) {
        platform::Database database;
        database.open(db->path());
        return names::editedTables(database, tag).last;
    }
};

TEST_F(Form1OriginButton, ChoosingAnOriginStoresItAndReloadsTheLists) {
    store->writeText(keys::Origin, "de");
    app::Form1& form1 = startShown();
    EXPECT_EQ(form1.originButton->text(), "German");
    form1.originButton->click();
    OriginChooser* chooser = form1.originChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->choice(), mix({"de"}));
    chooser->chooseAlone("it");
    EXPECT_EQ(stored("Origin"), "it");
    QStringList shown = form1.lastNames().storedNames();
    QStringList italian = lastNamesOf("it");
    shown.sort();
    italian.sort();
    EXPECT_TRUE(shown == italian) << shown.size() << " names shown";
    EXPECT_EQ(form1.originButton->text(), "Italian");
    chooser->allOrigins->click();
    EXPECT_EQ(form1.originButton->text(), "All origins");
    EXPECT_EQ(form1.origins()->tags().size(), chooser->originList->topLevelItemCount());
    EXPECT_TRUE(dialogs.messages().isEmpty());
    // The chooser belongs to the main window: it goes when the results window takes its place.
    form1.hide();
    EXPECT_FALSE(chooser->isVisible());
}

TEST_F(Form1OriginButton, TheButtonIsDisabledWhileTheUserListIsCurrent) {
    app::Form1& form1 = start();
    EXPECT_TRUE(form1.originButton->isEnabled());
    form1.Option8->click();
    EXPECT_FALSE(form1.originButton->isEnabled());
    EXPECT_EQ(form1.originButton->isEnabled(), form1.Option1->isEnabled());
    form1.Option9->click();
    EXPECT_TRUE(form1.originButton->isEnabled());
}

}  // namespace
