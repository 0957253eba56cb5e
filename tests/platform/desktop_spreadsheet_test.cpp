// The desktop's spreadsheet program: finding it, the folder its workbooks go to,
// sweeping old workbooks, and what happens when it is missing or does not start.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <utility>
#include <vector>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/failure.h"
#include "platform/spreadsheet.h"
#include "platform/workbook_folder.h"
#include "support/qt_printers.h"

namespace {

// A file holding these bytes.
void writeFile(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

TEST(DesktopSpreadsheet, AWorkbookFolderNotOfThisUsersOwnIsNotUsed) {
    QTemporaryDir base;
    const QString open = base.filePath("open"), link = base.filePath("link");
    ASSERT_TRUE(QDir(base.path()).mkdir("open") && ::chmod(qPrintable(open), 0755) == 0);
    ASSERT_TRUE(QDir(base.path()).mkdir("private"));
    ASSERT_TRUE(QFile::link(base.filePath("private"), link));
    for (const QString& folder : {open, link}) {
        platform::DesktopSpreadsheet desktop(
            "/usr/bin/spreadsheet", [](const QString&, const QStringList&) { return true; },
            folder);
        EXPECT_THROW(desktop.createApplication()->addWorkbook(), platform::Failure)
            << folder.toStdString();
        EXPECT_TRUE(QDir(folder).isEmpty()) << folder.toStdString();
    }
}

enum class Held { Nothing, OpenFile, Mapping, LockFile };

// Workbooks left behind: those older than a day go, unless the spreadsheet
// program may still be reading them.
TEST(RemoveStaleWorkbooks, RemovesOnlyOldWorkbooksThatNothingHolds) {
    QTemporaryDir folder;
    const QDateTime now = QDateTime::currentDateTime();
    const struct {
        const char* name;
        int hoursOld;
        Held held;
        bool kept;
    } cases[] = {
        {"Quillfern-aaaaaa.xlsx", 25, Held::Nothing, false},
        {"Quillfern-cccccc.xlsx", 23, Held::Nothing, true},
        {"Quillfern-dddddd.xlsx", 48, Held::OpenFile, true},
        {"Quillfern-eeeeee.xlsx", 48, Held::Mapping, true},
        {"Quillfern-ffffff.xlsx", 48, Held::LockFile, true},
        {"notes.xlsx", 48, Held::Nothing, true},
    };
    std::vector<std::unique_ptr<QFile>> open;
    std::vector<std::pair<void*, size_t>> mappings;
    for (const auto& c : cases) {
        const QString path = folder.filePath(c.name);
        writeFile("PK workbook", path);
        const timespec changed{now.toSecsSinceEpoch() - c.hoursOld * 3600, 0};
        const timespec times[2] = {changed, changed};
        ASSERT_EQ(::utimensat(AT_FDCWD, qPrintable(path), times, 0), 0);
        if (c.held == Held::OpenFile) {
            open.push_back(std::make_unique<QFile>(path));
            ASSERT_TRUE(open.back()->open(QIODevice::ReadOnly));
        } else if (c.held == Held::Mapping) {
            // Mapped, and its descriptor closed.
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
            void* mapped = ::mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE, fd, 0);
            ::close(fd);
            ASSERT_NE(mapped, MAP_FAILED);
            mappings.emplace_back(mapped, 4096);
        } else if (c.held == Held::LockFile) {
            writeFile("", folder.filePath(QString(".~lock.") + c.name + "#"));
        }
    }
    platform::removeStaleWorkbooks(folder.path(), now);
    for (const auto& c : cases) EXPECT_EQ(QFile::exists(folder.filePath(c.name)), c.kept) << c.name;
    for (const auto& [address, length] : mappings) ::munmap(address, length);

    // In a folder open to others nothing is removed.
    ASSERT_TRUE(QFile::setPermissions(
        folder.path(), QFile::permissions(folder.path()) | QFile::ReadOther | QFile::ExeOther));
    open.clear();
    platform::removeStaleWorkbooks(folder.path(), now.addDays(365));
    EXPECT_TRUE(QFile::exists(folder.filePath("Quillfern-cccccc.xlsx")));
}

TEST(DesktopSpreadsheet, WithoutAProgramCreatingTheApplicationFails) {
    platform::DesktopSpreadsheet none(QString(), [](const QString&, const QStringList&) {
        ADD_FAILURE() << "nothing may be started";
        return false;
    });
    try {
        none.createApplication();
        ADD_FAILURE() << "created";
    } catch (const platform::Failure& failure) {
        EXPECT_TRUE(failure.description().contains("No spreadsheet program"));
    }
}

TEST(DesktopSpreadsheet, AProgramThatDoesNotStartIsAFailure) {
    platform::DesktopSpreadsheet broken("/usr/bin/spreadsheet",
                                        [](const QString&, const QStringList&) { return false; });
    auto application = broken.createApplication();
    application->addWorkbook();
    application->setCell(1, 1, "Anna");
    EXPECT_THROW(application->setCell(0, 1, "x"), platform::Failure);
    EXPECT_THROW(application->makeVisible(), platform::Failure);
}

// The search path of the test process, replaced for one test; the desktop's
// folders of applications and associations point there too, so that no
// installed default application takes the place of the search.
class SearchPath {
public:
    explicit SearchPath(const QString& path) {
        for (const char* name :
             {"PATH", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
            saved_.emplace_back(name, qgetenv(name));
            qputenv(name, QFile::encodeName(path));
        }
    }
    ~SearchPath() {
        for (const auto& [name, value] : saved_) qputenv(name, value);
    }

private:
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

void makeProgram(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(DesktopSpreadsheet, FindsTheSpreadsheetProgramOnTheSearchPath) {
    QTemporaryDir bin;
    SearchPath path(bin.path());
    EXPECT_EQ(platform::DesktopSpreadsheet::findProgram(), "");
    EXPECT_THROW(platform::DesktopSpreadsheet().createApplication(), platform::Failure);
    makeProgram(bin.filePath("soffice"));
    EXPECT_EQ(platform::DesktopSpreadsheet::findProgram(), bin.filePath("soffice"));
    makeProgram(bin.filePath("libreoffice"));
    EXPECT_EQ(platform::DesktopSpreadsheet::findProgram(), bin.filePath("libreoffice"));
}

}  // namespace
