#pragma once

#include <QString>

// Where the name database lives. A names.mdb beside the executable (a build
// folder, a portable copy) is used as it is. An installed program keeps a
// read-only template in <prefix>/share/quillfern and gives each user a copy of
// their own in $XDG_DATA_HOME/quillfern, made on the first start and brought
// up to date when a newer package brings other built-in lists.
// Needs only Qt Core and SQLite: the windows and the command line share it.
namespace names {

inline constexpr char kNameDatabaseFileName[] = "names.mdb";

struct DatabaseFolders {
    QString programFolder;   // the executable's folder
    QString templateFolder;  // the installed template's folder
    QString userFolder;      // the folder of the user's own copy
};

// The folders of the running program and its user: the template in
// <executable folder>/../share/quillfern, the copy in $XDG_DATA_HOME/quillfern
// (~/.local/share/quillfern by default).
DatabaseFolders programDatabaseFolders();

// The database file the program uses, made ready: the one beside the program
// when it is there; otherwise the user's copy, made from the template when it
// is missing and refreshed when the template's edition differs. Never throws:
// when no copy can be made, the path of the missing copy comes back, and
// opening it fails as it does for any missing database.
QString prepareNameDatabase(const DatabaseFolders& folders);

// prepareNameDatabase(programDatabaseFolders()).
QString nameDatabasePath();

// True when the file is a database with the five name tables that passes
// SQLite's quick integrity check. Opened read-only; nothing is written.
bool isUsableNameDatabase(const QString& path);

// Copies a usable template to `target`: written under a temporary name in the
// target's folder, then renamed, never over an existing file. Throws
// platform::Failure when the template is missing or not usable, when the
// target exists, or when writing fails; nothing is left behind then.
void copyTemplate(const QString& templatePath, const QString& target);

enum class RefreshResult { AlreadyCurrent, Refreshed };

// Gives the copy the template's built-in lists when their editions differ:
// the three built-in tables are emptied and filled from the template in one
// transaction, which also takes on the template's edition. The User List
// tables are not touched. Throws platform::Failure, the copy unchanged, when
// the template or the copy cannot be read or written.
RefreshResult refreshBuiltInLists(const QString& templatePath, const QString& copy);

}  // namespace names
