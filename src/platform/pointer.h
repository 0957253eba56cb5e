#pragma once

#include <optional>

#include <QCursor>
#include <QString>

#include "platform/pointer_shape.h"

namespace platform {

// Reads a .cur (or .ico) pointer picture with its hot spot; throws platform::Failure
// when the file is not a readable picture.
QCursor loadCursorFile(const QString& path);

// The cursor that shows for a pointer shape: arrow, hourglass, or the custom
// picture (the arrow when none was loaded).
QCursor cursorFor(PointerShape pointer, const std::optional<QCursor>& custom);

}  // namespace platform
