// The main window's name lists: options, editing and importing, driven through
// the controls with scripted dialogs on temporary databases.
#include <algorithm>
#include <memory>

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "form1_names.h"
#include "names/name_list_model.h"
#include "names/origin_data.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/pointer.h"
#include "platform/settings.h"
#include "support/form1_fixture.h"
#include "support/open_handles.h"
#include "support/scoped_locale.h"
#include "support/scripted_dialogs.h"
#include "support/temp_database.h"
#include "support/temp_settings.h"

namespace {

namespace keys = platform::keys;
using testsupport::Form1Names;
using testsupport::Report;
using testsupport::TempDatabase;

// --- start-up and options -------------------------------------------------

names::OriginEntry fallbackOrigin() {
    for (const names::OriginEntry& entry :
         names::readOriginFolder(QStringLiteral(QF_DATA_DIR "/origins")))
        if (entry.origin.tag == QLatin1String(names::kFallbackOrigin)) return entry;
    ADD_FAILURE() << "no fallback origin";
    return {};
}

TEST_F(Form1Names, FirstRunShowsTheBuiltInNamesFromTheBuiltDatabase) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const testsupport::ScopedLocale locale(english);
    db = std::make_unique<TempDatabase>(QStringLiteral(QF_BUILT_NAMES_DB));
    start();
    const names::OriginEntry shown = fallbackOrigin();
    QSet<QString> distinctFirst;
    for (const QString& name : names::maleTableNames(shown) + names::femaleTableNames(shown))
        distinctFirst.insert(name.toCaseFolded());
    EXPECT_EQ(firstShown().size(), distinctFirst.size());
    EXPECT_EQ(lastShown().size(), names::lastTableNames(shown).size());
    // In the order of the user's language, case ignored.
    QCollator collator(english);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (const QStringList& shown : {firstShown(), lastShown()}) {
        for (qsizetype i = 1; i < shown.size(); ++i)
            ASSERT_LE(collator.compare(shown[i - 1], shown[i]), 0) << shown[i].toStdString();
    }
    EXPECT_EQ(form->PushButton4->text(), "Delete");
    EXPECT_EQ(form->PushButton3->text(), "Delete");
    EXPECT_TRUE(form->Option1->isEnabled());
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
    EXPECT_EQ(form->ListView1->toolTip(),
              "Move | line to right and out of window to reveal full names.");
}

TEST_F(Form1Names, ListSourceOptionsSetCaptionsGenderOptionsAndStoredKeys) {
    start();
    EXPECT_EQ(firstShown(), (QStringList{"Anna", "Bob", "Carl", "Dora"}));
    form->Option2->click();
    EXPECT_EQ(firstShown(), (QStringList{"Anna", "Bob", "Carl"}));
    EXPECT_EQ(lastShown(), (QStringList{"Jones", "Smith", "Smith"}));
    EXPECT_FALSE(settings.settings.readOption(keys::BothGenders));
    EXPECT_TRUE(settings.settings.readOption(keys::MaleOnly));
    EXPECT_FALSE(settings.settings.readOption(keys::FemaleOnly));

    form->Option8->click();
    EXPECT_EQ(form->PushButton4->text(), "Clear");
    EXPECT_EQ(form->PushButton3->text(), "Clear");
    for (QRadioButton* option : {form->Option1, form->Option2, form->Option3})
        EXPECT_FALSE(option->isEnabled());
    EXPECT_TRUE(form->Option2->isChecked());
    EXPECT_EQ(firstShown(), QStringList{"Ulla"});
    EXPECT_EQ(lastShown(), (QStringList{"Vance", "Ward"}));
    EXPECT_TRUE(settings.settings.readOption(keys::UserList));
    EXPECT_FALSE(settings.settings.readOption(keys::BuiltInList));

    form->Option9->click();
    EXPECT_FALSE(form->Option8->isChecked());
    EXPECT_EQ(form->PushButton4->text(), "Delete");
    EXPECT_TRUE(form->Option3->isEnabled());
    EXPECT_EQ(firstShown(), (QStringList{"Anna", "Bob", "Carl"}));  // "Male Only" again
    EXPECT_TRUE(settings.settings.readOption(keys::BuiltInList));
    EXPECT_FALSE(settings.settings.readOption(keys::UserList));
}

TEST_F(Form1Names, StoredOptionsAreInForceAfterARestart) {
    chooseUserList();
    start();
    EXPECT_TRUE(form->Option8->isChecked());
    EXPECT_EQ(form->PushButton3->text(), "Clear");
    EXPECT_FALSE(form->Option2->isEnabled());
    EXPECT_EQ(firstShown(), QStringList{"Ulla"});
    EXPECT_EQ(lastShown(), (QStringList{"Vance", "Ward"}));
}

TEST_F(Form1Names, AFailingLoadFromAnOptionIsShownAndTheBusyPointerEnds) {
    start();
    QFile::remove(db->path());
    dialogs.expectMessageBox();
    form->Option3->click();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith("unable to open database file"));
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
    EXPECT_EQ(firstShown(), (QStringList{"Anna", "Bob", "Carl", "Dora"}));
}

