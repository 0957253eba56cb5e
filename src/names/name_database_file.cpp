#include "names/name_database_file.h"

#include <sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "names/birth_table.h"
#include "names/packed_names.h"
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
        Statement statement(*this, sql);
        for (const QString& name : names) {
            statement.bind(1, name);
            statement.run();
        }
    }

    // One prepared statement, run again and again with new values.
    class Statement {
    public:
        Statement(Connection& connection, const char* sql) : connection_(connection) {
            if (sqlite3_prepare_v2(connection.db_, sql, -1, &statement_, nullptr) != SQLITE_OK)
                connection.fail();
        }
        ~Statement() { sqlite3_finalize(statement_); }
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        void bind(int parameter, const QString& text) {
            const QByteArray bytes = text.toUtf8();
            sqlite3_bind_text(statement_, parameter, bytes.constData(),
                              static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        }
        void bind(int parameter, const QByteArray& blob) {
            sqlite3_bind_blob(statement_, parameter, blob.constData(),
                              static_cast<int>(blob.size()), SQLITE_TRANSIENT);
        }
        void bind(int parameter, double value) {
            sqlite3_bind_double(statement_, parameter, value);
        }
        void bind(int parameter, int value) { sqlite3_bind_int(statement_, parameter, value); }
        void bindNull(int parameter) { sqlite3_bind_null(statement_, parameter); }
        void run() {
            const int rc = sqlite3_step(statement_);
            sqlite3_reset(statement_);
            sqlite3_clear_bindings(statement_);
            if (rc != SQLITE_DONE) connection_.fail();
        }

    private:
        Connection& connection_;
        sqlite3_stmt* statement_ = nullptr;
    };

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

void insertOrigins(Connection& db, const QList<OriginEntry>& origins) {
    Connection::Statement origin(db, "insert into origin values (?, ?, ?, ?, ?, ?)");
    Connection::Statement name(db,
                               "insert into origin_name (origin, list, name, weight) "
                               "values (?, ?, ?, ?)");
    for (const OriginEntry& entry : origins) {
        const OriginRecord& record = entry.origin;
        origin.bind(1, record.tag);
        origin.bind(2, record.displayName);
        origin.bind(3, record.scripts);
        origin.bind(4, QString::fromLatin1(record.familyFirst ? kFamilyFirst : kGivenFirst));
        origin.bind(5, QString::fromLatin1(record.blankBetween ? kSpaceBetween : kNothingBetween));
        origin.bind(6, record.sources);
        origin.run();
        for (OriginList list : kOriginLists) {
            const QString word = QString::fromLatin1(listWord(list));
            for (const ListedName& listed : entry[list]) {
                name.bind(1, record.tag);
                name.bind(2, word);
                name.bind(3, listed.name);
                if (listed.weight > 0)
                    name.bind(4, listed.weight);
                else
                    name.bindNull(4);
                name.run();
            }
        }
    }
}

void insertDistributions(Connection& db, const QList<OriginEntry>& origins) {
    Connection::Statement name(db,
                               "insert into origin_weighted_name (origin, list, name, weight) "
                               "values (?, ?, ?, ?)");
    Connection::Statement births(db, "insert into origin_births values (?, ?)");
    for (const OriginEntry& entry : origins) {
        for (OriginList list : kOriginLists) {
            const QString word = QString::fromLatin1(listWord(list));
            for (const ListedName& listed : entry.weightedLists[static_cast<std::size_t>(list)]) {
                if (!(listed.weight > 0)) continue;  // never drawn by weight
                name.bind(1, entry.origin.tag);
                name.bind(2, word);
                name.bind(3, listed.name);
                name.bind(4, listed.weight);
                name.run();
            }
        }
        if (entry.birthsByDecade.isEmpty()) continue;
        births.bind(1, entry.origin.tag);
        births.bind(2, entry.birthsByDecade);
        births.run();
    }
}

void insertPack(Connection::Statement& pack, const QString& tag, OriginList list, int full,
                const PackedBytes& bytes) {
    pack.bind(1, tag);
    pack.bind(2, QString::fromLatin1(listWord(list)));
    pack.bind(3, full);
    pack.bind(4, bytes.names);
    pack.bind(5, bytes.weights);
    pack.run();
}

// The first names by their births over all years, ready for weighted draws
// without reading the births by decade.
void insertAllYearsBirths(Connection::Statement& pack, const OriginEntry& entry) {
    const BirthTable table =
        readBirthTable(entry.birthsByDecade, entry.origin.tag + QStringLiteral(" births"));
    const BirthLists lists = birthLists(table, 0, table.decades.size());
    for (const auto& [list, names] : {std::pair{OriginList::Female, &lists.female},
                                      {OriginList::Male, &lists.male},
                                      {OriginList::Unisex, &lists.unisex}})
        if (!names->empty()) insertPack(pack, entry.origin.tag, list, 2, packedBytes(*names));
}

void insertPacks(Connection& db, const QList<OriginEntry>& origins) {
    Connection::Statement pack(db, "insert into origin_pack values (?, ?, ?, ?, ?)");
    for (const OriginEntry& entry : origins) {
        for (OriginList list : kOriginLists) {
            const auto i = static_cast<std::size_t>(list);
            QList<ListedName> full = entry.weightedLists[i];
            full.removeIf([](const ListedName& listed) { return !(listed.weight > 0); });
            for (const auto& [lists, isFull] : {std::pair{&entry.lists[i], 0}, {&full, 1}})
                if (!lists->isEmpty())
                    insertPack(pack, entry.origin.tag, list, isFull, packedBytes(*lists));
        }
        if (!entry.birthsByDecade.isEmpty()) insertAllYearsBirths(pack, entry);
    }
}

// The origin that the built-in tables show at first, and its names there.
const OriginEntry* firstShown(const NameTables& names) {
    const QString wanted =
        names.shown.isEmpty() ? QString::fromLatin1(kFallbackOrigin) : names.shown.first();
    for (const OriginEntry& entry : names.origins)
        if (entry.origin.tag == wanted) return &entry;
    return names.origins.isEmpty() ? nullptr : &names.origins.first();
}

}  // namespace

