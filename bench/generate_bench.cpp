// Generating a million names and what follows: the real windows, offscreen,
// with the built name database and settings in a folder of their own.
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/form1.h"
#include "benchmark.h"
#include "names/name_list_model.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/spreadsheet.h"
#include "results/form2.h"
#include "results/result_list.h"

namespace {

// Message boxes are counted, never shown; any other dialog ends the measurement.
class CountingDialogs : public platform::Dialogs {
public:
    QStringList messages;
    void messageBox(const QString& text, int, const QString&) override { messages << text; }
    QString inputBox(const QString&, const QString&) override { fail("input box"); }
    QStringList openFiles(QWidget*, const QString&, const QString&) override { fail("open files"); }
    QString chooseFolder(QWidget*, const QString&) override { fail("folder chooser"); }

private:
    [[noreturn]] static void fail(const char* what) {
        std::fprintf(stderr, "unexpected %s\n", what);
        std::exit(3);
    }
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

QStringList readList(const QString& path) {
    QFile file(path);
    QStringList names;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return names;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty()) names << line;
    }
    return names;
}

// Counts paint events of the rows area of the results list, to know when the
// results window has been drawn with its rows.
class PaintWatch : public QObject {
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        const QObject* list = watched->parent();
        if (list && list->objectName() == QLatin1String("ListView1") &&
            static_cast<QWidget*>(watched)->window()->objectName() == QLatin1String("Form2"))
            ++paints;
        return false;
    }

    // Processes events until the rows have been painted again.
    void waitForPaint() {
        const int before = paints;
        for (int round = 0; round < 1000 && paints == before; ++round)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (paints == before) {
            std::fprintf(stderr, "the results were never painted\n");
            std::exit(4);
        }
    }
};

// The program as a user meets it, with the built-in lists loaded.
struct Program {
    QTemporaryDir folder;
    CountingDialogs dialogs;
    std::unique_ptr<platform::Settings> settings;
    std::unique_ptr<QuietShell> shell;
    std::vector<QStringList> launches;
    std::unique_ptr<platform::DesktopSpreadsheet> spreadsheet;
    std::unique_ptr<app::Form1> form1;

    Program() {
        const QDir dir(folder.path());
        dir.mkpath("program");
        dir.mkpath("settings");
        dir.mkpath("output");
        QFile::copy(QStringLiteral(QF_PROGRAM_DIR "/names.mdb"), dir.filePath("program/names.mdb"));
        settings = std::make_unique<platform::Settings>(dir.filePath("settings"));
        shell = std::make_unique<QuietShell>(dir.filePath("output"));
        // The workbook is built and handed over; no spreadsheet program is started.
        spreadsheet = std::make_unique<platform::DesktopSpreadsheet>(
            "spreadsheet", [this](const QString& program, const QStringList& arguments) {
                launches.push_back(QStringList{program} + arguments);
                return true;
            });
        form1 = std::make_unique<app::Form1>(app::Environment{
            dialogs, *settings, *shell, spreadsheet.get(), dir.filePath("program")});
        if (form1->firstNames().count() == 0 || form1->lastNames().count() == 0) {
            // Without the list load, the built-in lists straight from their files.
            const QString data = QStringLiteral(QF_PROJECT_DIR "/data/");
            form1->firstNames().clear();
            form1->firstNames().addAll(readList(data + "male_first.txt") +
                                       readList(data + "female_first.txt"));
            form1->lastNames().clear();
            form1->lastNames().addAll(readList(data + "last.txt"));
        }
        form1->Option4->setChecked(true);
        form1->Text1->setText(QStringLiteral("1000000.7"));  // 1,000,001 rows
        form1->show();
        QCoreApplication::processEvents();
        if (!dialogs.messages.isEmpty()) {
            std::fprintf(stderr, "start-up reported: %s\n",
                         qPrintable(dialogs.messages.join('\n')));
            std::exit(5);
        }
    }
    ~Program() {
        for (const QStringList& launch : launches) QFile::remove(launch.last());
    }

    results::Form2& form2() { return form1->Form2(); }

    // From the press on "Start Generating" to the results window drawn with its rows.
    double generate() {
        PaintWatch watch;  // the first run also creates the results window
        const bench::Stopwatch clock;
        form1->PushButton1->click();
        watch.waitForPaint();
        const double seconds = clock.seconds();
        check(form2().isVisible() && form2().results().rowCount() == 1000001,
              "the results window does not show 1,000,001 rows");
        return seconds;
    }

    double save(QRadioButton* output) {
        form2().Text2->setText(QDir(folder.path()).filePath("output"));
        output->setChecked(true);
        const bench::Stopwatch clock;
        form2().PushButton2->click();
        const double seconds = clock.seconds();
        check(dialogs.messages.size() == (output == form2().Option4 ? 1 : 0),
              "saving reported something unexpected");
        return seconds;
    }

    static void check(bool condition, const char* what) {
        if (condition) return;
        std::fprintf(stderr, "%s\n", what);
        std::exit(6);
    }
};

const bench::Registrar generateRows{
    {"generate 1,000,001 First and Last Name rows, click to shown", "<= 0.25 s, <= 120 MB", [] {
         Program program;
         return program.generate();
     }}};

const bench::Registrar saveText{
    {"save 1,000,001 rows as results.txt", "<= 0.2 s", [] {
         Program program;
         program.generate();
         const double seconds = program.save(program.form2().Option4);
         const QString file = QDir(program.folder.path()).filePath("output/results.txt");
         Program::check(QFile(file).size() > 10000000, "results.txt was not written");
         return seconds;
     }}};

const bench::Registrar saveWorkbook{
    {"build the 1,000,001-row workbook, Excel (2 cells)", "<= 5 s", [] {
         Program program;
         program.generate();
         const double seconds = program.save(program.form2().Option5);
         Program::check(
             program.launches.size() == 1 && QFile(program.launches[0].last()).size() > 1000000,
             "the workbook was not handed over");
         return seconds;
     }}};

const bench::Registrar scrollToEnd{{"scroll the results list to its last row", "instant", [] {
                                        Program program;
                                        program.generate();
                                        QTableView* list = program.form2().ListView1;
                                        PaintWatch watch;
                                        const bench::Stopwatch clock;
                                        list->scrollToBottom();
                                        watch.waitForPaint();
                                        return clock.seconds();
                                    }}};

}  // namespace
