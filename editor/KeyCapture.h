#pragma once

#include <QString>

namespace tapwise {

// Key codes of the key entry box, in the numbering the notation was made
// for (letters 65-90, digits 48-57, function keys from 112); X11KeyCodes maps
// the keys of the X keyboard onto it.
namespace keycode {
inline constexpr int Tab = 9;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int Up = 38;
inline constexpr int Down = 40;
inline constexpr int Plus = 187;  // the key that types "+"
inline constexpr int Comma = 188; // the key that types ","
} // namespace keycode

// Modifier mask of a key event.
inline constexpr int ShiftMask = 1;
inline constexpr int CtrlMask = 2;
inline constexpr int AltMask = 4;

// The name of a key code ("{ENTER}", "{F5}"), "" for a code without one.
QString KeyNames(int code);
// "Shift", "Ctrl", "Shift+Ctrl", ... "Shift+Ctrl+Alt"; "" for no modifier.
QString ModifierPrefix(int mask);

// One released key, as the key entry box saw it.
struct KeyRelease {
    int code = 0; // 0: a key the table does not know
    int mask = 0;
    // The character the press typed, when the modifiers still type one
    // (Shift, AltGr); 0 when it typed none or a control character.
    char32_t typed = 0;
    // The key's own character without modifiers, for keys other than
    // letters and digits that have no name ("-" for the minus key).
    char32_t base = 0;
};

// The Keys text of a released key, "" when it gives none:
// - Shift, Ctrl and Alt alone give nothing;
// - a named key gives its name, with the modifiers "Shift+{TAB}";
// - a character key gives the character it typed ("a", "A", "!", "€");
// - a modified key that typed no character gives the modifiers and the key
//   in lower case ("Ctrl+c", "Ctrl+Alt+1", "Ctrl+-"); the "+" and ","
//   keys give "Ctrl+{PLUS}", "Ctrl+{COMMA}".
// A comma, which a line cannot hold, always comes back as "{COMMA}".
QString keyReleaseKeys(const KeyRelease& key);

// Whether the key down of this code moves the drop-down selection, so that
// the selection change it causes must not count as a pick.
bool movesDropDownSelection(int code);

} // namespace tapwise
