#pragma once

#include "common/Lang.h"

namespace tapwise {

// Error codes of the desktop layer (Error::code).
enum PlatformErrorCode : int {
    kBadKeyNotation = 3001,
    kKeysHeldDown = 3002,
    kKeyNotTypeable = 3003,
    kDisplayUnavailable = 3004,
    kDisplayFailed = 3005,
    kClipboardUnavailable = 3006,
    kNoWindow = 3007,
};

// Every message of the desktop layer, in English and Italian. Placeholders
// are filled with QString::arg.
namespace platform_text {

inline constexpr BilingualText kUnclosedBrace{
    "Keystroke text \"%1\": the \"{\" at position %2 is not closed.",
    "Testo dei tasti \"%1\": la \"{\" alla posizione %2 non e' chiusa."};
inline constexpr BilingualText kStrayBrace{
    "Keystroke text \"%1\": the \"}\" at position %2 has no opening \"{\".",
    "Testo dei tasti \"%1\": la \"}\" alla posizione %2 non ha una \"{\" di apertura."};
inline constexpr BilingualText kUnknownKeyName{
    "Keystroke text \"%1\": unknown key name \"{%2}\".",
    "Testo dei tasti \"%1\": nome di tasto sconosciuto \"{%2}\"."};
inline constexpr BilingualText kBadRepeatCount{
    "Keystroke text \"%1\": the count in \"{%2}\" must be a whole number from 0 to 9999.",
    "Testo dei tasti \"%1\": il numero in \"{%2}\" deve essere un intero da 0 a 9999."};
inline constexpr BilingualText kBareParenthesis{
    "Keystroke text \"%1\": \"%2\" at position %3 must be written \"{%2}\".",
    "Testo dei tasti \"%1\": \"%2\" alla posizione %3 va scritto \"{%2}\"."};
inline constexpr BilingualText kControlCharacter{
    "Keystroke text \"%1\": the character U+%2 at position %3 cannot be typed.",
    "Testo dei tasti \"%1\": il carattere U+%2 alla posizione %3 non si puo' digitare."};
inline constexpr BilingualText kKeysHeld{
    "Keys are still held down (%1): release them so that the keystrokes do not combine "
    "with them.",
    "Ci sono tasti ancora premuti (%1): rilasciarli perche' i tasti inviati non si combinino "
    "con essi."};
inline constexpr BilingualText kNotTypeable{
    "The character \"%1\" cannot be typed: the keyboard has no free key code to map it to.",
    "Il carattere \"%1\" non si puo' digitare: la tastiera non ha un codice tasto libero."};
inline constexpr BilingualText kMissingModifierKey{"The keyboard map has no %1 key.",
                                                   "La mappa della tastiera non ha il tasto %1."};
inline constexpr BilingualText kNoDisplay{"Cannot connect to the X display \"%1\".",
                                          "Impossibile collegarsi al display X \"%1\"."};
inline constexpr BilingualText kNoXTest{
    "The X display has no XTEST extension: keys and mouse cannot be sent.",
    "Il display X non ha l'estensione XTEST: impossibile inviare tasti e mouse."};
inline constexpr BilingualText kNoXkb{
    "The keyboard map of the X display cannot be read (XKB).",
    "Impossibile leggere la mappa della tastiera del display X (XKB)."};
inline constexpr BilingualText kDisplayError{"The X display reported an error (%1).",
                                             "Il display X ha segnalato un errore (%1)."};
inline constexpr BilingualText kDisplayLost{"The connection to the X display was lost.",
                                            "Il collegamento al display X si e' interrotto."};
inline constexpr BilingualText kNoClipboard{
    "The clipboard is not available (no graphical application).",
    "Gli appunti non sono disponibili (nessuna applicazione grafica)."};
inline constexpr BilingualText kInputNotCarriedOut{
    "The X display did not carry out the mouse event (%1) in time.",
    "Il display X non ha eseguito in tempo l'evento del mouse (%1)."};
inline constexpr BilingualText kNoForegroundWindow{"There is no foreground window.",
                                                   "Non c'e' una finestra in primo piano."};

} // namespace platform_text
} // namespace tapwise
