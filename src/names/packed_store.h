#pragma once

#include <QString>

#include "names/packed_names.h"

namespace platform {
class Database;
}

namespace names {

// An origin's lists for drawing, packed: the lists of originForDrawing and,
// with `withDistributions`, the full distributions and births that
// loadDistributions adds. While the user has changed none of the origin's
// names they are read whole from the store's packs, one row a list, without
// a string per name; otherwise, and from a store without packs, through
// originForDrawing. Throws platform::Failure.
PackedOrigin packedForDrawing(platform::Database& database, const QString& tag,
                              bool withDistributions);

}  // namespace names
