#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "names/name_list_model.h"
#include "platform/settings.h"
#include "support/recording_shell.h"
#include "support/scripted_dialogs.h"
#include "support/temp_database.h"
#include "support/temp_settings.h"

namespace testsupport {

// One failure report taken apart.
struct Report {
    QString description;
    QString place;  // "<object>.<procedure>"
    int line = 0;
};

inline std::vector<Report> reportsIn(const QStringList& messages) {
    static const QRegularExpression form(
        QStringLiteral("^(.*)\\r\\nin Tolvarine2021/08/31\\.(\\S+) at line (\\d+)\\r\\r"),
        QRegularExpression::DotMatchesEverythingOption);
    std::vector<Report> reports;
    for (const QString& message : messages) {
        const QRegularExpressionMatch match = form.match(message);
        if (match.hasMatch())
            reports.push_back({match.captured(1), match.captured(2), match.captured(3).toInt()});
    }
    return reports;
}

// The main window over a name database of its own in the program folder, with
// doubles for dialogs, settings and shell, and a folder for name files. Every
// test of the main window builds it here.
class Form1Fixture : public ::testing::Test {
protected:
    // A names.mdb holding these names (all five tables empty by default).
    explicit Form1Fixture(const names::NameTables& tables = {})
        : Form1Fixture(std::make_unique<TempDatabase>(tables)) {}
    explicit Form1Fixture(std::unique_ptr<TempDatabase> database) : db(std::move(database)) {}
    // A copy of the names.mdb that the build puts beside the program.
    static std::unique_ptr<TempDatabase> builtDatabase() {
        return std::make_unique<TempDatabase>(QStringLiteral(QF_PROGRAM_DIR "/names.mdb"));
    }

    app::Form1& start() {
        form = std::make_unique<app::Form1>(
            widgets::Environment{dialogs, *store, shell, nullptr, db->folder()});
        return *form;
    }
    app::Form1& startShown() {
        start();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }
    // A file in the program folder, beside names.mdb.
    QString programFile(const QString& name) const { return QDir(db->folder()).filePath(name); }
    // The text stored under a key, as the settings file holds it.
    QString stored(const char* key) const {
        return QSettings(settings.settings.filePath(), QSettings::IniFormat)
            .value(QStringLiteral("Quillfern/") + key)
            .toString();
    }
    void chooseUserList() {
        settings.settings.writeOption(platform::keys::BuiltInList, false);
        settings.settings.writeOption(platform::keys::UserList, true);
    }
    QStringList firstShown() { return form->firstNames().entries(); }
    QStringList lastShown() { return form->lastNames().entries(); }
    static void select(QTreeView* view, int row) {
        view->setCurrentIndex(view->model()->index(row, 0));
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(files.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    std::vector<Report> reports() const { return reportsIn(dialogs.messages()); }
    // "<object>.<procedure> <line>" of each failure report, in order.
    QStringList reportedAt() const {
        QStringList places;
        for (const Report& report : reports())
            places << report.place + ' ' + QString::number(report.line);
        return places;
    }

    ScriptedDialogs dialogs;
    TempSettings settings;
    platform::Settings* store = &settings.settings;  // what the window is given
    RecordingShell shell;
    std::unique_ptr<TempDatabase> db;
    QTemporaryDir files;
    std::unique_ptr<app::Form1> form;
};

}  // namespace testsupport
