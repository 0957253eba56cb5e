// A settings file that cannot be read, that is no INI text, or that holds
// nonsense for every key: the main window opens, says what fails, and its
// options and count go on working.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "guarded/failure_report.h"
#include "names/origin_store.h"
#include "odd_nodes.h"
#include "platform/database.h"
#include "platform/settings.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "support/form1_fixture.h"
#include "support/scoped_locale.h"

namespace {

namespace keys = platform::keys;

const QString kLoadTag = QStringLiteral("Tolvarine2021/08/31.Form1.Form_Load");

class BadSettingsFile : public testsupport::Form1Fixture {
protected:
    BadSettingsFile()
        : Form1Fixture({.maleFirst = {"Adam", "Carl"},
                        .femaleFirst = {"Bea"},
                        .last = {"Smith"},
                        .userFirst = {"Ulla"},
                        .userLast = {"Vance"}}) {}

    QString file() const { return folder.filePath("Veltrane.ini"); }
    // The window gets a store over the file as the test has left it.
    void startOverTheFile() {
        spoiled = std::make_unique<platform::Settings>(folder.path());
        store = spoiled.get();
        start();
    }
    // The options and the count still do their work.
    void expectTheWindowWorks() {
        form->Option2->click();
        EXPECT_EQ(firstShown(), (QStringList{"Adam", "Carl"}));
        form->Option8->click();
        EXPECT_EQ(firstShown(), QStringList{"Ulla"});
        EXPECT_EQ(lastShown(), QStringList{"Vance"});
        form->Option9->click();
        EXPECT_EQ(firstShown(), (QStringList{"Adam", "Carl"}));
        form->Option6->click();
        form->Text1->selectAll();
        QTest::keyClicks(form->Text1, "2");
        form->PushButton1->click();
        ASSERT_TRUE(form->hasResultsWindow());
        EXPECT_EQ(form->resultsWindow().results().count(), 2);
        EXPECT_EQ(form->resultsWindow().results().text(0), "Smith");
        // What was chosen is in force for the rest of the run.
        EXPECT_TRUE(store->readOption(keys::MaleOnly));
        EXPECT_TRUE(store->readOption(keys::LastNameOnly));
        EXPECT_EQ(store->readText(keys::Count), "2");
    }

    QTemporaryDir folder;
    std::unique_ptr<platform::Settings> spoiled;
};

TEST_F(BadSettingsFile, AFolderInItsPlaceIsReportedOnce) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("Veltrane.ini"));
    // Restoring the list source stores it: the first write fails.
    dialogs.expectMessageBox();
    startOverTheFile();
    EXPECT_EQ(dialogs.messages(), QStringList{guarded::failureMessage(
                                      "Cannot write the settings file " + file(), kLoadTag, 138)});
    EXPECT_EQ(firstShown(), (QStringList{"Adam", "Bea", "Carl"}));
    EXPECT_EQ(form->Text1->text(), "100");
    expectTheWindowWorks();
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(QFileInfo(file()).isDir());
}

// A named pipe, a device or a socket in the settings file's place, or a link
// to one: the store never opens it (a pipe would keep the start waiting for
// good, and what it offers is never read), the window starts with the
// defaults, and the first write says once that the file cannot be used.
class NoRegularSettingsFile : public BadSettingsFile,
                              public ::testing::WithParamInterface<faults::Node> {};

TEST_P(NoRegularSettingsFile, GivesTheDefaultsAndIsReportedOnce) {
    if (!GetParam().make(file())) GTEST_SKIP() << "cannot be made here";
    // Were it read, Invent would make every row an invented name.
    const faults::PipeWriter offered(
        file(), "[Quillfern]\nOption8=True\nOption9=False\nText1=7\nInvent=True\nWeighted=True\n");
    const QString before = faults::describe(file());
    dialogs.expectMessageBox();
    startOverTheFile();
    EXPECT_EQ(dialogs.messages(), QStringList{guarded::failureMessage(
                                      "Cannot write the settings file " + file(), kLoadTag, 138)});
    EXPECT_TRUE(form->Option9->isChecked());
    EXPECT_EQ(form->Text1->text(), "100");
    expectTheWindowWorks();
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(faults::describe(file()), before);
}

