#include "platform/X11KeyState.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace tapwise {

void X11KeyState::init() {
    const unsigned long details = XkbGroupStateMask | XkbModifierLockMask;
    XkbSelectEventDetails(display_, XkbUseCoreKbd, XkbStateNotify, details, details);
    XkbStateRec state{};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    noteState(state.group, state.locked_mods);
}

bool X11KeyState::isDown(unsigned keycode) {
    readIfOld();
    return keycode < 256 && (keys_[keycode / 8] & (1 << (keycode % 8)));
}

void X11KeyState::read() {
    std::fill(std::begin(keys_), std::end(keys_), 0); // a lost connection fills nothing
    XQueryKeymap(display_, keys_);
    readAt_ = Clock::now();
}

bool X11KeyState::readIfOld() {
    if (Clock::now() - readAt_ < kMaxAge) {
        return false;
    }
    read();
    return true;
}

bool X11KeyState::capsLocked() const {
    return locked_ & LockMask;
}

void X11KeyState::noteState(int group, unsigned lockedModifiers) {
    group_ = group;
    locked_ = lockedModifiers;
}

} // namespace tapwise
