#pragma once

#include <optional>

#include <QString>

#include "generate/birth_decades.h"

namespace platform {
class Settings;
}

namespace app {

// How "Start Generating" draws, as the keys Weighted, Born and Invent hold
// it. A stored value that cannot be read counts as the key's default; why it
// cannot be read is kept for the one report at start-up, and the stored text
// stays as written.
struct DrawKeys {
    bool weighted = false;
    std::optional<generate::DecadeRange> born;  // none: all years
    bool invent = false;

    QString unreadableWeighted;
    QString unreadableBorn;
    QString unreadableInvent;
};

// What the current origins offer the keys: Born is unreadable for origins
// without births by decade. None: the origins are not known (the list load
// failed), and Born is read by its text alone.
struct OriginOffer {
    bool decades = false;
};

DrawKeys readDrawKeys(const platform::Settings& settings, std::optional<OriginOffer> offer);

}  // namespace app
