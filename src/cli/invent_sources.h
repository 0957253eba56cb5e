#pragma once

// What `generate --invent` learns from: the lists of --list or the origins of
// --origin, each part's list (per sex for first names) a model of its own.

#include <QString>

#include "generate/invented_persons.h"

namespace cli {

struct GenerateRequest;

// The plan of the lists and origins the request names, with the request's
// filters on the lists they apply to. Throws platform::Failure for a
// names.mdb that cannot be read or holds no origins, UsageError for origins
// that are not known.
generate::InventionPlan inventionPlanFor(const GenerateRequest& request,
                                         const QString& databasePath);

}  // namespace cli
