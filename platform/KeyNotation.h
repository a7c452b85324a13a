#pragma once

#include "common/Result.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace tapwise {

// Modifier bits of a key stroke, held down around its key.
enum KeyModifier : unsigned {
    NoModifier = 0,
    ShiftModifier = 1,
    CtrlModifier = 2,
    AltModifier = 4,
};

// The keys that "{NAME}" can press.
enum class NamedKey : std::uint8_t {
    Backspace,
    Break, // the Pause key
    CapsLock,
    Delete,
    Down,
    End,
    Enter,
    Escape,
    Home,
    Insert,
    Left,
    NumLock,
    PageDown,
    PageUp,
    PrintScreen,
    Right,
    ScrollLock,
    Tab,
    Up,
    F1, // F2 to F16 follow in order
    F16 = F1 + 15,
};

// One step of a keystroke text: a character, a named key or (at the very end
// of a text) modifiers alone, pressed `repeat` times with `modifiers` held.
struct KeyStroke {
    enum class Kind : std::uint8_t { Character, Named, ModifiersOnly };

    Kind kind = Kind::Character;
    char32_t character = 0;         // Kind::Character: the Unicode character
    NamedKey key = NamedKey::Enter; // Kind::Named
    unsigned modifiers = NoModifier;
    int repeat = 1;

    bool operator==(const KeyStroke&) const = default;
};

// The largest count accepted in "{NAME n}".
inline constexpr int kMaxKeyRepeat = 9999;

// Reads a keystroke text: "+", "^", "%" hold Shift, Ctrl, Alt for the next
// key (alone at the end they tap the modifiers); "~" is Enter; "{NAME}" and
// "{NAME n}" press a named key (names in any letter case); "{c}" and "{c n}"
// type any single character literally; tab and line breaks ("\r\n" counts
// once) press Tab and Enter; every other character is typed as itself.
// An unclosed or stray brace, an unknown name, a bad count, a bare "(" or ")"
// and control characters, surrogates, noncharacters and U+FEFF (also in
// braces) are refused with a message in `lang`.
Result<QList<KeyStroke>> parseKeyNotation(const QString& notation, const QString& lang = {});

// The notation name of a named key, e.g. "ENTER", "F4".
QString keyName(NamedKey key);

// A stroke written back in the notation ("+{LEFT 5}", "^c", "{+}", "^").
QString strokeNotation(const KeyStroke& stroke);

} // namespace tapwise