// --- adding ----------------------------------------------------------------

TEST_F(Form1Names, AFirstNameAddedToTheBuiltInListGoesToTheFemaleTable) {
    start();
    form->Option2->click();
    // The input box is shown while the one connection is open.
    int handlesDuringInput = -1;
    dialogs.answerInputBox("Zed",
                           [&] { handlesDuringInput = testsupport::openHandlesTo(db->path()); });
    form->PushButton2->click();
    EXPECT_EQ(handlesDuringInput, 1);
    EXPECT_EQ(testsupport::openHandlesTo(db->path()), 0);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Input first name: ");
    EXPECT_EQ(dialogs.shown()[0].title, form->applicationTitle());
    EXPECT_EQ(db->names("system_ffirstname").last(), "Zed");
    EXPECT_EQ(db->names("system_mfirstname").size(), 3);
    EXPECT_FALSE(firstShown().contains("Zed"));
    form->Option1->click();
    EXPECT_TRUE(firstShown().contains("Zed"));
}

TEST_F(Form1Names, TypedNamesLoseApostrophesAndEmptyInputAddsNothing) {
    chooseUserList();
    start();
    const struct {
        QString typed;
        QStringList added;
    } cases[] = {
        {"O'Neil", {"ONeil"}},
        {"", {}},
        {"   ", {}},
        {"'", {}},
        {"' '", {}},
        {"  Ann", {"  Ann"}},
        {QString(60, 'x'), {QString(50, 'x')}},
        {"élise", {"élise"}},
    };
    for (const auto& c : cases) {
        // A name put there by another program shows only when the list is reloaded.
        db->insert("user_lastname", "Reloaded");
        const QStringList before = db->names("user_lastname");
        dialogs.answerInputBox(c.typed);
        form->PushButton5->click();
        EXPECT_EQ(db->names("user_lastname"), before + c.added) << c.typed.toStdString();
        EXPECT_TRUE(lastShown().contains("Reloaded")) << c.typed.toStdString();
        EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
        db->execute("delete from user_lastname where lastname = 'Reloaded'");
    }
    EXPECT_EQ(dialogs.shown()[0].text, "Input last name: ");
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Form1Names, AddingWithoutTheDatabaseReportsEachStepThatNeedsIt) {
    start();
    form->SetMousePointer(platform::PointerShape::Hourglass);
    QFile::remove(db->path());
    dialogs.expectMessageBox();
    dialogs.answerInputBox("Zed");
    dialogs.expectMessageBox(2);
    form->PushButton5->click();
    EXPECT_EQ(reportedAt(),
              (QStringList{"Form1.PushButton5_Click 106", "Form1.PushButton5_Click 114",
                           "Form1.PushButton5_Click 122"}));
    const std::vector<Report> got = reports();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].description, "unable to open database file");
    EXPECT_EQ(got[1].description, "The database connection is not open");
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
    EXPECT_FALSE(QFile::exists(db->path()));
}

// --- deleting and clearing -------------------------------------------------

TEST_F(Form1Names, DeletingABuiltInFirstNameFollowsTheGenderOption) {
    start();
    select(form->ListView1, 0);  // Anna, under "Both"
    form->PushButton4->click();
    EXPECT_EQ(db->names("system_mfirstname"), (QStringList{"bob", "Carl"}));
    EXPECT_EQ(db->names("system_ffirstname"), QStringList{"Dora"});
    EXPECT_EQ(firstShown(), (QStringList{"Bob", "Carl", "Dora"}));

    db->insert("system_mfirstname", "dora");
    form->Option2->click();
    select(form->ListView1, 2);  // Dora, under "Male Only"
    form->PushButton4->click();
    EXPECT_EQ(db->names("system_mfirstname"), (QStringList{"bob", "Carl"}));
    form->Option3->click();
    EXPECT_EQ(firstShown(), QStringList{"Dora"});
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Form1Names, DeletingWithNothingSelectedIsReportedAndRemovesNothing) {
    start();
    dialogs.expectMessageBox(2);
    form->PushButton4->click();
    EXPECT_EQ(reportedAt(),
              (QStringList{"Form1.PushButton4_Click 112", "Form1.PushButton4_Click 114"}));
    EXPECT_EQ(reports()[0].description, "No name is selected in the list");
    EXPECT_EQ(db->names("system_mfirstname").size(), 3);
    EXPECT_EQ(db->names("system_ffirstname").size(), 3);
}

TEST_F(Form1Names, DeletingALastNameRemovesEveryRowOfItInAnyCase) {
    start();
    select(form->ListView2, 1);  // Smith
    form->PushButton3->click();
    EXPECT_EQ(db->names("system_lastname"), QStringList{"Jones"});
    EXPECT_EQ(lastShown(), QStringList{"Jones"});
}

