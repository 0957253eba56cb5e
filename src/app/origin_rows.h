#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "generate/origin_mix.h"

namespace platform {
class Database;
}

namespace app {

// One stored origin as the origin chooser lists it.
struct OriginRow {
    QString tag;
    QString displayName;
    int names = 0;             // names in all its lists, as stored
    bool frequencies = false;  // its names carry frequencies from a source
    bool decades = false;      // its first names carry births by decade
    friend bool operator==(const OriginRow&, const OriginRow&) = default;
};

// Every stored origin, ordered by display name. Throws platform::Failure.
QList<OriginRow> readOriginRows(platform::Database& database);

// True when the typed filter is part of the display name or the tag, in any
// letter case; an empty filter matches every origin.
bool matchesFilter(const OriginRow& row, const QString& filter);

// What the main window's origin button shows for the chosen tags among the
// known ones: the display name of one origin, "3 origins", or "All origins".
QString originCaption(const QStringList& chosen, const QList<OriginRow>& known);

// A choice of tags with their shares; equal shares are left out ("de,fr").
generate::OriginMix mixOf(const QStringList& tags, const QList<double>& shares);

}  // namespace app
