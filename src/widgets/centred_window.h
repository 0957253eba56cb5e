#pragma once

class QWidget;

namespace widgets {

// Centres the window on its screen, the whole screen, when it is first shown,
// its frame included. The window manager adds the frame (title bar, borders)
// only once the window is on the screen, so the window is centred again
// whenever its frame changes, until it is hidden for the first time. Later
// showings leave it where it was.
void centreOnFirstShowing(QWidget* window);

}  // namespace widgets