int builtInEdition(const NameTables& names) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto addList = [&](const QStringList& list) {
        for (const QString& name : list) hash.addData(name.toUtf8().append('\n'));
        hash.addData(QByteArrayView("\0", 1));  // where one list ends and the next begins
    };
    for (const QStringList* list : {&names.maleFirst, &names.femaleFirst, &names.last})
        addList(*list);
    for (const OriginEntry& entry : names.origins) {
        const OriginRecord& record = entry.origin;
        addList({record.tag, record.displayName, record.scripts, record.sources,
                 QString::number(record.familyFirst), QString::number(record.blankBetween)});
        for (const auto* lists : {&entry.lists, &entry.weightedLists}) {
            for (const QList<ListedName>& list : *lists) {
                QStringList lines;
                for (const ListedName& listed : list)
                    lines.append(listed.name + QLatin1Char('\t') +
                                 QString::number(listed.weight, 'g', 17));
                addList(lines);
            }
        }
        hash.addData(entry.birthsByDecade);
        hash.addData(QByteArrayView("\0", 1));
    }
    // A new layout of the store is a new edition too: a copy then takes the
    // template's tables in that layout.
    hash.addData(QByteArray::number(kStoreSchemaVersion));
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
    db.execute(kOriginSchema);
    db.execute(kDistributionSchema);
    insertOrigins(db, names.origins);
    insertDistributions(db, names.origins);
    insertPacks(db, names.origins);
    if (const OriginEntry* shown = firstShown(names)) {
        db.insertAll("insert into system_mfirstname (Mfirst) values (?)", maleTableNames(*shown));
        db.insertAll("insert into system_ffirstname (Ffirst) values (?)", femaleTableNames(*shown));
        db.insertAll("insert into system_lastname (Last) values (?)", lastTableNames(*shown));
        db.insertAll("insert into shown_origin (tag) values (?)", {shown->origin.tag});
    } else {
        db.insertAll("insert into system_mfirstname (Mfirst) values (?)", names.maleFirst);
        db.insertAll("insert into system_ffirstname (Ffirst) values (?)", names.femaleFirst);
        db.insertAll("insert into system_lastname (Last) values (?)", names.last);
    }
    db.insertAll("insert into user_firstname (firstname) values (?)", names.userFirst);
    db.insertAll("insert into user_lastname (lastname) values (?)", names.userLast);
    db.execute(QByteArray("pragma user_version=")
                   .append(QByteArray::number(builtInEdition(names)))
                   .constData());
    db.execute("commit");
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
