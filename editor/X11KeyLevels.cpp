#include "editor/X11KeyLevels.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace tapwise {

namespace {

Display* x11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The core keyboard mapping lists, per keycode, level 1 and 2 of group 1,
// then of group 2; later groups are not in it.
bool readLevels(Display* display, quint32 keycode, X11Key& key) {
    if (keycode < 8 || keycode > 255)
        return false;
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    int perKeycode = 0;
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(keycode), 1, &perKeycode);
    if (!syms)
        return false;
    const int first = perKeycode >= 4 ? 2 * (state.group % 2) : 0;
    auto level = [&](int index) {
        return index < perKeycode ? static_cast<quint32>(syms[index]) : quint32(NoSymbol);
    };
    key.level1 = level(first);
    key.level2 = level(first + 1);
    if (key.level1 == NoSymbol) { // a group without this key falls back to group 1
        key.level1 = level(0);
        key.level2 = level(1);
    }
    XFree(syms);
    return key.level1 != NoSymbol;
}

} // namespace

X11Key nativeKeyOf(const QKeyEvent& event) {
    X11Key key;
    key.keysym = event.nativeVirtualKey();
    Display* display = x11Display();
    if (!display || !readLevels(display, event.nativeScanCode(), key)) {
        key.level1 = key.keysym;
        key.level2 = key.keysym;
    }
    return key;
}

} // namespace tapwise
