#pragma once

#include <QMap>
#include <QString>

#include "names/birth_table.h"
#include "names/origin_data.h"

namespace platform {
class Database;
}

// What names.mdb keeps for weighted draws beside an origin's lists: the full
// weighted distributions and the births by decade. The user's edits do not
// reach them. A store made before they existed has none: every origin then
// reads as having neither. Every function throws platform::Failure.
namespace names {

// Fills the entry's weightedLists (their names of weight above zero) and
// birthsByDecade from the store (the lists of originForDrawing come without them).
void loadDistributions(platform::Database& database, OriginEntry& entry);
// The same for the weightedLists alone.
void loadWeightedLists(platform::Database& database, OriginEntry& entry);

// The origin's births by decade; empty for an origin without them.
BirthTable storedBirths(platform::Database& database, const QString& tag);
// The same as stored: the gzip bytes of births_by_decade.tsv.gz, or none.
QByteArray storedBirthBytes(platform::Database& database, const QString& tag);

// What an origin's weighted draws can rest on: names with frequencies from a
// source (a weighted list, or births), and births by decade.
struct OriginFrequencies {
    bool frequencies = false;
    bool decades = false;
    friend bool operator==(const OriginFrequencies&, const OriginFrequencies&) = default;
};
// Every stored origin's, by tag.
QMap<QString, OriginFrequencies> storedFrequencies(platform::Database& database);

}  // namespace names
