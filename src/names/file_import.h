#pragma once

#include <cstdint>

#include <QString>

namespace platform {
class Dialogs;
}

namespace names {

// What an import stores: first names or last names.
inline constexpr std::int16_t kImportFirstNames = 1;
inline constexpr std::int16_t kImportLastNames = 2;

struct ImportSettings {
    platform::Dialogs& dialogs;
    QString databasePath;
    QString applicationTitle;
    bool builtInList;  // Option9: names go to the built-in tables
    bool userList;     // Option8: names go to the User List
};

// Imports one name file into the current list, one insert per name, all in
// one transaction; first names for the built-in list go to the female table.
// A guarded procedure of its own ("Main.FileToListview"): failures are
// reported and the import goes on. A missing file shows "File not found". A
// database that cannot be opened, or a file that cannot be read, is reported
// once and ends the import of this file. Gives the number of names stored.
int FileToListview(const ImportSettings& settings, const QString& path, std::int16_t kind);

}  // namespace names
