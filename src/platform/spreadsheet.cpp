#include "platform/spreadsheet.h"

#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "platform/desktop_applications.h"
#include "platform/failure.h"
#include "platform/workbook_folder.h"

namespace platform {

namespace {

// The spreadsheet programs looked for on the search path, in this order.
constexpr const char* kSearchedPrograms[] = {"libreoffice", "soffice", "localc"};

// A workbook of the spreadsheet program's, built in a temporary file that
// the program opens when it is made visible.
class XlsxApplication : public SpreadsheetApplication {
public:
    // `command` gives the command line that opens a workbook file.
    using Command = std::function<QStringList(const QString& file)>;

    XlsxApplication(Command command, DesktopSpreadsheet::Launcher launcher, QString folder)
        : command_(std::move(command)),
          launcher_(std::move(launcher)),
          folder_(std::move(folder)) {}

    ~XlsxApplication() override {
        if (!workbook_) return;
        // Never shown: drop the unfinished file.
        workbook_.reset();
        QFile::remove(path_);
    }

    void addWorkbook() override {
        if (workbook_) throw Failure(QStringLiteral("A workbook is already open"));
        preparePrivateFolder(folder_);
        QTemporaryFile file(QDir(folder_).filePath(QLatin1String(kWorkbookPrefix) +
                                                   QStringLiteral("XXXXXX") +
                                                   QLatin1String(kWorkbookSuffix)));
        file.setAutoRemove(false);
        if (!file.open())
            throw Failure(QStringLiteral("Cannot create a temporary workbook file: ") +
                          file.errorString());
        path_ = file.fileName();
        file.close();
        try {
            workbook_ = std::make_unique<XlsxWorkbook>(path_);
        } catch (...) {
            QFile::remove(path_);
            throw;
        }
    }

    void setCell(int row, int column, std::string_view text) override {
        opened().setCell(row, column, text);
    }

    void fitColumns() override { opened().fitColumns(); }

    void makeVisible() override {
        const std::unique_ptr<XlsxWorkbook> workbook = std::move(workbook_);
        if (!workbook) throw Failure(QStringLiteral("No workbook is open"));
        try {
            workbook->close();
        } catch (...) {
            QFile::remove(path_);
            throw;
        }
        const QStringList command = command_(path_);
        if (!launcher_(command.first(), command.mid(1))) {
            QFile::remove(path_);
            throw Failure(QStringLiteral("Cannot start the spreadsheet program ") +
                          command.first());
        }
    }

private:
    XlsxWorkbook& opened() {
        if (!workbook_) throw Failure(QStringLiteral("No workbook is open"));
        return *workbook_;
    }

    Command command_;
    DesktopSpreadsheet::Launcher launcher_;
    QString folder_;
    QString path_;
    std::unique_ptr<XlsxWorkbook> workbook_;
};

bool startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

}  // namespace

DesktopSpreadsheet::DesktopSpreadsheet() : launcher_(startDetached), folder_(workbookFolder()) {}

DesktopSpreadsheet::DesktopSpreadsheet(Launcher launcher)
    : launcher_(std::move(launcher)), folder_(workbookFolder()) {}

DesktopSpreadsheet::DesktopSpreadsheet(QString program, Launcher launcher, QString workbookFolder)
    : searchPath_(false),
      program_(std::move(program)),
      launcher_(std::move(launcher)),
      folder_(std::move(workbookFolder)) {}

QString DesktopSpreadsheet::workbookFolder() {
    return platform::workbookFolder();
}

QString DesktopSpreadsheet::findProgram() {
    for (const char* name : kSearchedPrograms) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

QStringList DesktopSpreadsheet::newDocumentArguments(const QString& file) {
    // The file serves as a template: the program opens an untitled copy of it.
    return {QStringLiteral("--calc"), QStringLiteral("-n"), file};
}

QStringList DesktopSpreadsheet::workbookCommand(const QString& desktopFile, const QString& file) {
    QStringList command = commandToOpen(desktopFile, file);
    if (command.isEmpty()) return command;
    const QString program = QFileInfo(command.first()).fileName();
    for (const char* name : kSearchedPrograms)
        if (program == QLatin1String(name))
            return QStringList{command.first()} + newDocumentArguments(file);
    return command;
}

std::unique_ptr<SpreadsheetApplication> DesktopSpreadsheet::createApplication() {
    // The user's default application for workbooks first, then the search path.
    if (searchPath_) {
        const QString desktopFile = defaultApplicationFor(QLatin1String(kWorkbookMimeType));
        if (!desktopFile.isEmpty()) {
            return std::make_unique<XlsxApplication>(
                [desktopFile](const QString& file) { return workbookCommand(desktopFile, file); },
                launcher_, folder_);
        }
    }
    const QString program = searchPath_ ? findProgram() : program_;
    if (program.isEmpty())
        throw Failure(QStringLiteral(
            "No spreadsheet program was found: libreoffice or soffice is needed on the search "
            "path"));
    return std::make_unique<XlsxApplication>(
        [program](const QString& file) {
            return QStringList{program} + newDocumentArguments(file);
        },
        launcher_, folder_);
}

}  // namespace platform
