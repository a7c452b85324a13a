#pragma once

#include "platform/Desktop.h"

#include <vector>

struct _XDisplay;

namespace tapwise {

class X11ErrorTrap;

// Finds the window the user works in and reads its title and class.
//
// With a window manager that is the window it names active
// (_NET_ACTIVE_WINDOW); without one, the window with the input focus (the
// top-level window under the pointer when the focus follows the pointer or
// is on the root window), walking up to the first that is a client window
// (carries WM_STATE) or carries a name, and down to a client window inside it
// when none above does. Titles come from _NET_WM_NAME (UTF-8) or WM_NAME (Latin-1, UTF-8 or
// compound text). A window destroyed while it is read gives an empty title.
class X11WindowReader {
public:
    X11WindowReader(_XDisplay* display, X11ErrorTrap& trap);

    ForegroundWindow foreground();
    // The foreground client window, 0 when there is none.
    unsigned long foregroundWindowId();

    // The longest title given back, in characters.
    static constexpr int kMaxTitleLength = 259;

private:
    bool windowManagerRuns();
    unsigned long windowProperty(unsigned long window, unsigned long atom);
    bool hasProperty(unsigned long window, unsigned long atom);
    QString title(unsigned long window);
    QString className(unsigned long window);
    unsigned long parent(unsigned long window);
    std::vector<unsigned long> children(unsigned long window, unsigned long* parent = nullptr);
    unsigned long topLevelUnderPointer();
    unsigned long clientBelow(unsigned long window, int depth);

    _XDisplay* display_;
    X11ErrorTrap& trap_;
    unsigned long root_;
    unsigned long netActiveWindow_;
    unsigned long netSupportingWmCheck_;
    unsigned long netWmName_;
    unsigned long utf8String_;
    unsigned long wmState_;
};

} // namespace tapwise
