// The connection to an SQLite database file: opening, failures, handles.
#include <chrono>
#include <functional>

#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/database.h"
#include "platform/failure.h"
#include "support/open_handles.h"
#include "support/qt_printers.h"

namespace {

// An SQLite database file with one table, in a folder of its own.
class DatabaseFile {
public:
    DatabaseFile() {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(QFile::encodeName(path()).constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "create table names (id integer primary key, name text)",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close_v2(db);
    }
    QString path() const { return dir_.filePath(QStringLiteral("names.mdb")); }

private:
    QTemporaryDir dir_;
};

QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::Failure& failure) {
        return failure.description();
    }
    return QString();
}

TEST(Database, OpeningFailsWithTheEnginesMessageAndNeverCreatesAFile) {
    QTemporaryDir folder;
    const QString missing = folder.filePath("names.mdb");
    platform::Database database;
    EXPECT_EQ(failureOf([&] { database.open(missing); }), "unable to open database file");
    EXPECT_FALSE(database.isOpen());
    EXPECT_FALSE(QFile::exists(missing));

    const QString notADatabase = folder.filePath("text.mdb");
    QFile file(notADatabase);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    EXPECT_EQ(failureOf([&] { database.open(notADatabase); }), "file is not a database");
    EXPECT_EQ(testsupport::openHandlesTo(notADatabase), 0);
}

TEST(Database, AFileLockedByAnotherProgramIsAFailure) {
    DatabaseFile db;
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.path().toUtf8().constData(), &other), SQLITE_OK);
    sqlite3_exec(other, "pragma locking_mode=EXCLUSIVE; begin exclusive", nullptr, nullptr,
                 nullptr);
    platform::Database::setBusyTimeout(std::chrono::milliseconds(100));
    platform::Database database;
    EXPECT_EQ(failureOf([&] { database.open(db.path()); }), "database is locked");
    platform::Database::setBusyTimeout(platform::Database::kBusyTimeout);
    sqlite3_close_v2(other);
    database.open(db.path());
    EXPECT_TRUE(database.isOpen());
}

TEST(Database, AConnectionClosesWithItsScope) {
    DatabaseFile db;
    {
        platform::Database database;
        database.open(db.path());
        EXPECT_EQ(testsupport::openHandlesTo(db.path()), 1);
    }
    EXPECT_EQ(testsupport::openHandlesTo(db.path()), 0);
}

}  // namespace
