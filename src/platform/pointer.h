#pragma once

#include <optional>

#include <QCursor>
#include <QString>

namespace platform {

// Mouse-pointer values of a window.
inline constexpr int kPointerNormal = 0;
inline constexpr int kPointerHourglass = 11;
inline constexpr int kPointerCustom = 99;

// Reads a .cur (or .ico) pointer picture with its hot spot; throws platform::Failure
// when the file is not a readable picture.
QCursor LoadCursorFile(const QString& path);

// The cursor that shows for a pointer value: arrow, hourglass, or the custom
// picture (the arrow when none was loaded).
QCursor CursorFor(int pointer, const std::optional<QCursor>& custom);

}  // namespace platform
