// The main window's start-up over the database that the program's folders give.
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "names/database_location.h"
#include "support/form1_fixture.h"
#include "support/qt_printers.h"

namespace {

// A program folder, an installed template's folder and a user's data folder.
class Folders : public ::testing::Test {
protected:
    QTemporaryDir root;
    names::DatabaseFolders folders{root.filePath("usr/bin"), root.filePath("usr/share/quillfern"),
                                   root.filePath("home/.local/share/quillfern")};
};

TEST_F(Folders, WithoutATemplateTheMainWindowReportsAsForAMissingDatabase) {
    // Where each start-up report stands: "<object>.<procedure> <line>".
    const auto reportsOfAStartWith = [](const QString& programFolder, const QString& database) {
        testsupport::ScriptedDialogs dialogs;
        dialogs.expectMessageBox(3);
        testsupport::TempSettings settings;
        testsupport::RecordingShell shell;
        app::Form1 form(widgets::Environment{dialogs, settings.settings, shell, nullptr,
                                             programFolder, database});
        QStringList places;
        for (const testsupport::Report& report : testsupport::reportsIn(dialogs.messages()))
            places << report.place + ' ' + QString::number(report.line);
        return places;
    };
    QDir().mkpath(folders.programFolder);
    const QString chosen = names::prepareNameDatabase(folders);
    const QStringList installed = reportsOfAStartWith(folders.programFolder, chosen);
    const QStringList missingBeside = reportsOfAStartWith(folders.programFolder, {});
    EXPECT_EQ(installed, missingBeside);
    EXPECT_EQ(installed.value(0), "Form1.Form_Load 136");
    EXPECT_FALSE(QFileInfo::exists(folders.userFolder));
}

}  // namespace
