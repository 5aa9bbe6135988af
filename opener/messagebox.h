#pragma once
// Message boxes for a program that does not load Qt on its own: the text is written to
// standard error ("caption: text"), and when a display is named the box is shown by
// the embedded box module in a child process, which this process waits for. Without
// a display, or when the module cannot be loaded or the display not opened, standard
// error is all there is and the program goes on as if the box had been closed.
#include "boxmodule.h"

#include <string_view>

namespace opener {

void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8, BoxIcon icon);

// DISPLAY or WAYLAND_DISPLAY names a display, and Qt is not told to draw offscreen.
bool displayNamed();

} // namespace opener
