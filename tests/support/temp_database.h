#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "names/name_database_file.h"

namespace testsupport {

// A fresh names.mdb in a temporary folder, gone with the object. The folder
// stands in for the program folder. Reads and writes here go straight to the
// file, past the program's own statements.
class TempDatabase {
public:
    // A database holding the given names (all five tables empty by default).
    explicit TempDatabase(const names::NameTables& names = {});
    // A copy of an existing database file.
    explicit TempDatabase(const QString& copyOf);
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    QString folder() const { return dir_.path(); }
    QString path() const { return dir_.filePath(QStringLiteral("names.mdb")); }

    // The names of a table in the order they were stored.
    QStringList names(const QString& table) const;
    void insert(const QString& table, const QString& name);
    void execute(const QString& sql);

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
