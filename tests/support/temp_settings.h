#pragma once

#include <QTemporaryDir>

#include "platform/settings.h"
#include "support/qt_printers.h"

namespace testsupport {

// A fresh settings store in a temporary folder, never the user's.
struct TempSettings {
    QTemporaryDir folder;
    platform::Settings settings{folder.path()};
};

}  // namespace testsupport
