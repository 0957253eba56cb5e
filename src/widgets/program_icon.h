#pragma once

#include <QIcon>

namespace widgets {

// The program's icon, the pictures that the desktop's menu shows too: a fern
// frond ending in a quill's nib, on a green tile.
QIcon programIcon();

}  // namespace widgets
