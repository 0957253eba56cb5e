#pragma once

#include <cstdint>

#include <QString>

#include "cli/command.h"
#include "cli/command_line.h"
#include "cli/output.h"

namespace names {
class NameListModel;
}

namespace cli {

// The entries of the table of commands.
Command generateCommand();
Command namesCommand();
Command importCommand();
Command originsCommand();

// What `generate` and `names` share: which list, and which of its first names.
Option listOption();
Option genderOption(const QString& appliesTo);
Option originOption();
ListSource listOf(const Arguments& arguments);
Gender genderOf(const Arguments& arguments, ListSource list);
// --origin as written, the default when not given; UsageError with the User List.
QString originsOf(const Arguments& arguments, ListSource list);

// Refuses the first of these arguments, if any.
void refuseArguments(const QString& command, const QStringList& unexpected);

// Where and how `generate` writes its rows.
OutputOptions outputOptionsOf(const GenerateRequest& request);

// Each command throws platform::Failure for what went wrong, described for
// the one line on standard error.

// The run's seed: --seed, or one from the system's source of randomness.
std::uint64_t seedOf(const GenerateRequest& request);

// The part of name in messages: "first names", "last names", "full names".
const char* partWords(Part part);

// Draws the names and writes them.
void generateNames(const GenerateRequest& request, const QString& databasePath);

// Prints a name list as the main window's list view shows it.
void printNames(const NamesRequest& request, const QString& databasePath);

// Prints the stored origins with their counts.
void printOrigins(const OriginsRequest& request, const QString& databasePath);

// Imports the files into the User List; prints how many names each added.
// A file that fails is reported on standard error and the others still go
// in; false when any failed.
bool importFiles(const ImportRequest& request, const QString& databasePath);

// Loads both lists as the main window does for these options.
void loadLists(const QString& databasePath, ListSource list, Gender gender,
               names::NameListModel& firstNames, names::NameListModel& lastNames);

// Prints the lines on standard output, each ended by LF.
void printLines(const QStringList& lines);

// Writes "quillfern: <message>" as one line on standard error.
void printError(const QString& message);

}  // namespace cli
