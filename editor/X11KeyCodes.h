#pragma once

#include <QtGlobal>

namespace tapwise {

// An X key as a key event gives it: the keysym the event's modifiers select
// and the keysyms of the key's first two levels in the active group (its
// unshifted and its shifted meaning).
struct X11Key {
    quint32 keysym = 0;
    quint32 level1 = 0;
    quint32 level2 = 0;
};

// The one table from X keys to the key codes of the key entry box:
// - Shift, Ctrl, Alt (AltGr too) 16, 17, 18; the named keys (Enter 13, Tab 9,
//   Escape 27, arrows 37-40...), keypad keys included, F1-F16 112-127;
// - a key whose unshifted meaning is a letter: 65-90 (the letter, whatever
//   the layout puts on it); a key with a digit on either level: 48-57;
// - the key that types "+" on the active layout 187, the one that types ","
//   188; keypad digits 96-105 and keypad operators 106-111;
// - any other key that types a character: a code without a name (223,
//   or the code of the usual punctuation key); 0 for keys without either.
int VirtualKeyCode(const X11Key& key);

// The character of a keysym (Latin-1, Unicode keysyms, keypad characters),
// 0 when it stands for none.
char32_t KeysymCharacter(quint32 keysym);

// The key's own character without modifiers: the unshifted level, or the
// keypad character that the event gave.
char32_t BaseCharacter(const X11Key& key);

} // namespace tapwise
