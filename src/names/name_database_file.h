#pragma once

#include <QString>
#include <QStringList>

// Making the name database file. Used by the build tool that turns the
// built-in lists into names.mdb, and by tests that need a fresh database.
// Needs only Qt Core and SQLite.
namespace names {

// The five tables, each with an integer key of its own and a name column that
// compares without regard to letter case.
inline constexpr const char* kNameDatabaseSchema =
    "create table system_mfirstname (id integer primary key, Mfirst text not null collate nocase);"
    "create table system_ffirstname (id integer primary key, Ffirst text not null collate nocase);"
    "create table system_lastname (id integer primary key, Last text not null collate nocase);"
    "create table user_firstname (id integer primary key, firstname text not null collate nocase);"
    "create table user_lastname (id integer primary key, lastname text not null collate nocase);";

struct NameTables {
    QStringList maleFirst{};    // system_mfirstname
    QStringList femaleFirst{};  // system_ffirstname
    QStringList last{};         // system_lastname
    QStringList userFirst{};    // user_firstname
    QStringList userLast{};     // user_lastname
};

// The edition of a set of built-in lists: a number drawn from their content,
// never 0, kept in the database file as its user_version. A user's copy whose
// edition differs from the installed template's gets the template's lists.
int builtInEdition(const NameTables& names);

// Writes a new database file with the five tables holding the given names, in
// write-ahead-log mode, stamped with the edition of its built-in lists. A file
// already at `path` is replaced. Throws platform::Failure.
void createNameDatabase(const QString& path, const NameTables& names);

// Reads one of the built-in lists: UTF-8, one name per line. Throws
// platform::Failure naming the file and line of an empty name, a name with an
// apostrophe or blanks at its ends, or one longer than 50 characters.
QStringList readBuiltInList(const QString& path);

enum class InstallResult { Installed, Replaced, AlreadyCurrent, KeptChangedByUser };

// Puts a freshly built database at `target` unless the user has changed the
// one there. `stampFile` keeps the SHA-256 of the file last put there: the
// target is replaced only when it is absent or still byte-identical to that
// file, and never while a write-ahead log beside it holds changes.
InstallResult installBuiltDatabase(const QString& built, const QString& target,
                                   const QString& stampFile);

}  // namespace names
