#pragma once

#include <QString>

namespace tapwise {

// Translates a Keys text into the keystroke notation that the desktop types:
// "+", "^" and "%" hold Shift, Ctrl and Alt for the next key, "{NAME}" is a
// named key, "{c}" types one of the notation's special characters literally,
// anything else is typed as itself.
//
// - One character: the special characters + ^ % ~ ( ) [ ] { } come back in
//   braces, every other character as it is.
// - Mouse lines, commands and character strings ("[", "*", ":") come back
//   unchanged; the dispatcher recognises them.
// - "{NAME}": "{COMMA}", "{SPACE}" and "{PLUS}" become ",", " " and "{+}"
//   (they stand for keys that a Keys text cannot hold); other names unchanged.
// - A key combination "Shift+Ctrl+Alt+k": the key after the last "+" (with the
//   same three names translated) behind the prefixes, always in the order
//   "+^%".
// - Any other text, or a combination with no key after its last "+", gives ""
//   and nothing is typed.
QString KeysToSend(const QString& keys);

} // namespace tapwise
