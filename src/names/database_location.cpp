#include "names/database_location.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <QtGlobal>

#include "platform/failure.h"
#include "platform/files.h"

namespace names {

namespace {

// Waits this long for another running copy of the program to finish a write.
constexpr int kBusyMilliseconds = 500;

struct BuiltInTable {
    const char* table;
    const char* column;
};
constexpr BuiltInTable kBuiltInTables[] = {
    {"system_mfirstname", "Mfirst"},
    {"system_ffirstname", "Ffirst"},
    {"system_lastname", "Last"},
};

// The template, opened read-only and immutable: it may lie in a folder that
// nobody may write to, where SQLite could not keep its lock files.
QByteArray immutableUri(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
}

class Connection {
public:
    Connection(const QByteArray& file, int flags) {
        if (sqlite3_open_v2(file.constData(), &db_, flags | SQLITE_OPEN_URI, nullptr) !=
            SQLITE_OK) {
            // A failed open still holds a handle; the destructor will not run.
            const platform::Failure failure = failureOf(QString::fromLocal8Bit(file));
            sqlite3_close_v2(db_);
            throw failure;
        }
        sqlite3_busy_timeout(db_, kBusyMilliseconds);
    }
    ~Connection() { sqlite3_close_v2(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    static Connection readOnly(const QString& path) {
        return Connection(immutableUri(path), SQLITE_OPEN_READONLY);
    }

    void execute(const QByteArray& sql, const QByteArray& value = {}) {
        Statement statement(*this, sql);
        if (!value.isNull())
            sqlite3_bind_text(statement.handle, 1, value.constData(), -1, SQLITE_STATIC);
        while (statement.step()) {
        }
    }

    // The first column of the first row.
    QString text(const QByteArray& sql) {
        Statement statement(*this, sql);
        if (!statement.step()) return {};
        return QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement.handle, 0)));
    }
    int integer(const QByteArray& sql) { return text(sql).toInt(); }

    // Ends an open transaction without its changes; never throws, so that the
    // failure that led here is the one reported.
    void rollbackQuietly() { sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr); }

private:
    struct Statement {
        Statement(Connection& connection, const QByteArray& sql) : connection(connection) {
            if (sqlite3_prepare_v2(connection.db_, sql.constData(), -1, &handle, nullptr) !=
                SQLITE_OK)
                connection.fail(QString::fromUtf8(sql));
        }
        ~Statement() { sqlite3_finalize(handle); }
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        // True while there is a row.
        bool step() {
            const int rc = sqlite3_step(handle);
            if (rc == SQLITE_ROW) return true;
            if (rc != SQLITE_DONE) connection.fail(QString::fromUtf8(sqlite3_sql(handle)));
            return false;
        }
        Connection& connection;
        sqlite3_stmt* handle = nullptr;
    };

    platform::Failure failureOf(const QString& what) const {
        return platform::Failure(what + QStringLiteral(": ") +
                                 QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : "out of memory"));
    }
    [[noreturn]] void fail(const QString& what) const { throw failureOf(what); }

    sqlite3* db_ = nullptr;
};

int editionOf(Connection& db, const char* schema) {
    return db.integer(QByteArray("pragma ") + schema + ".user_version");
}

// Puts the finished file in place unless a file of that name exists already.
void renameWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return;
    // File systems without that kind of rename: a hard link also refuses an existing name.
    if ((errno == EINVAL || errno == ENOSYS) && ::link(source.constData(), target.constData()) == 0)
        return;
    throw platform::Failure(to + QStringLiteral(": ") +
                            QString::fromLocal8Bit(std::strerror(errno)));
}

void removeCompanions(const QString& path) {
    for (const char* suffix : {"-wal", "-shm", "-journal"}) QFile::remove(path + suffix);
}

}  // namespace

DatabaseFolders programDatabaseFolders() {
    // QF_TEMPLATE_FOLDER_FROM_PROGRAM, set by the build from the install
    // folders, leads from the executable's folder to the template's.
    const QString program = platform::programFolder();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return {program, QDir::cleanPath(program + QStringLiteral("/" QF_TEMPLATE_FOLDER_FROM_PROGRAM)),
            data + QStringLiteral("/quillfern")};
}

