#pragma once

#include <optional>

#include <QString>

#include "generate/birth_decades.h"
#include "generate/person_draw.h"
#include "names/origin_data.h"
#include "names/packed_names.h"

namespace platform {
class Database;
}

namespace generate {

// How often each of an origin's names is drawn. The default draws each name of
// the origin's lists at equal odds; for the United States those lists hold
// the names that cover 90% of the births or people, so that rare names do not
// crowd out common ones.
struct FrequencyChoice {
    // Each name as often as in life: the full distributions, first names of an
    // origin with births by decade by their births over all years (or over
    // `decades`). A list without frequencies stays uniform.
    bool weighted = false;
    // Only first names given in these decades, weighted by their births there
    // (with or without `weighted`), unisex by the rule over those decades.
    // Family names follow `weighted` alone. Refused (ChoiceError) for an
    // origin without births by decade.
    std::optional<DecadeRange> decades;
};

// An origin's pools for a choice, and what they rest on.
struct FrequencyPools {
    OriginNames names;
    bool weightedFirst = false;  // the first names are drawn by frequency
    bool weightedLast = false;   // the family names are drawn by frequency
    // Weighted draws were asked for but the origin has no frequencies: its
    // names are drawn uniformly, and the caller should say so.
    bool lacksFrequencies = false;
};

// The pools of an origin whose weightedLists and birthsByDecade are filled
// where it has them (readOriginFolder, or names::loadDistributions). Names are
// as rows show them (generation's shownName). Weighted pools leave out names of
// weight zero: they are never drawn. Unisex first names taken from births are
// in neither the female nor the male pool. Throws ChoiceError for decades
// asked of an origin without births, platform::Failure for unreadable births.
FrequencyPools frequencyPools(const names::OriginEntry& origin, const FrequencyChoice& choice);
FrequencyPools frequencyPools(const names::PackedOrigin& origin, const FrequencyChoice& choice);
// The same, taking the origin's lists over where they can serve as they are.
FrequencyPools frequencyPools(names::PackedOrigin&& origin, const FrequencyChoice& choice);

// The same for a stored origin: its lists as the user's edits leave them
// (names::originForDrawing), with the full distributions and births loaded
// when the choice needs them (names::packedForDrawing, quick for an origin
// without edits). The user's edits do not reach those.
FrequencyPools storedFrequencyPools(platform::Database& database, const QString& tag,
                                    const FrequencyChoice& choice);

}  // namespace generate
