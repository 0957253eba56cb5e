#pragma once

#include <QString>

#include "names/packed_names.h"

namespace platform {
class Database;
}

namespace names {

// What a draw takes from the store beside the origin's lists.
enum class DrawData {
    Lists,
    // The full distributions, and the first names by their births over all
    // years (allYearsBirths, or birthsByDecade from a store without them).
    Weighted,
    // The full distributions and the births by decade.
    ByDecade,
};

// An origin's lists for drawing, packed: the lists of originForDrawing and
// what `data` adds (the user's edits do not reach those). While the user has
// changed none of the origin's names the lists are read whole from the
// store's packs, one row a list, without a string per name; otherwise, and
// from a store without packs, through originForDrawing. Throws platform::Failure.
PackedOrigin packedForDrawing(platform::Database& database, const QString& tag, DrawData data);

}  // namespace names
