// Switching origins in the main window: from the choice in the origin chooser
// to the reloaded lists on the screen, for the origin with the most names.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/origin_chooser.h"
#include "app/origin_rows.h"
#include "benchmark.h"
#include "names/name_list_model.h"
#include "paint_watch.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/shell.h"

namespace {

using bench::fail;

constexpr char kDatabase[] = QF_PROGRAM_DIR "/names.mdb";

class NoDialogs : public platform::Dialogs {
public:
    void messageBox(const QString& text, platform::MessageStyle, const QString&) override {
        fail("unexpected message: " + text.toStdString());
    }
    QString inputBox(const QString&, const QString&) override { fail("unexpected input box"); }
    QStringList openFiles(QWidget*, const QString&, const QString&) override {
        fail("unexpected file dialog");
    }
    QString chooseFolder(QWidget*, const QString&) override { fail("unexpected folder chooser"); }
};

class NoShell : public platform::Shell {
public:
    QString desktopFolder() override { return QDir::tempPath(); }
    void openUrl(const QString&) override {}
    void endProgram() override {}
};

QString largestOrigin(const QString& database) {
    platform::Database db;
    db.open(database);
    const QList<app::OriginRow> rows = app::readOriginRows(db);
    if (rows.isEmpty()) fail("the built name database holds no origins");
    return std::max_element(rows.begin(), rows.end(),
                            [](const auto& a, const auto& b) { return a.names < b.names; })
        ->tag;
}

bench::Measurement switchToLargestOrigin() {
    QTemporaryDir folder;
    const QDir dir(folder.path());
    dir.mkpath("program");
    dir.mkpath("settings");
    const QString database = dir.filePath("program/names.mdb");
    if (!QFile::copy(QString::fromLatin1(kDatabase), database))
        fail("cannot copy the built name database");
    const QString largest = largestOrigin(database);
    NoDialogs dialogs;
    NoShell shell;
    platform::Settings settings(dir.filePath("settings"));
    // The start: an origin of few names, so that the switch fills both lists anew.
    settings.writeText(platform::keys::Origin, largest == "de" ? "fr" : "de");
    app::Form1 form1(
        widgets::Environment{dialogs, settings, shell, nullptr, dir.filePath("program")});
    form1.show();
    form1.originButton->click();
    app::OriginChooser* chooser = form1.originChooser();
    if (!chooser) fail("the origin chooser did not open");
    const int before = form1.lastNames().count();

    const bench::Stopwatch clock;
    // The reload runs within the choice; the views then paint its names.
    bench::PaintWatch shown(
        clock, [&form1](QWidget* widget) { return widget->parent() == form1.ListView2; });
    chooser->chooseAlone(largest);
    const bench::Measurement measured = shown.wait("the reloaded last names");
    if (form1.origins()->tags() != QStringList{largest} || form1.lastNames().count() == before)
        fail("the lists were not reloaded for " + largest.toStdString());
    return measured;
}

const bench::Registrar switchOrigins{{"switch origins to the one of most names, choice to painted",
                                      "<= 0.1 s", switchToLargestOrigin,
                                      [] { return std::vector<std::string>{kDatabase}; }}};

}  // namespace
