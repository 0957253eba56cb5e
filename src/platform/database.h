#pragma once

#include <chrono>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// Compares two texts without regard to letter case, for letters beyond ASCII
// too. Every connection uses it as its NOCASE collation.
int compareNoCase(const QString& a, const QString& b);

// The collation that orders names for the lists, as `collate nameorder`:
// by the user's locale (the root order of Unicode for the C locale), letter
// case ignored, accented letters beside their base letters. Names it finds
// equal are ordered by compareNoCase, then by their bytes.
inline constexpr char kNameOrder[] = "nameorder";

// Sorts names as `order by ... collate nameorder` orders them.
void sortInNameOrder(QStringList& names);

class Database;

// The file as a URI that the engine opens read-only and immutable, for
// Database::Access::ReadOnlyImmutable and for attaching such a file.
QString immutableUri(const QString& path);

// The rows of one query, read front to back.
class Query {
public:
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    Query(Query&& other) noexcept;
    Query& operator=(Query&&) = delete;
    ~Query();

    // Moves to the next row; false after the last one.
    bool next();
    // The position of a result column, matched without regard to letter case.
    int column(const char* name) const;
    // The value of a column of the current row as text (empty for NULL).
    QString text(int column) const;
    // The value of a column of the current row as bytes, as a blob holds them.
    QByteArray bytes(int column) const;
    // The same without a copy: valid until the next call on this query.
    std::string_view view(int column) const;

private:
    friend class Database;
    Query(Database& database, sqlite3_stmt* statement)
        : database_(database), statement_(statement) {}

    Database& database_;
    sqlite3_stmt* statement_;
};

// One connection to an existing SQLite database file, opened read-write and
// never creating the file. Closes itself when it goes out of scope. Names
// compare without regard to letter case (see compareNoCase). Other copies of
// the program may use the file at the same time: a connection that finds it
// busy waits up to the busy timeout before it fails. Every failure throws
// platform::Failure with the engine's own message.
class Database {
public:
    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // How a connection reaches its file.
    enum class Access {
        ReadWrite,
        // Read-only and immutable: the file may lie in a folder that nobody may
        // write to, where the engine could keep no lock files; no lock is taken.
        ReadOnlyImmutable,
    };
    void open(const QString& path, Access access = Access::ReadWrite);
    bool isOpen() const { return db_ != nullptr; }
    void close();

    // Runs a changing statement that takes no values.
    void execute(const char* sql);
    // Runs several statements, separated by semicolons, that take no values.
    void executeScript(const char* sql);
    // Runs a changing statement with one text value bound to its only parameter.
    void execute(const char* sql, const QString& value);
    // Runs a changing statement with text values bound to its parameters in turn;
    // a null QString binds NULL.
    void execute(const char* sql, std::initializer_list<QString> values);
    // Starts a query; the engine's refusal (a missing table) throws here.
    Query query(const char* sql);
    // Starts a query with text values bound to its parameters in turn.
    Query query(const char* sql, std::initializer_list<QString> values);
    // The first column of the first row of a query as text; empty without a row.
    QString firstValue(const char* sql);

    // How long a connection waits for another one to let go of the file;
    // applies to connections opened afterwards.
    static constexpr std::chrono::milliseconds kBusyTimeout{5000};
    static void setBusyTimeout(std::chrono::milliseconds timeout) { busyTimeout_ = timeout; }

private:
    friend class Query;
    friend class Transaction;
    sqlite3* handle() const;
    [[noreturn]] void fail() const;
    // Prepared once per connection and kept, so that many inserts stay cheap.
    sqlite3_stmt* cached(const char* sql);
    // Runs a prepared changing statement once and makes it ready for the next run.
    void step(sqlite3_stmt* statement);
    static void bind(sqlite3_stmt* statement, std::initializer_list<QString> values);

    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> cache_;

    static inline std::chrono::milliseconds busyTimeout_ = kBusyTimeout;
};

// A write transaction on an open connection: begun at once, so that waiting
// for another writer happens here and not at its first statement. Rolled
// back when it ends without commit().
class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& database_;
    bool open_ = false;
};

}  // namespace platform
