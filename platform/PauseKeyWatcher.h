#pragma once

struct _XDisplay;
union _XEvent;

namespace tapwise {

class X11Keyboard;

// Watches the Pause key for the whole desktop without grabbing it.
//
// With XInput 2 every raw key press of every keyboard (also those that
// other programs send through XTest) is reported to us, whichever window has
// the focus, and a Pause press is latched until the next query: a tap far
// shorter than the poll interval is still seen. Pause presses that our own
// "{BREAK}" keystrokes make are counted out. Without XInput 2 only the
// keyboard state is read, which sees the key while it is down but misses a
// tap that began and ended between two readings. The keyboard state is the
// one shared with the keyboard (X11KeyState): read at most every 10 ms, and
// at every query from a raw press of a Pause key on until the key is seen
// up, so that a key held down is seen at every query and not after.
class PauseKeyWatcher {
public:
    PauseKeyWatcher(_XDisplay* display, X11Keyboard& keyboard);

    // Asks for raw key presses; false when the server lacks XInput 2.
    bool init();
    bool usesRawEvents() const { return xiOpcode_ >= 0; }

    // Takes a raw key event off the queue; false when `event` is not one.
    bool handleEvent(_XEvent& event);

    // Whether a Pause key is down, as last read (see X11KeyState).
    bool keyDown();
    // Whether a Pause press was latched since the last call; clears it.
    bool takeLatched();

private:
    _XDisplay* display_;
    X11Keyboard& keyboard_;
    int xiOpcode_ = -1;
    bool latched_ = false;
};

} // namespace tapwise
