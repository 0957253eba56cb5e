#pragma once

#include <cstdint>
#include <functional>

#include <QString>

namespace guarded {
class Reporter;
}

namespace names {

// What an import stores, with the numbers the design gives the two kinds.
// The command line names its lists with the same kinds.
enum class NameKind : std::int16_t { First = 1, Last = 2 };

// Where an import's message and failures go, with what it stores and where:
// the main window shows them in boxes; the command line ends the file's
// import with the first of them.
struct ImportContext {
    guarded::Reporter& reporter;                       // the failing statements
    std::function<void(const QString& text)> message;  // "File not found"
    QString databasePath;
    bool builtInList;  // Option9: names go to the built-in tables
    bool userList;     // Option8: names go to the User List
};

// Imports one name file into the current list, one insert per name, all in
// one transaction; first names for the built-in list go to the female table.
// A guarded procedure of its own ("Main.FileToListview"): failures are
// reported and the import goes on. A missing file shows "File not found". A
// database that cannot be opened, or a file that cannot be read, is reported
// once and ends the import of this file. Gives the number of names stored.
int FileToListview(const ImportContext& settings, const QString& path, NameKind kind);

}  // namespace names
