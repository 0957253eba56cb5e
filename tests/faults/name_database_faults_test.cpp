// A name database that is missing, read-only, locked, cut short or no
// database at all: the main window still opens, says what failed where, and
// leaves the file as it found it.
#include <sqlite3.h>

#include <functional>
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include "file_faults.h"
#include "guarded/failure_report.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/pointer.h"
#include "support/form1_fixture.h"

namespace {

using testsupport::TempDatabase;

const QString kLoadTag = QStringLiteral("Tolvarine2021/08/31.Form1.Form_Load");

// Another program's connection holding the file: with the file locked for
// itself, or in the middle of writing to it.
class OtherConnection {
public:
    OtherConnection(const QString& path, const char* take) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        taken_ = sqlite3_exec(db_, take, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~OtherConnection() {
        sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;
    bool taken() const { return taken_; }

private:
    sqlite3* db_ = nullptr;
    bool taken_ = false;
};

constexpr char kLockedForItself[] = "pragma locking_mode=EXCLUSIVE; begin exclusive";

// A file that stays locked is waited for briefly here, not for the seconds
// that the program gives another copy of itself.
class ShortBusyTimeout {
public:
    ShortBusyTimeout() { platform::Database::setBusyTimeout(std::chrono::milliseconds(100)); }
    ~ShortBusyTimeout() { platform::Database::setBusyTimeout(platform::Database::kBusyTimeout); }
    ShortBusyTimeout(const ShortBusyTimeout&) = delete;
    ShortBusyTimeout& operator=(const ShortBusyTimeout&) = delete;
};

void replaceWith(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct DatabaseFault {
    const char* name;
    // Spoils the database at the path; what it returns keeps the fault in
    // place until the window has started (nullptr: the fault cannot be made here).
    std::function<std::shared_ptr<void>(const QString& path)> make;
    QString description;  // as the engine gives it
};

void PrintTo(const DatabaseFault& fault, std::ostream* out) {
    *out << fault.name;
}

const DatabaseFault kFaults[] = {
    {"Missing",
     [](const QString& path) {
         QFile::remove(path);
         return std::make_shared<int>();
     },
     "unable to open database file"},
    {"AFolderInItsPlace",
     [](const QString& path) {
         QFile::remove(path);
         QDir().mkdir(path);
         return std::make_shared<int>();
     },
     "unable to open database file"},
    {"TextFile",
     [](const QString& path) {
         replaceWith(path, "Ann\r\nBob\r\nCy\r\n");
         return std::make_shared<int>();
     },
     "file is not a database"},
    {"RandomBytes",
     [](const QString& path) {
         replaceWith(path, faults::randomBytes(8192, 5));
         return std::make_shared<int>();
     },
     "file is not a database"},
    {"TruncatedToHalf",
     [](const QString& path) {
         QFile file(path);
         file.resize(file.size() / 2);
         return std::make_shared<int>();
     },
     "database disk image is malformed"},
    {"Empty",
     [](const QString& path) {
         replaceWith(path, {});
         return std::make_shared<int>();
     },
     "no such table: system_lastname"},
    {"LockedForItself",
     [](const QString& path) -> std::shared_ptr<void> {
         auto other = std::make_shared<OtherConnection>(path, kLockedForItself);
         return other->taken() ? other : nullptr;
     },
     "database is locked"},
    {"ReadOnly",
     [](const QString& path) -> std::shared_ptr<void> {
         auto readOnly = std::make_shared<faults::ReadOnly>(path);
         return readOnly->holds() ? readOnly : nullptr;
     },
     "attempt to write a readonly database"},
    // The engine cannot make the log file that it reads the database through.
    {"InAReadOnlyFolder",
     [](const QString& path) -> std::shared_ptr<void> {
         auto readOnly = std::make_shared<faults::ReadOnly>(QFileInfo(path).path());
         return readOnly->holds() ? readOnly : nullptr;
     },
     "unable to open database file"},
};

class StartWithABadDatabase : public testsupport::Form1Fixture,
                              public ::testing::WithParamInterface<DatabaseFault> {
protected:
    StartWithABadDatabase() {
        db = std::make_unique<TempDatabase>(QStringLiteral(QF_BUILT_NAMES_DB));
    }
    ShortBusyTimeout shortWait;
};

TEST_P(StartWithABadDatabase, TheWindowOpensReportsTheLoadsAndChangesNoFile) {
    const DatabaseFault& fault = GetParam();
    const QString path = db->path();
    std::shared_ptr<void> held = fault.make(path);
    if (!held) GTEST_SKIP() << "this fault cannot be made here";
    const QByteArray bytes = faults::contents(path);
    // Without the other program's own log files, which go with it.
    QStringList entries = faults::entries(db->folder());
    entries.removeIf(
        [](const QString& entry) { return entry.endsWith("-wal") || entry.endsWith("-shm"); });

    // The list load at start-up, then the two options that start-up turns on
    // and that reload the lists.
    dialogs.expectMessageBox(3);
    start();
    const QString& failure = fault.description;
    EXPECT_EQ(dialogs.messages(), (QStringList{guarded::failureMessage(failure, kLoadTag, 136),
                                               guarded::failureMessage(failure, kLoadTag, 138),
                                               guarded::failureMessage(failure, kLoadTag, 142)}));
    EXPECT_EQ(dialogs.shown()[0].style, platform::MessageStyle::Warning);
    EXPECT_EQ(dialogs.shown()[0].title, "Application Error");
    EXPECT_TRUE(firstShown().isEmpty());
    EXPECT_TRUE(lastShown().isEmpty());
    EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
    EXPECT_EQ(form->Text1->text(), "100");

    held.reset();
    form.reset();
    EXPECT_EQ(faults::entries(db->folder()), entries);
    EXPECT_EQ(faults::contents(path), bytes);
}

INSTANTIATE_TEST_SUITE_P(Faults, StartWithABadDatabase, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// With the file held by another program, every change fails; the names
// already stored stay, and so do the lists that show them.
class ChangesWhileLocked : public testsupport::Form1Fixture {
protected:
    ChangesWhileLocked()
        : Form1Fixture({.userFirst = {"Ulla", "Ute"}, .userLast = {"Vance", "Ward"}}) {}
    ShortBusyTimeout shortWait;
};

QString report(const char* object, const char* procedure, int line, const char* description) {
    return guarded::failureMessage(description, guarded::locationTag(object, procedure), line);
}

TEST_F(ChangesWhileLocked, NoStoredNameIsLost) {
    chooseUserList();
    start();
    const QByteArray bytes = faults::contents(db->path());
    const QString names = writeFile("last.txt", "Xu\r\nYoung\r\n");
    constexpr char kLocked[] = "database is locked";
    constexpr char kNotOpen[] = "The database connection is not open";
    {
        OtherConnection other(db->path(), kLockedForItself);
        ASSERT_TRUE(other.taken());
        dialogs.expectMessageBox();
        dialogs.answerInputBox("Zed");
        dialogs.expectMessageBox(2);
        form->PushButton2->click();  // "Add First Name"
        dialogs.answerOpenFiles({names});
        dialogs.expectMessageBox(2);
        form->PushButton7->click();  // "Load Last Names From File"
        dialogs.expectMessageBox(6);
        form->PushButton4->click();  // "Clear" under the first names
        form->PushButton3->click();  // "Clear" under the last names
        EXPECT_EQ(dialogs.messages(),
                  (QStringList{report("Form1", "PushButton2_Click", 106, kLocked),
                               report("Form1", "PushButton2_Click", 118, kNotOpen),
                               report("Form1", "PushButton2_Click", 122, kLocked),
                               report("Main", "FileToListview", 106, kLocked),
                               report("Form1", "PushButton7_Click", 140, kLocked),
                               report("Form1", "PushButton4_Click", 106, kLocked),
                               report("Form1", "PushButton4_Click", 126, kNotOpen),
                               report("Form1", "PushButton4_Click", 130, kLocked),
                               report("Form1", "PushButton3_Click", 106, kLocked),
                               report("Form1", "PushButton3_Click", 114, kNotOpen),
                               report("Form1", "PushButton3_Click", 118, kLocked)}));
        EXPECT_EQ(firstShown(), (QStringList{"Ulla", "Ute"}));
        EXPECT_EQ(lastShown(), (QStringList{"Vance", "Ward"}));
        EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
    }
    EXPECT_EQ(faults::contents(db->path()), bytes);
    EXPECT_EQ(db->names("user_firstname"), (QStringList{"Ulla", "Ute"}));
    EXPECT_EQ(db->names("user_lastname"), (QStringList{"Vance", "Ward"}));
}

// Another copy of the program in a process of its own, holding the file
// (see database_holder.cpp); it ends when this object does.
class OtherCopy {
public:
    OtherCopy(const QString& path, const QStringList& arguments) {
        process_.start(QStringLiteral(QF_DATABASE_HOLDER), QStringList{path} + arguments);
    }
    ~OtherCopy() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(60000)) process_.kill();
        process_.waitForFinished();
    }
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;

    // The next line it prints ("held", "done" or a failure).
    QString nextLine() {
        while (!process_.canReadLine() && process_.waitForReadyRead(60000)) {
        }
        return QString::fromUtf8(process_.readLine()).trimmed();
    }
    void tell(const QByteArray& line) {
        process_.write(line + '\n');
        process_.waitForBytesWritten();
    }

private:
    QProcess process_;
};

class TwoCopies : public testsupport::Form1Fixture {
protected:
    TwoCopies() : Form1Fixture({.userFirst = {"Ulla"}, .userLast = {"Vance"}}) {}
};

TEST_F(TwoCopies, WhileTheOtherHoldsAConnectionEveryChangeWorks) {
    chooseUserList();
    OtherCopy other(db->path(), {"connection"});
    ASSERT_EQ(other.nextLine(), "held");
    start();
    EXPECT_EQ(firstShown(), QStringList{"Ulla"});
    dialogs.answerInputBox("Zed");
    form->PushButton2->click();  // "Add First Name"
    dialogs.answerOpenFiles({writeFile("last.txt", "Xu\r\nYoung\r\n")});
    form->PushButton7->click();  // "Load Last Names From File"
    EXPECT_EQ(db->names("user_firstname"), (QStringList{"Ulla", "Zed"}));
    EXPECT_EQ(lastShown(), (QStringList{"Vance", "Xu", "Young"}));
    form->PushButton3->click();  // "Clear" under the last names
    EXPECT_TRUE(db->names("user_lastname").isEmpty());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(TwoCopies, WhileTheOtherWritesThisOneReadsAndItsImportWaitsForTheCommit) {
    chooseUserList();
    OtherCopy other(db->path(), {"write", "300", "Held"});
    ASSERT_EQ(other.nextLine(), "held");
    start();  // reads what was stored before the other began
    EXPECT_EQ(lastShown(), QStringList{"Vance"});

    other.tell("commit soon");
    dialogs.answerOpenFiles({writeFile("last.txt", "Xu\r\nYoung\r\n")});
    form->PushButton7->click();
    EXPECT_EQ(other.nextLine(), "done");
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(db->names("user_lastname"), (QStringList{"Vance", "Held", "Xu", "Young"}));
    EXPECT_EQ(lastShown(), (QStringList{"Held", "Vance", "Xu", "Young"}));
}

}  // namespace
