#pragma once

#include <QIcon>

namespace widgets {

// The program's icon, drawn once: a quill on a fern-green tile.
QIcon ProgramIcon();

}  // namespace widgets
