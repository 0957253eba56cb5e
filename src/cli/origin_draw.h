#pragma once

#include <cstdint>
#include <vector>

#include <QString>
#include <QStringList>

#include "cli/command_line.h"
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

// The origins' names for drawing, with the user's changes, built into pools
// once; in Latin letters when asked (UsageError for a script that cannot be).
std::vector<generate::OriginNames> originPools(platform::Database& database,
                                               const generate::OriginMix& chosen, bool latin);

// The draw of these origins; UsageError when the choice cannot be drawn (an
// origin without the first names the filter asks for).
generate::PersonDraw personDraw(std::vector<generate::OriginNames> origins,
                                const generate::DrawChoice& choice);

// Draws the persons of a `generate` run from the built-in origins and writes them.
void generateFromOrigins(const GenerateRequest& request, const QString& databasePath);

}  // namespace cli
