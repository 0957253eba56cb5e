// "Save Results": the text file or a new spreadsheet.
#include <memory>

#include <QLineEdit>
#include <QRadioButton>

#include "guarded/failure_report.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/spreadsheet.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "results/saving.h"
#include "widgets/failure_box.h"

namespace results {

void Form2::PushButton2_Click() {
    widgets::WindowProcedure procedure(env_.dialogs,
                                       guarded::locationTag("Form2", "PushButton2_Click"));
    if (procedure.test(106, [this] { return !platform::FolderExists(Text2->text()); })) {
        procedure.run(162, [this] { message(QLatin1String(kFolderMissing)); });
        return;
    }
    if (procedure.test(108, [this] { return Option4->isChecked(); })) {
        QString path;
        QByteArray text;
        procedure.run(110, [&] { path = Text2->text() + QStringLiteral("/results.txt"); });
        procedure.run(112, [&] { path = platform::NormalizePath(path); });
        procedure.run(118, [&] { text = results_->linesWithCrLf(); });
        // A file that could not be written is not announced as created.
        if (!procedure.run(122, [&] { WriteTextFile(text, path); })) return;
        procedure.run(124, [&] { message(completionMessage(path)); });
        return;
    }
    if (procedure.test(126, [this] { return Option5->isChecked(); })) {
        saveToSpreadsheet(procedure, true);
        return;
    }
    if (procedure.test(146, [this] { return Option6->isChecked(); }))
        saveToSpreadsheet(procedure, false);
}

// The spreadsheet outputs: one row per result, the whole name in column A, or
// its given name in A and its family name in B (for rows without parts, the
// first word and the second).
void Form2::saveToSpreadsheet(guarded::Procedure& procedure, bool twoCells) {
    const int create = twoCells ? 128 : 148;
    const int addWorkbook = twoCells ? 130 : 150;
    const int fit = twoCells ? 142 : 158;
    const int show = twoCells ? 144 : 160;

    std::unique_ptr<platform::SpreadsheetApplication> application;
    // Without a spreadsheet program, or without a workbook, nothing below can
    // work: one report, and the save ends.
    const bool created = procedure.run(create, [&] {
        if (!env_.spreadsheet)
            throw platform::Failure(QStringLiteral("No spreadsheet program was found"));
        application = env_.spreadsheet->createApplication();
    });
    if (!created) return;
    if (!procedure.run(addWorkbook, [&] { application->addWorkbook(); })) return;

    const int rows = results_->count();
    for (int i = 1; i <= rows; ++i) {
        const std::string_view row = results_->utf8(i - 1);
        if (!twoCells) {
            procedure.run(154, [&] { application->setCell(i, 1, row); });
            continue;
        }
        const ResultList::TwoCells cells = results_->twoCells(i - 1);
        procedure.run(136, [&] { application->setCell(i, 1, cells.first); });
        // A row without a second word or family name: column B stays empty.
        if (cells.hasSecond) procedure.run(138, [&] { application->setCell(i, 2, cells.second); });
    }
    procedure.run(fit, [&] { application->fitColumns(); });
    procedure.run(show, [&] { application->makeVisible(); });
}

}  // namespace results
