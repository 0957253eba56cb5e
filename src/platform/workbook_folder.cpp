#include "platform/workbook_folder.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>

#include "platform/failure.h"

namespace platform {

namespace {

constexpr qint64 kStaleAfterSeconds = 24 * 60 * 60;

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

}  // namespace

QString workbookFolder() {
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("Quillfern-workbooks-") + QString::number(::geteuid()));
}

bool isOwnPrivateFolder(const QString& folder) {
    struct stat info {};
    return ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

void preparePrivateFolder(const QString& folder) {
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    if (!isOwnPrivateFolder(folder))
        throw Failure(QStringLiteral("Cannot create a temporary workbook file: ") + folder +
                      QStringLiteral(" is not a folder of this user's own"));
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
    for (const QString& name : dir.entryList(
             {QLatin1String(kWorkbookPrefix) + QLatin1Char('*') + QLatin1String(kWorkbookSuffix)},
             QDir::Files)) {
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