INSTANTIATE_TEST_SUITE_P(nodes, NoRegularSettingsFile, ::testing::ValuesIn(faults::nodes()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadSettingsFile, BytesThatAreNoIniTextGiveTheDefaultsAndAreReplaced) {
    QFile bytes(file());
    ASSERT_TRUE(bytes.open(QIODevice::WriteOnly));
    bytes.write(QByteArray("\x00\x01\xFE\xFF binary\x7F\n[Quillfern\nOption9\n=\nText1", 40));
    bytes.close();
    startOverTheFile();
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_TRUE(form->Option9->isChecked());
    EXPECT_EQ(form->Text1->text(), "100");
    expectTheWindowWorks();
    EXPECT_TRUE(dialogs.messages().isEmpty());
    // Every group was stored whole, and a new start reads it back.
    const platform::Settings again(folder.path());
    EXPECT_FALSE(again.readOption(keys::BothGenders));
    EXPECT_TRUE(again.readOption(keys::MaleOnly));
    EXPECT_FALSE(again.readOption(keys::FemaleOnly));
    EXPECT_TRUE(again.readOption(keys::BuiltInList));
    EXPECT_FALSE(again.readOption(keys::UserList));
    EXPECT_EQ(again.readText(keys::Count), "2");
}

TEST_F(BadSettingsFile, NonsenseInEveryKeyFailsEachOptionStep) {
    {
        QSettings raw(file(), QSettings::IniFormat);
        const char* nonsense[] = {"maybe", "", "yes", "1e", "Tru e", "0x1", "-", "[]"};
        int i = 0;
        for (const char* key : {"Option9", "Option8", "Option1", "Option2", "Option3", "Option4",
                                "Option5", "Option6"})
            raw.setValue(QStringLiteral("Quillfern/") + key, nonsense[i++]);
        raw.setValue("Quillfern/Text1", "\x01 twelve");
        raw.setValue("Quillfern/Text2", "::no folder::");
        raw.setValue("Quillfern/LastFolderDot", "\x7F");
        raw.setValue("Quillfern/Weighted", "Tru e");
        raw.setValue("Quillfern/Born", "19x0s");
        raw.setValue("Quillfern/Invent", "0x1");
    }
    dialogs.expectMessageBox(11);
    startOverTheFile();
    QStringList expected;
    for (int line = 138; line <= 152; line += 2)
        expected << guarded::failureMessage("Type mismatch", kLoadTag, line);
    ASSERT_EQ(dialogs.messages().size(), 11);
    EXPECT_EQ(dialogs.messages().mid(0, 8), expected);
    // The drawing keys: one report each, at its own statement, naming the text.
    const struct {
        int line;
        const char* text;
    } drawing[] = {{160, "Tru e"}, {162, "19x0s"}, {164, "0x1"}};
    for (int i = 0; i < 3; ++i) {
        const QString message = dialogs.messages()[8 + i];
        EXPECT_TRUE(message.contains(QStringLiteral("at line %1\r").arg(drawing[i].line)))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String(drawing[i].text))) << message.toStdString();
    }
    // Each option keeps its state as laid out; the lists were loaded for it.
    EXPECT_TRUE(form->Option9->isChecked());
    EXPECT_TRUE(form->Option1->isChecked());
    EXPECT_TRUE(form->Option4->isChecked());
    EXPECT_EQ(firstShown(), (QStringList{"Adam", "Bea", "Carl"}));
    EXPECT_EQ(form->Text1->text(), "\x01 twelve");
    expectTheWindowWorks();
    EXPECT_EQ(form->resultsWindow().Text2->text(), "::no folder::");
    EXPECT_EQ(dialogs.messages().size(), 11);
}

// A stored Origin key that names no stored origins or gives bad shares: the
// start goes on with the locale's origin, says why once, and the key stays as
// the user wrote it.
class UnreadableOriginKey : public testsupport::Form1Fixture {
protected:
    UnreadableOriginKey() : Form1Fixture(builtDatabase()) {}
};

TEST_F(UnreadableOriginKey, IsReportedOnceAndTheLocalesOriginIsShown) {
    const testsupport::ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    int said = 0;
    for (const QString key : {"xx", "de:50,ja", "de:0", "de:x", "de,de", "", "all,de", "?!"}) {
        SCOPED_TRACE(key.toStdString());
        testsupport::TempSettings fresh;
        store = &fresh.settings;
        fresh.settings.writeText(keys::Origin, key);
        dialogs.expectMessageBox();
        start();
        ASSERT_EQ(reports().size(), static_cast<std::size_t>(++said));
        EXPECT_EQ(reportedAt().back(), "Form1.Form_Load 158");
        EXPECT_TRUE(reports().back().description.contains('"' + key + '"'))
            << reports().back().description.toStdString();
        platform::Database database;
        database.open(db->path());
        EXPECT_EQ(names::shownOrigins(database), QStringList{"de"});
        EXPECT_EQ(fresh.settings.readText(keys::Origin, "none"), key);
        // Reloads and runs go on without saying it again.
        form->Option2->click();
        form->Option1->click();
        form->Text1->setText("5");
        form->PushButton1_Click();
        EXPECT_EQ(form->resultsWindow().results().count(), 5);
        EXPECT_EQ(reports().size(), static_cast<std::size_t>(said));
        form.reset();
        dialogs.verifyAllShown();
    }
}

}  // namespace
