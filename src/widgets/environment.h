#pragma once

#include <QString>

namespace platform {
class Dialogs;
class Settings;
class Shell;
class Spreadsheet;
}  // namespace platform

namespace widgets {

// What the windows need from the outside world; tests pass doubles.
struct Environment {
    platform::Dialogs& dialogs;
    platform::Settings& settings;
    platform::Shell& shell;
    platform::Spreadsheet* spreadsheet = nullptr;
    QString programFolder;  // holds HAND-M.CUR and x/o.cjs
    // The name database, as names::nameDatabasePath() chose it; when empty,
    // names.mdb in programFolder.
    QString databasePath{};
};

}  // namespace widgets
