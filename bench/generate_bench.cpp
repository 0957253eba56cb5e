// Generating a million names and what follows: the real windows on the X
// server, with the built name database and settings in a folder of their own.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "app/form1.h"
#include "benchmark.h"
#include "names/name_list_model.h"
#include "paint_watch.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/spreadsheet.h"
#include "results/form2.h"
#include "results/result_list.h"

namespace {

using bench::fail;

constexpr char kDone[] = "Done.";
constexpr char kDatabase[] = QF_PROGRAM_DIR "/names.mdb";
// Ten origins of several scripts, two of them with gendered surnames: each row
// is one person drawn by the engine.
constexpr char kTenOrigins[] = "en-US:30,es-MX:15,de:10,fr:10,it:10,ru:5,cs:5,ja:5,ko:5,zh-CN:5";

std::vector<std::string> builtDatabase() {
    return {kDatabase};
}

// Message boxes are real boxes on the screen, as the user sees them; the first
// one a run expects is "Done.", any other ends the run. The other dialogs are
// never expected.
class ScreenDialogs : public platform::WidgetDialogs {
public:
    void messageBox(const QString& text, platform::MessageStyle style,
                    const QString& title) override {
        if (!expectingDone || !text.startsWith(QLatin1String(kDone)))
            fail("unexpected message: " + text.toStdString());
        expectingDone = false;
        WidgetDialogs::messageBox(text, style, title);
    }
    QString inputBox(const QString&, const QString&) override { fail("unexpected input box"); }
    QStringList openFiles(QWidget*, const QString&, const QString&) override {
        fail("unexpected file dialog");
    }
    QString chooseFolder(QWidget*, const QString&) override { fail("unexpected folder chooser"); }

    bool expectingDone = false;
};

class QuietShell : public platform::Shell {
public:
    explicit QuietShell(QString desktop) : desktop_(std::move(desktop)) {}
    QString desktopFolder() override { return desktop_; }
    void openUrl(const QString&) override {}
    void endProgram() override {}

private:
    QString desktop_;
};

bool isResultRows(QWidget* widget) {
    const QObject* list = widget->parent();
    return list && list->objectName() == QLatin1String("ListView1") &&
           widget->window()->objectName() == QLatin1String("Form2");
}

// The program as a user meets it: the main window on the screen with the
// built-in lists loaded from the built names.mdb.
struct Program {
    QTemporaryDir folder;
    ScreenDialogs dialogs;
    std::unique_ptr<platform::Settings> settings;
    std::unique_ptr<QuietShell> shell;
    std::vector<QStringList> launches;
    std::unique_ptr<platform::DesktopSpreadsheet> spreadsheet;
    std::unique_ptr<app::Form1> form1;

    // `originKey`: the Origin key stored before the start; none: the default.
    // `weighted`: the Weighted key stored as "True".
    explicit Program(const QString& originKey = QString(), bool weighted = false) {
        const QString database = QStringLiteral(QF_PROGRAM_DIR "/names.mdb");
        if (!QFile::exists(database))
            fail("the built name database is missing: " QF_PROGRAM_DIR "/names.mdb");
        const QDir dir(folder.path());
        dir.mkpath("program");
        dir.mkpath("settings");
        dir.mkpath("output");
        QFile::copy(database, dir.filePath("program/names.mdb"));
        settings = std::make_unique<platform::Settings>(dir.filePath("settings"));
        if (!originKey.isEmpty()) settings->writeText(platform::keys::Origin, originKey);
        if (weighted) settings->writeOption(platform::keys::Weighted, true);
        shell = std::make_unique<QuietShell>(dir.filePath("output"));
        // The workbook is built and handed over; no spreadsheet program is started.
        spreadsheet = std::make_unique<platform::DesktopSpreadsheet>(
            "spreadsheet", [this](const QString& program, const QStringList& arguments) {
                launches.push_back(QStringList{program} + arguments);
                return true;
            });
        form1 = std::make_unique<app::Form1>(widgets::Environment{
            dialogs, *settings, *shell, spreadsheet.get(), dir.filePath("program")});
        if (form1->firstNames().count() == 0 || form1->lastNames().count() == 0)
            fail("the built-in name lists of " + database.toStdString() + " are empty");
        form1->Option4->setChecked(true);
        form1->Text1->setText(QStringLiteral("1000000.7"));  // 1,000,001 rows
        const bench::Stopwatch clock;
        bench::PaintWatch shown(
            clock, [this](QWidget* widget) { return widget->window() == form1.get(); });
        form1->show();
        shown.wait("the main window");
        // A user clicks seconds after the window shows: the draw made at
        // start-up for the first run is ready by then.
        form1->waitForPreparedDraw();
    }
    ~Program() {
        for (const QStringList& launch : launches) QFile::remove(launch.last());
    }

