#pragma once

#include <QString>

#include "cli/command_line.h"

namespace names {
class NameListModel;
}

namespace cli {

// Each command throws platform::Failure for what went wrong, described for
// the one line on standard error.

// Draws the names and writes them.
void generateNames(const GenerateRequest& request, const QString& databasePath);

// Prints a name list as the main window's list view shows it.
void printNames(const NamesRequest& request, const QString& databasePath);

// Imports the files into the User List; prints how many names each added.
// A file that fails is reported on standard error and the others still go
// in; false when any failed.
bool importFiles(const ImportRequest& request, const QString& databasePath);

// Loads both lists as the main window does for these options.
void loadLists(const QString& databasePath, ListSource list, Gender gender,
               names::NameListModel& firstNames, names::NameListModel& lastNames);

// Writes "quillfern: <message>" as one line on standard error.
void printError(const QString& message);

}  // namespace cli
