#include "platform/PauseKeyWatcher.h"

#include "platform/X11Keyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

// Xlib defines Status as a macro; ours is tapwise::Status.
#undef Status

namespace tapwise {

PauseKeyWatcher::PauseKeyWatcher(Display* display, X11Keyboard& keyboard)
    : display_(display), keyboard_(keyboard) {}

bool PauseKeyWatcher::init() {
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display_, "XInputExtension", &opcode, &event, &error)) {
        return false;
    }
    // Raw events reach a client of XInput 2.0 only while no program grabs the
    // keyboard (an open menu, a remote desktop window); from 2.1 on always.
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display_, &major, &minor) != Success || major < 2) {
        return false;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    if (XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1) != Success) {
        return false;
    }
    xiOpcode_ = opcode;
    return true;
}

bool PauseKeyWatcher::handleEvent(XEvent& event) {
    if (xiOpcode_ < 0 || event.type != GenericEvent || event.xcookie.extension != xiOpcode_) {
        return false;
    }
    if (XGetEventData(display_, &event.xcookie)) {
        if (event.xcookie.evtype == XI_RawKeyPress) {
            const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
            if (keyboard_.isPauseKeycode(raw->detail)) {
                // The key state read before this press does not show it.
                keyboard_.keyState().forget();
                if (!keyboard_.takeOwnPausePress()) {
                    latched_ = true;
                }
            }
        }
        XFreeEventData(display_, &event.xcookie);
    }
    return true;
}

bool PauseKeyWatcher::keyDown() {
    bool down = false;
    for (unsigned kc : keyboard_.pauseKeycodes()) {
        down = keyboard_.keyState().isDown(kc) || down;
    }
    if (down) {
        keyboard_.keyState().forget(); // its release is seen at the next query
    }
    return down;
}

bool PauseKeyWatcher::takeLatched() {
    const bool pressed = latched_;
    latched_ = false;
    return pressed;
}

} // namespace tapwise
