#pragma once

#include <array>

#include <QList>
#include <QString>
#include <QStringList>

#include "names/origin_data.h"

namespace platform {
class Database;
}

// The origins in names.mdb: which there are, their names as the user's own
// changes leave them, and which of them the three built-in tables show.
// Every function throws platform::Failure.
namespace names {

// True when the schema ("main", or an attached one) has the origins' tables.
bool hasOriginTables(platform::Database& database, const char* schema = "main");

// The origins stored, ordered by tag. Empty for a file without origins.
QList<OriginRecord> storedOrigins(platform::Database& database);

// The stored origin of that tag; platform::Failure when there is none.
OriginRecord storedOrigin(platform::Database& database, const QString& tag);

// How many names each list of an origin holds as stored, by OriginList.
std::array<int, kOriginListCount> storedCounts(platform::Database& database, const QString& tag);

// True when the origin stores its family names in a female and a male form.
bool hasGenderedSurnames(platform::Database& database, const QString& tag);

// An origin's names as the three built-in tables show them while it is the
// only one shown: the stored lists, then the user's changes in the order they
// were made (an added name at the end, a removed one gone wherever it stood,
// compared without regard to letter case).
struct OriginTables {
    QStringList maleFirst;    // system_mfirstname
    QStringList femaleFirst;  // system_ffirstname
    QStringList last;         // system_lastname
};
OriginTables editedTables(platform::Database& database, const QString& tag);

// An origin's names for drawing, as the user's changes leave them. A unisex
// name stays unisex while both first-name tables hold it, and is male or
// female when only one does; a first name the user added is female, as the
// built-in list adds it. A last name the user added takes both forms of an
// origin with gendered surnames. A name added to a list with weights takes
// the weight of the list's rarest name, as no source gives it one.
OriginEntry originForDrawing(platform::Database& database, const QString& tag);

// True when the user has changed any of the origin's names.
bool hasEdits(platform::Database& database, const QString& tag);

// The origins the built-in tables show now, in order.
QStringList shownOrigins(platform::Database& database);

// Fills the three built-in tables with the names of the origins (their
// tables one after the other) unless they show those already; in one
// transaction. Unknown tags are refused. A file without origins keeps its
// tables as they are.
void showOrigins(platform::Database& database, const QStringList& tags);
// The same, always, inside the caller's transaction.
void fillShownTables(platform::Database& database, const QStringList& tags);

}  // namespace names
