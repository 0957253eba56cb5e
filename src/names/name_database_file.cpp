#include "names/name_database_file.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "names/statements.h"
#include "platform/failure.h"

namespace names {

namespace {

class Connection {
public:
    explicit Connection(const QString& path) {
        const QByteArray file = QFile::encodeName(path);
        if (sqlite3_open_v2(file.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            fail();
    }
    ~Connection() { sqlite3_close_v2(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void execute(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail();
    }

    void insertAll(const char* sql, const QStringList& names) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) fail();
        for (const QString& name : names) {
            const QByteArray text = name.toUtf8();
            sqlite3_bind_text(statement, 1, text.constData(), static_cast<int>(text.size()),
                              SQLITE_STATIC);
            const int rc = sqlite3_step(statement);
            sqlite3_reset(statement);
            if (rc != SQLITE_DONE) {
                sqlite3_finalize(statement);
                fail();
            }
        }
        sqlite3_finalize(statement);
    }

private:
    [[noreturn]] void fail() { throw platform::Failure(QString::fromUtf8(sqlite3_errmsg(db_))); }

    sqlite3* db_ = nullptr;
};

void removeWithCompanions(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(path + suffix);
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Failure(path + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

void writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw platform::Failure(path + QStringLiteral(": ") + file.errorString());
}

QByteArray sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

}  // namespace

int builtInEdition(const NameTables& names) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QStringList* list : {&names.maleFirst, &names.femaleFirst, &names.last}) {
        for (const QString& name : *list) hash.addData(name.toUtf8().append('\n'));
        hash.addData(QByteArrayView("\0", 1));  // where one list ends and the next begins
    }
    const QByteArray digest = hash.result();
    quint32 edition = 0;
    for (int i = 0; i < 4; ++i) edition = (edition << 8) | static_cast<quint8>(digest[i]);
    return static_cast<int>((edition & 0x7fffffffu) | 1u);  // positive, and never 0
}

void createNameDatabase(const QString& path, const NameTables& names) {
    removeWithCompanions(path);
    Connection db(path);
    // Small pages: names are short rows, and a change of a few names (an
    // added name, a deletion) writes whole pages to the log.
    db.execute("pragma page_size=512");
    db.execute("pragma journal_mode=WAL");
    db.execute("begin");
    db.execute(kNameDatabaseSchema);
    db.insertAll("insert into system_mfirstname (Mfirst) values (?)", names.maleFirst);
    db.insertAll("insert into system_ffirstname (Ffirst) values (?)", names.femaleFirst);
    db.insertAll("insert into system_lastname (Last) values (?)", names.last);
    db.insertAll("insert into user_firstname (firstname) values (?)", names.userFirst);
    db.insertAll("insert into user_lastname (lastname) values (?)", names.userLast);
    db.execute(QByteArray("pragma user_version=")
                   .append(QByteArray::number(builtInEdition(names)))
                   .constData());
    db.execute("commit");
}

QStringList readBuiltInList(const QString& path) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(readWhole(path));
    if (utf8.hasError()) throw platform::Failure(path + QStringLiteral(": not valid UTF-8"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith(QLatin1Char('\r'))) lines[i].chop(1);
        const QString& name = lines[i];
        QString fault;
        if (name.isEmpty())
            fault = QStringLiteral("empty name");
        else if (name.contains(QLatin1Char('\'')))
            fault = QStringLiteral("apostrophe");
        else if (name.trimmed() != name)
            fault = QStringLiteral("blanks at the ends");
        else if (name.size() > kStoredNameLength)
            fault = QStringLiteral("longer than 50");
        if (!fault.isEmpty())
            throw platform::Failure(QStringLiteral("%1:%2: %3").arg(path).arg(i + 1).arg(fault));
    }
    return lines;
}

InstallResult installBuiltDatabase(const QString& built, const QString& target,
                                   const QString& stampFile) {
    const QByteArray builtBytes = readWhole(built);
    const QByteArray builtHash = sha256(builtBytes);
    if (!QFileInfo::exists(target)) {
        // A log left beside a removed file belongs to that file, not to this one.
        removeWithCompanions(target);
        writeWhole(target, builtBytes);
        writeWhole(stampFile, builtHash);
        return InstallResult::Installed;
    }
    // Changes not yet written back into the file itself.
    if (QFileInfo(target + QStringLiteral("-wal")).size() > 0)
        return InstallResult::KeptChangedByUser;
    const QByteArray targetHash = sha256(readWhole(target));
    if (targetHash == builtHash) {
        writeWhole(stampFile, builtHash);
        return InstallResult::AlreadyCurrent;
    }
    if (QFileInfo::exists(stampFile) && readWhole(stampFile).trimmed() == targetHash) {
        removeWithCompanions(target);
        writeWhole(target, builtBytes);
        writeWhole(stampFile, builtHash);
        return InstallResult::Replaced;
    }
    return InstallResult::KeptChangedByUser;
}

}  // namespace names
