#pragma once

#include "platform/Desktop.h"

namespace tapwise {

// True when the focused window is the console that started the program: a
// title ending in ".BAT", ".CMD" or "CMD.EXE" (a console started a batch
// file), or a terminal emulator, told by its window class or by a title that
// is the emulator's own name ("xterm", "konsole"...). Such a window is
// minimised before a run without messages, so that the keys reach the
// window below it.
bool IsConsoleWindow(const ForegroundWindow& window);

} // namespace tapwise
