#pragma once

#include <vector>

#include <QList>
#include <QString>
#include <QStringList>

#include "generate/person_draw.h"
#include "names/origin_data.h"

namespace generate {

// How the engine takes an origin's lists.
struct PoolChoice {
    // Each name as often as its source's weight; lists without weights
    // stay uniform.
    bool weighted = false;
    // Only the names the list views show (by their stored text, compared
    // without regard to letter case); empty: every name.
    QStringList shownFirstNames;
    QStringList shownLastNames;
    // Unisex first names in both the female and the male pool, as the main
    // window's tables hold them, and no unisex pool.
    bool unisexAsFemaleAndMale = false;
};

// The engine's pools of one origin: each name as rows show it (generation's
// shownName), held as UTF-8 once.
OriginNames originNames(const names::OriginEntry& origin, const PoolChoice& choice = {});
// The same for several origins, the shown names compared once for all.
std::vector<OriginNames> originNames(const QList<names::OriginEntry>& origins,
                                     const PoolChoice& choice);

// True when the origin's lists carry weights from a source.
bool hasWeights(const names::OriginEntry& origin);

}  // namespace generate
