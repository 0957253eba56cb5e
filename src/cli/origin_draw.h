#pragma once

#include <cstdint>
#include <vector>

#include <QString>
#include <QStringList>

#include "cli/command_line.h"
#include "generate/frequency_pools.h"
#include "generate/origin_mix.h"
#include "generate/person_draw.h"

namespace platform {
class Database;
}

// The built-in list on the command line: the origins that --origin names,
// drawn by the engine, a person of one origin a row.
namespace cli {

// The default of --origin.
inline constexpr char kDefaultOrigin[] = "en-US";

// The origins of `text` ("de", "de,fr", "en-US:70,vi:30", "all") among those
// stored; throws UsageError when it cannot be read.
generate::OriginMix readOriginMix(platform::Database& database, const QString& text);

// The engine's gender filter for --gender.
generate::GenderFilter filterOf(Gender gender);

// How the chosen origins' names are taken for a run.
struct PoolRequest {
    bool latin = false;
    generate::FrequencyChoice frequencies;
    Part part = Part::Full;  // what the rows show, for the note below
};

// The origins' pools, and the line for standard error that says which of
// their names --weighted draws at equal odds for want of frequencies (empty
// when none).
struct ChosenPools {
    std::vector<generate::OriginNames> origins;
    QString uniformNote;
};

// The origins' names for drawing, with the user's changes, built into pools
// once; in Latin letters when asked (UsageError for a script that cannot be);
// by frequency or birth decade as asked (UsageError for decades of an origin
// without births).
ChosenPools originPools(platform::Database& database, const generate::OriginMix& chosen,
                        const PoolRequest& request);

// The note of ChosenPools for these pools, when --weighted asked for
// frequencies; --born weighs first names by their births without it.
QString uniformNote(const std::vector<generate::FrequencyPools>& pools, bool weighted, Part part);

// The draw of these origins; UsageError when the choice cannot be drawn (an
// origin without the first names the filter asks for).
generate::PersonDraw personDraw(std::vector<generate::OriginNames> origins,
                                const generate::DrawChoice& choice);

// Draws the persons of a `generate` run from the built-in origins and writes them.
void generateFromOrigins(const GenerateRequest& request, const QString& databasePath);

}  // namespace cli
