#include "platform/database.h"

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

#include "platform/failure.h"

namespace platform {

namespace {

const QString kNotOpen = QStringLiteral("The database connection is not open");

int asciiLower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The NOCASE collation of every connection. Names are mostly ASCII, so an
// ASCII prefix is compared in place; the first byte beyond ASCII hands the
// whole comparison to Qt, which gives the same order on ASCII text.
int noCaseCollation(void*, int lengthA, const void* textA, int lengthB, const void* textB) {
    const auto* a = static_cast<const unsigned char*>(textA);
    const auto* b = static_cast<const unsigned char*>(textB);
    const int shorter = lengthA < lengthB ? lengthA : lengthB;
    for (int i = 0; i < shorter; ++i) {
        if (a[i] >= 0x80 || b[i] >= 0x80) {
            return compareNoCase(QString::fromUtf8(reinterpret_cast<const char*>(a), lengthA),
                                 QString::fromUtf8(reinterpret_cast<const char*>(b), lengthB));
        }
        const int difference = asciiLower(a[i]) - asciiLower(b[i]);
        if (difference != 0) return difference;
    }
    return lengthA - lengthB;
}

// The collator of the user's collation locale at secondary strength: accents
// count, letter case does not. The C locale has no order of its own for
// letters beyond ASCII; it gets the root order of Unicode. Null when the
// engine has no data at all.
UCollator* openNameCollator() {
    const QLocale locale = QLocale().collation();
    const QByteArray name =
        locale.language() == QLocale::C ? QByteArray() : locale.name().toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(name.constData(), &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        return nullptr;
    }
    ucol_setStrength(collator, UCOL_SECONDARY);
    return collator;
}

void closeNameCollator(void* collator) {
    ucol_close(static_cast<UCollator*>(collator));
}

// The nameorder collation; see kNameOrder.
int nameOrderCollation(void* collator, int lengthA, const void* textA, int lengthB,
                       const void* textB) {
    if (collator) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult order =
            ucol_strcollUTF8(static_cast<UCollator*>(collator), static_cast<const char*>(textA),
                             lengthA, static_cast<const char*>(textB), lengthB, &status);
        if (U_SUCCESS(status) && order != UCOL_EQUAL) return order == UCOL_LESS ? -1 : 1;
    }
    if (const int noCase = noCaseCollation(nullptr, lengthA, textA, lengthB, textB)) return noCase;
    const int common = std::memcmp(textA, textB, static_cast<size_t>(std::min(lengthA, lengthB)));
    return common != 0 ? common : lengthA - lengthB;
}

// Keeps the single number that a count query returns.
int readCount(void* count, int, char** values, char**) {
    *static_cast<int*>(count) = values[0] ? std::atoi(values[0]) : 0;
    return 0;
}

QString errorText(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

}  // namespace

void sortInNameOrder(QStringList& names) {
    std::vector<QByteArray> texts;
    texts.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) texts.push_back(name.toUtf8());
    std::vector<std::size_t> order(texts.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    UCollator* collator = openNameCollator();
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return nameOrderCollation(collator, static_cast<int>(texts[a].size()), texts[a].constData(),
                                  static_cast<int>(texts[b].size()), texts[b].constData()) < 0;
    });
    closeNameCollator(collator);
    QStringList sorted;
    sorted.reserve(names.size());
    for (const std::size_t i : order) sorted.append(names[static_cast<qsizetype>(i)]);
    names = std::move(sorted);
}

int compareNoCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive);
}

Query::Query(Query&& other) noexcept : database_(other.database_), statement_(other.statement_) {
    other.statement_ = nullptr;
}

Query::~Query() {
    sqlite3_finalize(statement_);
}

bool Query::next() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    database_.fail();
}

int Query::column(const char* name) const {
    const int count = sqlite3_column_count(statement_);
    for (int i = 0; i < count; ++i) {
        if (sqlite3_stricmp(sqlite3_column_name(statement_, i), name) == 0) return i;
    }
    throw Failure(QStringLiteral("The query has no column named ") + QLatin1String(name));
}

QString Query::text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
}

QByteArray Query::bytes(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    return QByteArray(data, sqlite3_column_bytes(statement_, column));
}

std::string_view Query::view(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_, column));
    return size == 0 ? std::string_view() : std::string_view(data, size);
}

Database::~Database() {
    close();
}

QString immutableUri(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?immutable=1");
}

