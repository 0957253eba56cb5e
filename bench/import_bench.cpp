// Importing a large name file into the User List through the real import
// button, the reload of both lists included.
#include <stdexcept>

#include <QTemporaryDir>

#include "app/form1.h"
#include "benchmark.h"
#include "names/name_database_file.h"
#include "names/name_list_model.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/shell.h"

namespace {

constexpr int kCensusLastNames = 88799;

// Answers the open-files dialog with one file; any other box is a failure.
class OneFileDialogs : public platform::Dialogs {
public:
    explicit OneFileDialogs(QString path) : path_(std::move(path)) {}
    void messageBox(const QString& text, int, const QString&) override {
        throw std::runtime_error("unexpected message: " + text.toStdString());
    }
    QString inputBox(const QString&, const QString&) override { return {}; }
    QStringList openFiles(QWidget*, const QString&, const QString&) override { return {path_}; }
    QString chooseFolder(QWidget*, const QString&) override { return {}; }

private:
    QString path_;
};

class QuietShell : public platform::Shell {
public:
    QString desktopFolder() override { return QStringLiteral("/tmp"); }
    void openUrl(const QString&) override {}
    void endProgram() override {}
};

double importCensusLastNames() {
    QTemporaryDir folder;
    names::CreateNameDatabase(folder.filePath(QStringLiteral("names.mdb")), {});
    platform::Settings settings(folder.path());
    settings.writeOption(platform::keys::Option9, false);
    settings.writeOption(platform::keys::Option8, true);
    OneFileDialogs dialogs(QStringLiteral(QF_SHARED_DATA_DIR "/census-1990/plain/all.last.txt"));
    QuietShell shell;
    app::Form1 form(app::Environment{dialogs, settings, shell, nullptr, folder.path()});

    const bench::Stopwatch watch;
    form.PushButton7_Click();
    const double seconds = watch.seconds();
    if (form.lastNames().count() != kCensusLastNames)
        throw std::runtime_error("the User List holds " + std::to_string(form.lastNames().count()) +
                                 " last names");
    return seconds;
}

const bench::Registrar registrar{{"import 88,799 last names into the User List, reload included",
                                  "<= 2 s", importCensusLastNames}};

}  // namespace