bool isUsableNameDatabase(const QString& path) {
    try {
        Connection db = Connection::readOnly(path);
        const int tables = db.integer(
            "select count(*) from sqlite_master where type='table' and lower(name) in "
            "('system_mfirstname','system_ffirstname','system_lastname','user_firstname',"
            "'user_lastname')");
        return tables == 5 && db.text("pragma quick_check") == QLatin1String("ok");
    } catch (const platform::Failure&) {
        return false;
    }
}

void copyTemplate(const QString& templatePath, const QString& target) {
    if (!isUsableNameDatabase(templatePath))
        throw platform::Failure(templatePath + QStringLiteral(": no usable name database"));
    QFile source(templatePath);
    if (!source.open(QIODevice::ReadOnly))
        throw platform::Failure(templatePath + QStringLiteral(": ") + source.errorString());
    const QByteArray bytes = source.readAll();
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        throw platform::Failure(folder + QStringLiteral(": cannot create the folder"));
    if (QFileInfo::exists(target)) throw platform::Failure(target + QStringLiteral(": exists"));
    // A log left beside a removed copy belongs to that file, not to the new one.
    removeCompanions(target);

    QTemporaryFile partial(target + QStringLiteral(".XXXXXX"));
    if (!partial.open() || partial.write(bytes) != bytes.size() || !partial.flush() ||
        ::fsync(partial.handle()) != 0)
        throw platform::Failure(partial.fileName() + QStringLiteral(": ") + partial.errorString());
    renameWithoutReplacing(partial.fileName(), target);
    // After a rename the temporary name is gone; after a hard link it is removed here.
}

RefreshResult refreshBuiltInLists(const QString& templatePath, const QString& copy) {
    const int edition = [&] {
        Connection templateDb = Connection::readOnly(templatePath);
        return editionOf(templateDb, "main");
    }();
    Connection db(QFile::encodeName(QFileInfo(copy).absoluteFilePath()), SQLITE_OPEN_READWRITE);
    if (editionOf(db, "main") == edition) return RefreshResult::AlreadyCurrent;
    if (!isUsableNameDatabase(templatePath))
        throw platform::Failure(templatePath + QStringLiteral(": no usable name database"));

    db.execute("attach database ? as template", immutableUri(templatePath));
    db.execute("begin immediate");
    try {
        // Another start of the program may have refreshed it in the meantime.
        if (editionOf(db, "main") == edition) {
            db.execute("rollback");
            return RefreshResult::AlreadyCurrent;
        }
        for (const BuiltInTable& builtIn : kBuiltInTables) {
            const QByteArray table(builtIn.table);
            const QByteArray column(builtIn.column);
            db.execute("delete from main." + table);
            db.execute("insert into main." + table + " (id, " + column + ") select id, " + column +
                       " from template." + table + " order by id");
        }
        db.execute("pragma main.user_version=" + QByteArray::number(edition));
        db.execute("commit");
    } catch (const platform::Failure&) {
        db.rollbackQuietly();
        throw;
    }
    return RefreshResult::Refreshed;
}

QString prepareNameDatabase(const DatabaseFolders& folders) {
    const QString beside = QDir(folders.programFolder).filePath(kNameDatabaseFileName);
    if (QFileInfo::exists(beside)) return beside;
    const QString copy = QDir(folders.userFolder).filePath(kNameDatabaseFileName);
    const QString templatePath = QDir(folders.templateFolder).filePath(kNameDatabaseFileName);
    try {
        if (!QFileInfo::exists(copy))
            copyTemplate(templatePath, copy);
        else if (QFileInfo::exists(templatePath))
            refreshBuiltInLists(templatePath, copy);
    } catch (const platform::Failure& failure) {
        // The windows report a missing or damaged database when they open it.
        qWarning("Quillfern: %s", failure.what());
    }
    return copy;
}

QString nameDatabasePath() {
    return prepareNameDatabase(programDatabaseFolders());
}

}  // namespace names