void Database::open(const QString& path, Access access) {
    close();
    sqlite3* db = nullptr;
    const bool readOnly = access == Access::ReadOnlyImmutable;
    const QByteArray file = readOnly ? immutableUri(path).toUtf8() : QFile::encodeName(path);
    // Read-write, and a missing file is a failure rather than a new database.
    // File names given as URIs are understood, so that a read-only file can be
    // attached to a read-write connection.
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_URI;
    const int rc = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString description = db ? errorText(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw Failure(description);
    }
    // A write-protected file is opened for reading only, where locking it for
    // this connection alone fails as a disk I/O error: say what is wrong instead.
    if (!readOnly && sqlite3_db_readonly(db, "main") == 1) {
        sqlite3_close_v2(db);
        throw Failure(QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY)));
    }
    // Another copy of the program may be reading or writing the file: wait for
    // it a little rather than fail at once.
    sqlite3_busy_timeout(db, static_cast<int>(busyTimeout_.count()));
    // Sorting a list of a hundred thousand names stays in memory rather than in
    // a temporary file, which is quicker and needs no room on disk.
    sqlite3_exec(db, "pragma temp_store=MEMORY", nullptr, nullptr, nullptr);
    // The packed lists are long blobs over many small pages: read through a
    // memory map they are copied out at once rather than a page per call.
    sqlite3_exec(db, "pragma mmap_size=268435456", nullptr, nullptr, nullptr);
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, noCaseCollation);
    sqlite3_create_collation_v2(db, kNameOrder, SQLITE_UTF8, openNameCollator(), nameOrderCollation,
                                closeNameCollator);
    // The engine opens lazily: reading the schema meets a damaged file or one
    // that is no database at all here rather than at the first statement.
    int tables = 0;
    if (sqlite3_exec(db, "select count(*) from sqlite_schema", readCount, &tables, nullptr) !=
        SQLITE_OK) {
        const QString description = errorText(db);
        sqlite3_close_v2(db);
        throw Failure(description);
    }
    // Write-ahead logging lets other copies of the program read while this one
    // writes; without a sync per commit it keeps the file consistent, and
    // checkpoints (each with a sync) come seldom enough that a large import
    // stays fast. Best effort: a file that cannot change its journal mode
    // keeps its own. An empty file is an empty database to the engine;
    // changing its journal mode would write a database into it, so it stays
    // as it is and the first query finds no table.
    if (tables > 0 && !readOnly)
        sqlite3_exec(db,
                     "pragma journal_mode=WAL; pragma synchronous=NORMAL; "
                     "pragma wal_autocheckpoint=100000",
                     nullptr, nullptr, nullptr);
    db_ = db;
}

void Database::close() {
    if (!db_) return;
    for (auto& [sql, statement] : cache_) sqlite3_finalize(statement);
    cache_.clear();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

sqlite3* Database::handle() const {
    if (!db_) throw Failure(kNotOpen);
    return db_;
}

void Database::fail() const {
    throw Failure(errorText(handle()));
}

sqlite3_stmt* Database::cached(const char* sql) {
    sqlite3* db = handle();
    auto found = cache_.find(sql);
    if (found != cache_.end()) return found->second;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) fail();
    cache_.emplace(sql, statement);
    return statement;
}

void Database::step(sqlite3_stmt* statement) {
    const int rc = sqlite3_step(statement);
    const QString description = rc == SQLITE_DONE || rc == SQLITE_ROW ? QString() : errorText(db_);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (!description.isNull()) throw Failure(description);
}

void Database::execute(const char* sql) {
    step(cached(sql));
}

void Database::executeScript(const char* sql) {
    if (sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail();
}

void Database::execute(const char* sql, const QString& value) {
    sqlite3_stmt* statement = cached(sql);
    const QByteArray text = value.toUtf8();
    sqlite3_bind_text(statement, 1, text.constData(), static_cast<int>(text.size()), SQLITE_STATIC);
    step(statement);
}

void Database::bind(sqlite3_stmt* statement, std::initializer_list<QString> values) {
    int parameter = 0;
    for (const QString& value : values) {
        ++parameter;
        if (value.isNull()) {
            sqlite3_bind_null(statement, parameter);
            continue;
        }
        const QByteArray text = value.toUtf8();
        sqlite3_bind_text(statement, parameter, text.constData(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
}

void Database::execute(const char* sql, std::initializer_list<QString> values) {
    sqlite3_stmt* statement = cached(sql);
    bind(statement, values);
    step(statement);
}

Query Database::query(const char* sql, std::initializer_list<QString> values) {
    Query rows = query(sql);
    bind(rows.statement_, values);
    return rows;
}

Query Database::query(const char* sql) {
    sqlite3* db = handle();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) fail();
    return Query(*this, statement);
}

QString Database::firstValue(const char* sql) {
    Query rows = query(sql);
    return rows.next() ? rows.text(0) : QString();
}

Transaction::Transaction(Database& database) : database_(database) {
    sqlite3* db = database.handle();
    if (sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) != SQLITE_OK)
        database.fail();
    open_ = true;
}

Transaction::~Transaction() {
    // The engine may have rolled back by itself (a full disk), or the
    // connection may be closed already, which rolls back as well.
    if (open_ && database_.db_ && !sqlite3_get_autocommit(database_.db_))
        sqlite3_exec(database_.db_, "rollback", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    sqlite3* db = database_.handle();
    if (!sqlite3_get_autocommit(db) &&
        sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) != SQLITE_OK)
        database_.fail();
    open_ = false;
}

}  // namespace platform
