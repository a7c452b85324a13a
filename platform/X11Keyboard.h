#pragma once

#include "common/Result.h"
#include "platform/KeyNotation.h"
#include "platform/X11KeyState.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

struct _XDisplay;
struct xkb_context;
struct xkb_keymap;

namespace tapwise {

class X11ErrorTrap;

// Types key strokes into the focused X window through XTest, on our own
// connection.
//
// Which key gives which keysym is read with libxkbcommon from the server's
// keymap, for the keyboard group in use: a character is typed through the
// level with the fewest modifiers (none, or Shift), never through a level
// that needs another modifier, Caps Lock or Num Lock; a named key only
// through a level without modifiers. Anything else goes through a spare key
// code (one without symbols) that is mapped to the keysym for the purpose,
// confirmed mapped before the press, and left mapped while it may still be in
// use: programs look a key code up only when they handle the event, maybe
// long after it was sent, so a mapping changed too early types the wrong
// character. Spare key codes are reused least recently used first, and put
// back when idle, and when the object goes away by a process of their own
// (SpareKeyRestorer.h), so that the program need not wait for slow readers.
//
// Caps Lock is switched off while typing (the case typed is the case
// written) and back on afterwards; keys the user still holds (a shortcut's
// Ctrl+Alt) are waited for; every key pressed is released on every path.
class X11Keyboard {
public:
    X11Keyboard(_XDisplay* display, X11ErrorTrap& trap, const QString& lang);
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;
    ~X11Keyboard();

    // Connects libxkbcommon to the server and asks for keymap and keyboard
    // state change events.
    Status init();
    int xkbEventBase() const { return xkbEventBase_; }

    // The keys down, the group and Caps Lock, shared with the Pause key
    // watcher; see X11KeyState.
    X11KeyState& keyState() { return keyState_; }

    Status type(const QList<KeyStroke>& strokes);

    // A keymap change reported by the server (core MappingNotify or XKB map
    // notify) for key codes [first, first + count); changes of our own spare
    // key codes are ignored, others make the tables be read again.
    void noteMappingChange(unsigned first, unsigned count);
    void noteNewKeyboard() { stale_ = true; }

    // Key codes that give the Pause key, and whether a Pause press seen on
    // the raw event stream was one of ours (each of ours is counted once).
    bool isPauseKeycode(unsigned keycode);
    bool takeOwnPausePress();
    std::vector<unsigned> pauseKeycodes();

    // Puts spare key codes back once nothing has been typed through them
    // for a while.
    void restoreIdleMappings();

    // Test hook: the press after `presses` more key presses fails, as if the
    // display had refused it. -1 turns it off.
    void failAfterKeyPresses(int presses) { failAfter_ = presses; }

private:
    struct KeyChoice {
        unsigned keycode = 0;
        unsigned mods = 0; // X modifier mask of the level: 0 or ShiftMask
    };
    struct Remap {
        std::uint32_t keysym = 0;
        std::chrono::steady_clock::time_point lastUse;
    };
    using Table = std::unordered_map<std::uint32_t, KeyChoice>;

    Status ensureKeymap();
    void buildTables();
    const Table& tableFor(int group);
    Status waitForReleasedModifiers();
    void restoreAtEnd();
    Status typeInChunks(const QList<KeyStroke>& strokes, int group, bool& capsFinal);
    Result<KeyChoice> chooseKey(const KeyStroke& stroke, int group);
    Status typeStroke(const KeyStroke& stroke, KeyChoice key, int group, bool& capsFinal);
    Result<KeyChoice> resolve(std::uint32_t keysym, bool allowShift, int group);
    Result<unsigned> mapSpare(std::uint32_t keysym);
    Result<unsigned> takeSpareKeycode();
    Status setKeysym(unsigned keycode, std::uint32_t keysym);
    void restoreAll();
    Result<std::vector<unsigned>> modifierKeys(unsigned modifiers, unsigned levelMods, int group);
    Status press(unsigned keycode);
    void release(unsigned keycode);
    void releaseAll();
    Status sync();
    void setCapsLock(bool on);
    Error error(int code, const QString& message) const;

    _XDisplay* display_;
    X11ErrorTrap& trap_;
    QString lang_;
    X11KeyState keyState_;
    int xkbEventBase_ = -1;
    int deviceId_ = -1;
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> context_;
    std::unique_ptr<xkb_keymap, void (*)(xkb_keymap*)> keymap_;
    bool stale_ = true;
    std::map<int, Table> tables_;         // per keyboard group
    std::vector<unsigned> spare_;         // free key codes, lowest first
    std::map<unsigned, Remap> remapped_;  // spare key codes in our use
    std::set<unsigned> pinned_;           // key codes the chunk being typed goes through
    std::set<unsigned> pauseKeys_;        // key codes of Pause / Break
    std::vector<unsigned> heldCheckKeys_; // modifier keys a user may hold
    std::vector<unsigned> pressed_;       // our keys now down, in order
    int ownPausePresses_ = 0;
    int failAfter_ = -1;
};

} // namespace tapwise
