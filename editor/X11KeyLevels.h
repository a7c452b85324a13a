#pragma once

#include "editor/X11KeyCodes.h"

class QKeyEvent;

namespace tapwise {

// The X key of a key event: its keysym, and the two levels of its keycode
// in the keyboard's active group, read from the X server at the time of the
// event (so a layout changed while the editor is open counts at once).
// Without an X display (the offscreen platform of the tests) both levels
// are the event's keysym.
X11Key nativeKeyOf(const QKeyEvent& event);

} // namespace tapwise
