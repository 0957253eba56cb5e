// Copying a million results to the clipboard from the results window, offscreen:
// Select All and Copy as the list's keys run them, with the repaint after them.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTableView>
#include <QTemporaryDir>

#include <stdexcept>
#include <string>

#include "benchmark.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "results/form2.h"
#include "results/result_list.h"

namespace {

constexpr int kRows = 1000000;

// No dialog may come up while copying.
class NoDialogs : public platform::Dialogs {
public:
    void messageBox(const QString& text, platform::MessageStyle, const QString&) override {
        fail(text);
    }
    QString inputBox(const QString&, const QString&) override { fail("input box"); }
    QStringList openFiles(QWidget*, const QString&, const QString&) override { fail("open"); }
    QString chooseFolder(QWidget*, const QString&) override { fail("folder"); }

private:
    [[noreturn]] static void fail(const QString& what) {
        throw std::runtime_error("unexpected dialog: " + what.toStdString());
    }
};

class QuietShell : public platform::Shell {
public:
    QString desktopFolder() override { return QStringLiteral("/tmp"); }
    void openUrl(const QString&) override {}
    void endProgram() override {}
};

QAction* listAction(const results::Form2& form, const char* caption) {
    for (QAction* action : form.ListView1->actions())
        if (action->text() == QLatin1String(caption)) return action;
    throw std::runtime_error(std::string("no list action ") + caption);
}

bench::Measurement copyMillionRows() {
    QTemporaryDir folder;
    platform::Settings settings(folder.path());
    NoDialogs dialogs;
    QuietShell shell;
    results::Form2 form(widgets::Environment{dialogs, settings, shell, nullptr, folder.path()},
                        QStringLiteral("Quillfern"), nullptr);
    results::ResultList& list = form.results();
    list.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        const std::string number = std::to_string(i);
        list.addUtf8Row({"Christopher", " ", number});
    }
    list.publish();
    form.show();
    QApplication::processEvents();

    const bench::Stopwatch watch;
    listAction(form, "Select All")->trigger();
    listAction(form, "Copy")->trigger();
    QApplication::processEvents();
    const bench::Measurement measured = watch.lap();

    const QString copied = QGuiApplication::clipboard()->text();
    if (!copied.startsWith(QStringLiteral("Christopher 0\nChristopher 1\n")) ||
        !copied.endsWith(QStringLiteral("\nChristopher 999999")) ||
        copied.count(QLatin1Char('\n')) != kRows - 1)
        throw std::runtime_error("the clipboard does not hold the million rows");
    return measured;
}

const bench::Registrar registrar{{"select all and copy 1,000,000 results to the clipboard",
                                  "<= 0.25 s", copyMillionRows,
                                  [] { return std::vector<std::string>{}; }}};

}  // namespace
