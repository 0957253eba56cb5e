#pragma once

class QStyle;

namespace widgets {

// The style the program's frames are drawn in: the application's style, except
// that a frame is an etched line around a clear inside. Styles such as Fusion
// shade a frame's inside, so that it no longer shows the window's own colour and
// the options, which fill their background with that colour, stand out as bands.
// One style for every frame, owned by the application.
QStyle* frameStyle();

}  // namespace widgets
