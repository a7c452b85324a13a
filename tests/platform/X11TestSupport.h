#pragma once

// What the X11 desktop tests share: a server per test, the desktop on it, an
// independent look at the server's key state, and the text to type.

#include "TestWindows.h"
#include "XvfbServer.h"
#include "platform/X11Desktop.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>

namespace tapwise::test {

// Key codes the server reports down, read on a connection of the test's own.
QList<unsigned> keysDown(const QString& display);

// The keysyms of the level-1 position of every key code (for checking that
// remapped key codes were put back).
QList<unsigned long> allLevelOneKeysyms(const QString& display);

// Locks or unlocks Caps Lock; locks a keyboard group; reads both.
void lockCapsLock(const QString& display, bool on);
void lockGroup(const QString& display, int group);
bool capsLockOn(const QString& display);
// Lets the keyboard focus follow the pointer: PointerRoot, as a server
// without a window manager starts, or the root window focused (as when the
// focused window has gone), which sends keys to the window under the pointer
// too.
void focusFollowsPointer(const QString& display, bool rootFocused = false);

// The keyboard grabbed by a client of the test's own, as an open menu or a
// remote desktop window does, until the object goes away.
class KeyboardGrab {
public:
    explicit KeyboardGrab(const QString& display);
    KeyboardGrab(const KeyboardGrab&) = delete;
    KeyboardGrab& operator=(const KeyboardGrab&) = delete;
    ~KeyboardGrab();
    bool active() const { return active_; }

private:
    _XDisplay* display_;
    bool active_ = false;
};

// Writes `text` in the keystroke notation, every character literally.
QString notationFor(const QString& text);

// A long text with every printable ASCII character, upper and lower case,
// digits, characters missing from a US keymap, tabs and line breaks.
QString mixedText(int minimumLength);

// A fresh X server and our desktop on it, for one test.
class X11DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    bool startWindowManager();
    X11Desktop& desktop() { return *desktop_; }

    XvfbServer server_;
    WindowManager wm_;
    std::unique_ptr<X11Desktop> desktop_;
};

} // namespace tapwise::test
