#include "support/temp_database.h"

#include <sqlite3.h>

#include <QFile>

#include <gtest/gtest.h>

namespace testsupport {

namespace {

// A plain connection, without the program's collation or settings.
class RawConnection {
public:
    explicit RawConnection(const QString& path) {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE,
                            nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString() << ": " << sqlite3_errmsg(db_);
    }
    ~RawConnection() { sqlite3_close_v2(db_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    // Runs a statement with an optional text bound to its parameter; returns
    // the second column of each row as text.
    QStringList run(const QString& sql, const QString* value = nullptr) {
        QStringList rows;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr) !=
            SQLITE_OK) {
            ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db_);
            return rows;
        }
        const QByteArray text = value ? value->toUtf8() : QByteArray();
        if (value) sqlite3_bind_text(statement, 1, text.constData(), -1, SQLITE_STATIC);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            rows << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
        }
        if (rc != SQLITE_DONE) ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db_);
        sqlite3_finalize(statement);
        return rows;
    }

private:
    sqlite3* db_ = nullptr;
};

QString nameColumnOf(const QString& table) {
    if (table == QLatin1String("system_mfirstname")) return QStringLiteral("Mfirst");
    if (table == QLatin1String("system_ffirstname")) return QStringLiteral("Ffirst");
    if (table == QLatin1String("system_lastname")) return QStringLiteral("Last");
    if (table == QLatin1String("user_firstname")) return QStringLiteral("firstname");
    return QStringLiteral("lastname");
}

}  // namespace

TempDatabase::TempDatabase(const names::NameTables& names) {
    names::createNameDatabase(path(), names);
}

TempDatabase::TempDatabase(const QString& copyOf) {
    if (!QFile::copy(copyOf, path())) ADD_FAILURE() << "cannot copy " << copyOf.toStdString();
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
}

QStringList TempDatabase::names(const QString& table) const {
    return RawConnection(path()).run(QStringLiteral("select * from %1 order by id").arg(table));
}

void TempDatabase::insert(const QString& table, const QString& name) {
    RawConnection(path()).run(
        QStringLiteral("insert into %1 (%2) values (?)").arg(table, nameColumnOf(table)), &name);
}

void TempDatabase::execute(const QString& sql) {
    RawConnection(path()).run(sql);
}

}  // namespace testsupport
