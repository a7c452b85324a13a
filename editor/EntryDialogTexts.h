#pragma once

#include "common/Lang.h"

namespace tapwise::entrytext {

// --- Shared by the dialogs ---

// Title of the messages the dialogs show.
inline constexpr char MessageTitle[] = "Tapwise";
inline constexpr char Ok[] = "OK";
inline constexpr char Exit[] = "Exit";
inline constexpr BilingualText MustNotBeEmpty{"Must be not empty!", "Deve essere non vuoto!"};
inline constexpr BilingualText ForbiddenCharacters{
    "Must not contains the following characters: ,;()",
    "Non deve contenere i seguenti caratteri: ,;()"};

// The live pointer position shown where a dialog asks for a screen position,
// and the key that copies it into the X and Y boxes.
inline constexpr BilingualText PointerAt{"Pointer now at  X=%1  Y=%2",
                                         "Puntatore ora in  X=%1  Y=%2"};
inline constexpr BilingualText PointerTake{"(point at the place and press F8 to take it)",
                                           "(punta il posto e premi F8 per prenderlo)"};

// --- Mouse values dialog (MouseValuesDialog, Form5) ---

inline constexpr BilingualText MouseCaption{"Set Mouse Values", "Imposta i valori del Mouse"};

inline constexpr BilingualText PositionPrompt{
    "Enter mouse position in pixel:\n\n"
    "(if you have a 800x600 resolution, the lower-right corner "
    " of your screen is X=799 and Y=599, the upper-left is X=0 and Y=0.)",
    "Inserisci la posizione del mouse in pixel:\n\n"
    "(se hai una risoluzione di 800x600, l'angolo in basso a destra "
    " dello schermo e' X=799 e Y=599, quello in alto a sinistra e' X=0 e Y=0.)"};
inline constexpr char PositionX[] = "X";
inline constexpr char PositionY[] = "Y";

inline constexpr BilingualText MovementPrompt{
    "Enter mouse movement:\n\n"
    "(positive value: the mouse moved right (or down) "
    "negative value: the mouse moved left (or up);\n"
    "the amount depends on your mouse speed - 4 pixel for medium speed.)",
    "Inserisci lo spostamento del mouse:\n"
    "(valori positivi: il mouse si sposta a destra (o in basso)  -  "
    "valori negativi: il mouse si sposta a sinistra (o in alto);\n"
    "la quantita' dipende dalla velocita' del mouse - 4 pixel per velocita' media.)"};
inline constexpr BilingualText MovementX{"Horizontal movement", "Spostamento orizzontale"};
inline constexpr BilingualText MovementY{"Vertical movement", "Spostamento verticale"};

inline constexpr BilingualText WheelPrompt{"Enter wheel movement:\n\n"
                                           "(positive value: the wheel rotated forward "
                                           "negative value: the wheel rotated backward.)",
                                           "Inserisci lo spostamento della rotella:\n\n"
                                           "(valori positivi: la rotella ruota in avanti "
                                           "valori negativi: la rotella ruota indietro.)"};
inline constexpr BilingualText WheelAmount{"Amount", "Quantita'"};

// --- Input boxes: pause remark, remark, character string, label ---

inline constexpr BilingualText PausePrompt{
    "Enter the pause remark.\n(Max 36 characters)",
    "Inserisci il commento della pausa.\n(Max 36 caratteri)"};
inline constexpr BilingualText RemarkPrompt{"Enter the remark.\n(Max 40 characters)",
                                            "Inserisci il commento.\n(Max 40 caratteri)"};
inline constexpr BilingualText RemarkTitle{"Remark", "Commento"};
inline constexpr BilingualText StringPrompt{
    "Enter the characters string.\n(Max 40 characters)",
    "Inserisci la stringa di caratteri.\n(Max 40 caratteri)"};
inline constexpr BilingualText StringTitle{"Characters string", "Stringa di caratteri"};
inline constexpr BilingualText CommaRefused{"'Comma' not allowed!", "'Virgola' non permessa!"};

inline constexpr BilingualText LabelPrompt{"Enter the 'Label'\nFrom 1 to 999",
                                           "Inserisci la 'Label'\nDa 1 a 999"};
inline constexpr char LabelTitle[] = "Label";
inline constexpr BilingualText LabelRefused{"Wrong 'Label'!", "'Label' errata!"};

// --- Check dialog (CheckDialog, Form11) ---

inline constexpr BilingualText CheckCaption{"Check screen text", "Controllo del testo"};
inline constexpr BilingualText CheckExplanation{
    "Enter the mouse position of the checking text on the screen. \n"
    "If left blank, the position is the current.\n"
    "Not allowed if the check is made on the clipboard.\n"
    "(The error message will disappear after 'WaitTime' seconds if not zero).\n"
    "If zeroes, the check is made on the Window Title.\n"
    "(The error message will appear only after 'WaitTime' seconds of attempts).",
    "Inserisci la posizione del mouse del testo da controllare sullo schermo. "
    "Se blank, la posizione e' la corrente.\n"
    "Non compilare se il controllo e' fatto sugli appunti.\n"
    "(Il messaggio di errore scomparira' dopo 'WaitTime' secondi se non zero).\n"
    "Se zero, il controllo e' fatto sul Titolo della Finestra.\n"
    "(Il messaggio di errore apparira' solo dopo 'WaitTime' secondi di tentativi)."};
inline constexpr char CheckX[] = "X";
inline constexpr char CheckY[] = "Y";
inline constexpr char CheckSeconds[] = "WaitTime (sec)";
inline constexpr BilingualText CheckText{"Characters into checking text  (max 20)",
                                         "Caratteri nel testo da controllare (max 20)"};
inline constexpr BilingualText CheckClipboard{"Check the clipboard ", "Controlla gli appunti"};
inline constexpr BilingualText BothBlank{"Both X and Y must be space!",
                                         "Sia X che Y devono essere spazi!"};

// --- Condition dialog (ConditionDialog, Form12) ---

inline constexpr char ConditionCaption[] = "If";
inline constexpr BilingualText ConditionIntro{"Enter required parameters:",
                                              "Inserisci i parametri richiesti:"};
inline constexpr BilingualText ConditionType{"'If' type", "Tipo di 'If'"};
inline constexpr BilingualText ConditionOperator{"Matching operator", "Operatore di confronto"};
inline constexpr BilingualText ConditionValue{
    "Matching characters (max 24) / Counter limit / (Day) HH:mm:ss",
    "Caratteri da confrontare (max 24) / Limite del 'counter' / (GG) HH:mm:ss"};
inline constexpr BilingualText ConditionLabel{"'Label' number", "Numero 'Label'"};

} // namespace tapwise::entrytext
