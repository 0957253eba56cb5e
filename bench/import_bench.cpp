// Importing a large name file into the User List through the real import
// button, the reload of both lists included.
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>

#include "app/form1.h"
#include "benchmark.h"
#include "names/name_database_file.h"
#include "names/name_list_model.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/shell.h"

namespace {

using bench::fail;

constexpr int kCensusLastNames = 88799;

std::string censusLastNameFile() {
    return bench::dataFolder() + "/census-1990/plain/all.last.txt";
}

// Answers the open-files dialog with one file; any other box ends the run.
class OneFileDialogs : public platform::Dialogs {
public:
    explicit OneFileDialogs(QString path) : path_(std::move(path)) {}
    void messageBox(const QString& text, platform::MessageStyle, const QString&) override {
        fail("unexpected message: " + text.toStdString());
    }
    QString inputBox(const QString&, const QString&) override { fail("unexpected input box"); }
    QStringList openFiles(QWidget*, const QString&, const QString&) override { return {path_}; }
    QString chooseFolder(QWidget*, const QString&) override { fail("unexpected folder chooser"); }

private:
    QString path_;
};

class QuietShell : public platform::Shell {
public:
    QString desktopFolder() override { return QStringLiteral("/tmp"); }
    void openUrl(const QString&) override {}
    void endProgram() override {}
};

bench::Measurement importCensusLastNames() {
    const QFileInfo nameFile(QString::fromStdString(censusLastNameFile()));
    if (!nameFile.isFile()) fail(censusLastNameFile() + " is missing");
    QTemporaryDir folder;
    names::createNameDatabase(folder.filePath(QStringLiteral("names.mdb")), {});
    platform::Settings settings(folder.path());
    settings.writeOption(platform::keys::BuiltInList, false);
    settings.writeOption(platform::keys::UserList, true);
    OneFileDialogs dialogs(nameFile.filePath());
    QuietShell shell;
    app::Form1 form(widgets::Environment{dialogs, settings, shell, nullptr, folder.path()});

    const bench::Stopwatch clock;
    form.PushButton7_Click();
    const bench::Measurement measured = clock.lap();
    if (form.lastNames().count() != kCensusLastNames)
        fail("the User List holds " + std::to_string(form.lastNames().count()) +
             " last names, not " + std::to_string(kCensusLastNames));
    return measured;
}

const bench::Registrar registrar{{"import 88,799 last names into the User List, reload included",
                                  "<= 2 s", importCensusLastNames,
                                  [] { return std::vector<std::string>{censusLastNameFile()}; }}};

}  // namespace
