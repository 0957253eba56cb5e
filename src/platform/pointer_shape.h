#pragma once

namespace platform {

// The mouse pointer of a window, by the number the window's MousePointer holds.
enum class PointerShape {
    Normal = 0,      // the arrow
    Hourglass = 11,  // busy
    Custom = 99,     // the picture from HAND-M.CUR
};

}  // namespace platform