    results::Form2& form2() { return form1->resultsWindow(); }

    // From the click on "Start Generating" to the results window on the screen
    // with its rows. The first run also creates the results window.
    bench::Measurement generate() {
        const bench::Stopwatch clock;
        bench::PaintWatch shown(clock, isResultRows);
        form1->PushButton1->click();
        const bench::Measurement measured = shown.wait("the results window");
        check(form2().isVisible() && form2().results().rowCount() == 1000001,
              "the results window does not show 1,000,001 rows");
        return measured;
    }

    void chooseOutput(QRadioButton* output) {
        form2().Text2->setText(QDir(folder.path()).filePath("output"));
        output->setChecked(true);
    }

    // From the click on "Save Results" to the "Done." box on the screen.
    bench::Measurement saveTextFile() {
        chooseOutput(form2().Option4);
        dialogs.expectingDone = true;
        const bench::Stopwatch clock;
        bench::PaintWatch shown(clock, [](QWidget* widget) {
            return qobject_cast<QMessageBox*>(widget->window()) != nullptr;
        });
        shown.whenShown = [](QWidget* box) { static_cast<QMessageBox*>(box)->accept(); };
        form2().PushButton2->click();
        check(shown.shown(), "the \"Done.\" box was never shown");
        return shown.measurement();
    }

    // From the click on "Save Results" to the workbook handed to the spreadsheet program.
    bench::Measurement saveWorkbook() {
        chooseOutput(form2().Option5);
        const bench::Stopwatch clock;
        form2().PushButton2->click();
        return clock.lap();
    }

    static void check(bool condition, const char* what) {
        if (!condition) fail(what);
    }
};

const bench::Registrar generateRows{
    {"generate 1,000,001 First and Last Name rows, click to painted", "<= 0.15 s, <= 120 MB",
     [] {
         Program program;
         return program.generate();
     },
     builtDatabase}};

const bench::Registrar generateTenOrigins{
    {"generate 1,000,001 persons of ten origins, click to painted", "<= 0.15 s, <= 120 MB",
     [] {
         Program program{QString::fromLatin1(kTenOrigins)};
         if (program.form1->origins()->tags().size() != 10) fail("the ten origins are not current");
         return program.generate();
     },
     builtDatabase}};

const bench::Registrar generateWeighted{
    {"generate 1,000,001 weighted First and Last Name rows, click to painted",
     "<= 0.1 s, <= 120 MB",
     [] {
         Program program{QString(), true};
         return program.generate();
     },
     builtDatabase}};

const bench::Registrar generateTenOriginsWeighted{
    {"generate 1,000,001 weighted persons of ten origins, click to painted", "<= 0.15 s, <= 120 MB",
     [] {
         Program program{QString::fromLatin1(kTenOrigins), true};
         if (program.form1->origins()->tags().size() != 10) fail("the ten origins are not current");
         return program.generate();
     },
     builtDatabase}};

const bench::Registrar saveText{
    {"save 1,000,001 rows as results.txt, click to \"Done.\" shown", "<= 0.1 s",
     [] {
         Program program;
         program.generate();
         const bench::Measurement measured = program.saveTextFile();
         const QString file = QDir(program.folder.path()).filePath("output/results.txt");
         Program::check(QFile(file).size() > 10000000, "results.txt was not written");
         return measured;
     },
     builtDatabase}};

const bench::Registrar saveWorkbook{{"build the 1,000,001-row workbook, Excel (2 cells)", "<= 5 s",
                                     [] {
                                         Program program;
                                         program.generate();
                                         const bench::Measurement measured = program.saveWorkbook();
                                         Program::check(
                                             program.launches.size() == 1 &&
                                                 QFile(program.launches[0].last()).size() > 1000000,
                                             "the workbook was not handed over");
                                         return measured;
                                     },
                                     builtDatabase}};

const bench::Registrar scrollToEnd{{"scroll the results list to its last row, painted", "instant",
                                    [] {
                                        Program program;
                                        program.generate();
                                        const bench::Stopwatch clock;
                                        bench::PaintWatch shown(clock, isResultRows);
                                        program.form2().ListView1->scrollToBottom();
                                        return shown.wait("the last rows");
                                    },
                                    builtDatabase}};

}  // namespace
