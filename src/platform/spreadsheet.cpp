#include "platform/spreadsheet.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <dlfcn.h>
#include <minizip/zip.h>
#include <xlsxwriter.h>

#include "platform/desktop_applications.h"
#include "platform/failure.h"

namespace platform {

namespace {

constexpr int kMaxColumns = 16384;

// The spreadsheet programs looked for on the search path, in this order.
constexpr const char* kSearchedPrograms[] = {"libreoffice", "soffice", "localc"};

// Workbooks are named Quillfern-<six random characters>.xlsx.
const QString kWorkbookPrefix = QStringLiteral("Quillfern-");
const QString kWorkbookSuffix = QStringLiteral(".xlsx");
constexpr qint64 kStaleAfterSeconds = 24 * 60 * 60;

// True when the path is a folder (not a link to one) that belongs to this
// user and is closed to everyone else.
bool isOwnPrivateFolder(const QString& folder) {
    struct stat info {};
    return ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// Makes the workbook folder when it is missing. A folder of that name that
// someone else made, or opened to others, is not used: the workbooks in it
// could be read or swapped.
void preparePrivateFolder(const QString& folder) {
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    if (!isOwnPrivateFolder(folder))
        throw Failure(QStringLiteral("Cannot create a temporary workbook file: ") + folder +
                      QStringLiteral(" is not a folder of this user's own"));
}

using FileId = std::pair<dev_t, ino_t>;

// The entries of a folder; none when it cannot be read (another user's
// process, or one that has just ended). Never throws.
std::vector<std::filesystem::path> entriesOf(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> entries;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        entries.push_back(entry->path());
    return entries;
}

// The files that some process of this user has open or mapped into memory,
// as /proc lists them.
std::set<FileId> filesInUse() {
    std::set<FileId> inUse;
    for (const std::filesystem::path& process : entriesOf("/proc")) {
        if (process.filename().string().find_first_not_of("0123456789") != std::string::npos)
            continue;
        for (const std::filesystem::path& fd : entriesOf(process / "fd")) {
            struct stat info {};
            if (::stat(fd.c_str(), &info) == 0) inUse.insert({info.st_dev, info.st_ino});
        }
        std::ifstream maps(process / "maps");
        std::string line;
        while (std::getline(maps, line)) {
            unsigned major = 0, minor = 0;
            unsigned long inode = 0;
            if (std::sscanf(line.c_str(), "%*s %*s %*s %x:%x %lu", &major, &minor, &inode) == 3 &&
                inode != 0)
                inUse.insert({makedev(major, minor), static_cast<ino_t>(inode)});
        }
    }
    return inUse;
}

QString describe(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

int characterCount(std::string_view utf8) {
    return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

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
        QTemporaryFile file(
            QDir(folder_).filePath(kWorkbookPrefix + QStringLiteral("XXXXXX") + kWorkbookSuffix));
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

XlsxWorkbook::XlsxWorkbook(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    workbook_ = workbook_new_opt(name.constData(), &options);
    if (workbook_) sheet_ = workbook_add_worksheet(workbook_, nullptr);
    if (!sheet_) {
        if (workbook_) workbook_close(workbook_);
        throw Failure(QStringLiteral("Cannot create a new workbook"));
    }
}

XlsxWorkbook::~XlsxWorkbook() {
    if (workbook_) workbook_close(workbook_);
}

void XlsxWorkbook::setCell(int row, int column, std::string_view text) {
    if (!sheet_) throw Failure(QStringLiteral("No workbook is open"));
    if (row < 1 || row > kWorksheetRows || column < 1 || column > kMaxColumns)
        throw Failure(QStringLiteral("Subscript out of range"));
    if (text.empty()) return;
    cell_.assign(text);
    const lxw_error error =
        worksheet_write_string(sheet_, static_cast<lxw_row_t>(row - 1),
                               static_cast<lxw_col_t>(column - 1), cell_.c_str(), nullptr);
    if (error != LXW_NO_ERROR) throw Failure(describe(error));
    checkRowsWritten(false);
    int& widest = widest_[column];
    widest = std::max(widest, characterCount(text));
}

void XlsxWorkbook::fitColumns() {
    if (!sheet_) throw Failure(QStringLiteral("No workbook is open"));
    for (const auto& [column, characters] : widest_) {
        // Column widths count characters of the default font; names run a
        // little wider than digits, so leave room of two characters.
        const double width = std::min(255.0, characters + 2.0);
        const lxw_col_t index = static_cast<lxw_col_t>(column - 1);
        const lxw_error error = worksheet_set_column(sheet_, index, index, width, nullptr);
        if (error != LXW_NO_ERROR) throw Failure(describe(error));
    }
}

void XlsxWorkbook::checkRowsWritten(bool flush) const {
    // Finished rows go to a temporary file whose write errors the library
    // does not report: a full disk would leave a workbook without its last rows.
    FILE* rows = sheet_->optimize_tmpfile;
    if (rows && ((flush && std::fflush(rows) != 0) || std::ferror(rows)))
        throw Failure(QStringLiteral("Cannot write the workbook's rows to a temporary file: ") +
                      QString::fromLocal8Bit(std::strerror(errno)));
}

void XlsxWorkbook::close() {
    if (!workbook_) throw Failure(QStringLiteral("No workbook is open"));
    checkRowsWritten(true);
    const lxw_error error = workbook_close(workbook_);
    workbook_ = nullptr;
    sheet_ = nullptr;
    if (error != LXW_NO_ERROR)
        throw Failure(QStringLiteral("Cannot write the workbook: ") + describe(error));
}

DesktopSpreadsheet::DesktopSpreadsheet() : launcher_(startDetached), folder_(workbookFolder()) {}

DesktopSpreadsheet::DesktopSpreadsheet(Launcher launcher)
    : launcher_(std::move(launcher)), folder_(workbookFolder()) {}

DesktopSpreadsheet::DesktopSpreadsheet(QString program, Launcher launcher, QString workbookFolder)
    : searchPath_(false),
      program_(std::move(program)),
      launcher_(std::move(launcher)),
      folder_(std::move(workbookFolder)) {}

QString DesktopSpreadsheet::workbookFolder() {
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("Quillfern-workbooks-") + QString::number(::geteuid()));
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

void removeStaleWorkbooks(const QString& folder, const QDateTime& now) {
    // The folder is open to this user alone, so only this user's processes
    // can have read a workbook in it, and /proc shows what each of them has
    // open. The spreadsheet program is handed a workbook and opens it in its
    // own time; while it reads it, or keeps it as an open document, it holds
    // the file open or mapped, and a program that edits it in place keeps a
    // lock file ".~lock.<name>#" beside it. A workbook is removed only when
    // it is older than a day and none of these holds. Most starts find no
    // workbook that old and never look at /proc.
    if (!isOwnPrivateFolder(folder)) return;
    const QDir dir(folder);
    const qint64 staleBefore = now.toSecsSinceEpoch() - kStaleAfterSeconds;
    std::vector<std::pair<QString, FileId>> stale;
    for (const QString& name :
         dir.entryList({kWorkbookPrefix + QLatin1Char('*') + kWorkbookSuffix}, QDir::Files)) {
        const QString path = dir.filePath(name);
        struct stat info {};
        if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_mtime >= staleBefore ||
            dir.exists(QStringLiteral(".~lock.") + name + QLatin1Char('#')))
            continue;
        stale.push_back({path, {info.st_dev, info.st_ino}});
    }
    if (stale.empty()) return;
    const std::set<FileId> inUse = filesInUse();
    for (const auto& [path, id] : stale)
        if (!inUse.count(id)) QFile::remove(path);
}

}  // namespace platform

// Workbooks are the only zip files this program writes. Each part of one is
// deflated at the fastest level: a million-row sheet then compresses in a
// fraction of the time, for a file somewhat larger.
extern "C" int zipOpenNewFileInZip4_64(zipFile file, const char* filename,
                                       const zip_fileinfo* zipfi, const void* extrafield_local,
                                       uInt size_extrafield_local, const void* extrafield_global,
                                       uInt size_extrafield_global, const char* comment, int method,
                                       int level, int raw, int windowBits, int memLevel,
                                       int strategy, const char* password, uLong crcForCrypting,
                                       uLong versionMadeBy, uLong flagBase, int zip64) {
    using Open = decltype(&zipOpenNewFileInZip4_64);
    static const auto open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (!open) return ZIP_INTERNALERROR;
    if (method == Z_DEFLATED && level != 0) level = Z_BEST_SPEED;
    return open(file, filename, zipfi, extrafield_local, size_extrafield_local, extrafield_global,
                size_extrafield_global, comment, method, level, raw, windowBits, memLevel, strategy,
                password, crcForCrypting, versionMadeBy, flagBase, zip64);
}
