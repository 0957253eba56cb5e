#pragma once

#include <memory>
#include <vector>

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
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

// The main window over a name database of its own (the program folder), with
// doubles for dialogs, settings and shell, and a folder for name files.
class Form1Fixture : public ::testing::Test {
protected:
    explicit Form1Fixture(const names::NameTables& tables = {})
        : db(std::make_unique<TempDatabase>(tables)) {}

    void start() {
        form = std::make_unique<app::Form1>(
            widgets::Environment{dialogs, *store, shell, nullptr, db->folder()});
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