TEST_F(Form1Names, ClearEmptiesOneUserTableAtOnceAndAnEmptyListDoesNothing) {
    chooseUserList();
    start();
    form->PushButton4->click();
    EXPECT_TRUE(db->names("user_firstname").isEmpty());
    EXPECT_EQ(db->names("user_lastname"), (QStringList{"Vance", "Ward"}));
    EXPECT_TRUE(firstShown().isEmpty());

    form->PushButton3->click();
    EXPECT_TRUE(db->names("user_lastname").isEmpty());

    // Nothing to clear: no connection, no reload (either would report the
    // database that is gone).
    ASSERT_TRUE(QFile::remove(db->path()));
    form->PushButton4->click();
    form->PushButton3->click();
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Form1Names, AStoredNameWithAnApostropheIsDeletedLikeAnyOther) {
    db->insert("system_lastname", "d'arcy");
    start();
    select(form->ListView2, 0);
    ASSERT_EQ(lastShown()[0], "D'arcy");
    form->PushButton3->click();
    EXPECT_EQ(db->names("system_lastname"), (QStringList{"Smith", "SMITH", "Jones"}));
}

// An entry is deleted by the stored name it was shown from: also where its
// proper case does not fold back to it (the Turkish dotless ı is shown as I),
// and still without regard to case (the dotted İ, the German ß and ẞ).
struct ShownOtherwise {
    const char* name;
    QStringList stored;  // system_lastname
    int row;             // of the entry deleted, in the order of an English reader
    QString shown;       // its text
    QStringList left;
};

void PrintTo(const ShownOtherwise& c, std::ostream* out) {
    *out << c.name;
}

const ShownOtherwise kShownOtherwise[] = {
    {"DotlessI", {"ılgaz", "ILGAZ", "Smith", "ılgaz"}, 1, "Ilgaz", {"ILGAZ", "Smith"}},
    {"DottedCapitalIInside", {"DİLEK", "Dilek", "Smith"}, 1, "Dİlek", {"Dilek", "Smith"}},
    {"DottedCapitalIFirst", {"İpek", "ipek", "İPEK"}, 1, "İpek", {"ipek"}},
    {"SharpS", {"STRAẞE", "Strasse", "straße"}, 2, "Straße", {"Strasse"}},
};

class DeletingAnEntryShownOtherwise : public testsupport::Form1Fixture,
                                      public ::testing::WithParamInterface<ShownOtherwise> {
protected:
    DeletingAnEntryShownOtherwise() : Form1Fixture({.last = GetParam().stored}) {}
    const testsupport::ScopedLocale english{QLocale(QLocale::English, QLocale::UnitedStates)};
};

TEST_P(DeletingAnEntryShownOtherwise, RemovesTheRowsItWasShownFrom) {
    start();
    ASSERT_EQ(lastShown().value(GetParam().row), GetParam().shown);
    select(form->ListView2, GetParam().row);
    form->PushButton3->click();
    EXPECT_EQ(db->names("system_lastname"), GetParam().left);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, DeletingAnEntryShownOtherwise, ::testing::ValuesIn(kShownOtherwise),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Names, DeletingAFirstNameShownOtherwiseRemovesItFromBothTables) {
    db->insert("system_mfirstname", "ılgaz");
    db->insert("system_ffirstname", "ılgaz");
    start();
    select(form->ListView1, static_cast<int>(firstShown().indexOf("Ilgaz")));
    form->PushButton4->click();
    EXPECT_EQ(db->names("system_mfirstname"), (QStringList{"Anna", "bob", "Carl"}));
    EXPECT_EQ(db->names("system_ffirstname"), (QStringList{"ANNA", "Dora", "anna"}));
    EXPECT_FALSE(firstShown().contains("Ilgaz"));
}

// --- dropping entries from a view ------------------------------------------

TEST_F(Form1Names, DoubleClickAndTheDeleteKeyDropTheSelectedEntryFromItsViewOnly) {
    start();
    select(form->ListView1, 1);  // Bob
    QTest::keyClick(form->ListView1, Qt::Key_Q);
    EXPECT_EQ(firstShown().size(), 4);
    QTest::keyClick(form->ListView1, Qt::Key_Delete);
    EXPECT_EQ(firstShown(), (QStringList{"Anna", "Carl", "Dora"}));

    select(form->ListView2, 0);
    emit form->ListView2->doubleClicked(form->ListView2->model()->index(0, 0));
    EXPECT_EQ(lastShown(), (QStringList{"Smith", "Smith"}));

    // Not while the busy pointer shows, and not without a selection.
    form->SetMousePointer(platform::PointerShape::Hourglass);
    select(form->ListView2, 0);
    form->ListView2_KeyDown(46, 0);
    form->ListView2_DblClick();
    EXPECT_EQ(lastShown().size(), 2);
    form->SetMousePointer(platform::PointerShape::Normal);
    form->ListView1->clearSelection();
    form->ListView1_DblClick();
    EXPECT_EQ(firstShown().size(), 3);

    EXPECT_EQ(db->names("system_mfirstname").size(), 3);
    form->Option2->click();  // any load brings them back
    form->Option1->click();
    EXPECT_EQ(firstShown().size(), 4);
    EXPECT_EQ(lastShown().size(), 3);
}

}  // namespace
