#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include <QString>
#include <QStringList>

#include "platform/workbook.h"

namespace platform {

// One new instance of the spreadsheet program with one new workbook, driven in
// the order: add the workbook, set cells, fit the columns, make it visible.
// Every operation throws platform::Failure when it cannot be done.
class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;
    virtual void addWorkbook() = 0;
    // A cell of the active sheet; row and column count from 1; text in UTF-8.
    // Empty text leaves the cell empty.
    virtual void setCell(int row, int column, std::string_view text) = 0;
    // Fits the width of every column to its contents.
    virtual void fitColumns() = 0;
    // Hands the workbook to the user as a new, unsaved document.
    virtual void makeVisible() = 0;
};

class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;
    // Throws platform::Failure when no spreadsheet program can be found.
    virtual std::unique_ptr<SpreadsheetApplication> createApplication() = 0;
};

// The desktop's spreadsheet program: the workbook is written to a temporary
// .xlsx file, which the program then opens. The program is the user's default
// application for workbooks, else one found on the search path.
class DesktopSpreadsheet : public Spreadsheet {
public:
    // Starts a program with arguments without waiting for it; false on failure.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

    // Looks for the program when an application is created.
    DesktopSpreadsheet();
    // Looks for the program likewise, and starts it through `launcher`.
    explicit DesktopSpreadsheet(Launcher launcher);
    // A given program ("" for none), launcher and folder for the workbooks,
    // for tests and measurements.
    DesktopSpreadsheet(QString program, Launcher launcher,
                       QString workbookFolder = DesktopSpreadsheet::workbookFolder());

    // The folder of this program's own in the temporary folder that holds the
    // workbooks handed to the spreadsheet program, open to this user alone.
    static QString workbookFolder();

    std::unique_ptr<SpreadsheetApplication> createApplication() override;

    // The first spreadsheet program found on the search path, or "".
    static QString findProgram();
    // The arguments that open `file` as a new, untitled document.
    static QStringList newDocumentArguments(const QString& file);
    // The command line (program first) that opens `file` with the default
    // application of a desktop file; the search path's program opens it as a
    // new document, and so does the default application when it is that program.
    static QStringList workbookCommand(const QString& desktopFile, const QString& file);

private:
    bool searchPath_ = true;
    QString program_;
    Launcher launcher_;
    QString folder_;
};

}  // namespace platform
