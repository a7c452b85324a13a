#pragma once

#include "common/Lang.h"

namespace tapwise::editortext {

// Title of the editor's plain message boxes.
inline constexpr char MessageTitle[] = "Tapwise";

// Window captions.
inline constexpr BilingualText NewCaption{"New 'Key Sequence'", "Nuovo 'Key Sequence'"};
inline constexpr BilingualText UpdateCaption{"Update selected 'Key Sequence'",
                                             "Modifica il 'Key Sequence' selezionato"};

// Controls.
inline constexpr BilingualText DescriptionLabel{"'Key Sequence' Description",
                                                "Descrizione del 'Key Sequence'"};
inline constexpr BilingualText InsertEmptyLine{"Insert empty line", "Inserisci riga vuota"};
inline constexpr BilingualText DeleteLine{"Delete line", "Elimina riga"};
inline constexpr char WaitTimeLabel[] = "Wait Time";
inline constexpr char SaveNew[] = "SaveNew";
inline constexpr char Replace[] = "Replace";
inline constexpr char Exit[] = "Exit";

// The idle text of the key entry box.
inline constexpr BilingualText KeyPrompt{"Press a key or select from the list",
                                         "Batti un tasto o seleziona dalla lista"};

// Tooltips.
inline constexpr BilingualText WaitTimeTip{"Enter the WaitTime in hundredth of sec",
                                           "Inserisci il 'Wait Time' in centesimi di secondo"};
inline constexpr BilingualText KeyBoxTip{
    "Press a key or select an Excel sheet column, a Mouse event or other",
    "Batti un tasto o seleziona un colonna del foglio Excel, un evento del mouse o altro"};
// The list's tooltip: the three pieces joined in this order.
inline constexpr BilingualText ListTip1{"Ctrl+Click: update the WaitTime - ",
                                        "Ctrl+Click: modifica il WaitTime - "};
inline constexpr BilingualText ListTip2{
    "Alt+Click: update the values - Shift+Click: do/undo not executable",
    "Alt+Click: modifica i valori - Shift+Click: fai/non fai non eseguibile"};
inline constexpr BilingualText ListTip3{
    " - Hold Down: move line - Ctrl+Hold Down: copy line",
    " - Hold Down: sposta una riga - Ctrl+Hold Down: copia una riga"};
// Many window managers on Linux take Alt+Click for moving windows: a
// double-click does what Alt+Click does, and the tooltip says so last.
inline constexpr BilingualText ListTip4{" - Double-click: as Alt+Click",
                                        " - Doppio clic: come Alt+Click"};

// Questions and messages.
inline constexpr BilingualText ConfirmDelete{"Do you confirm?", "Confermi?"};
inline constexpr char ExitTitle[] = "Exit";
inline constexpr BilingualText ExitQuestion{
    "Are you sure you want to exit?\nThe 'Key sequence' has been changed and not saved!",
    "Sei sicuro di voler uscire?\n'Key sequence' e' stato modificato e non salvato!"};
inline constexpr BilingualText ChkAfterColumn{
    "'*ChkExcelSheetCol*' must to be after 'ExcelSheetCol#'",
    "'*ChkExcelSheetCol*' deve essere dopo 'ExcelSheetCol#'"};
inline constexpr BilingualText NotExecutable{"Not executable. Impossible to update!",
                                             "Non eseguibile. Impossibile aggiornare!"};
// Saving failed in the store: its own message follows on the next line.
inline constexpr BilingualText NotSaved{
    "The 'Key Sequence' has not been saved; the editor keeps it as it is.",
    "Il 'Key Sequence' non e' stato salvato; l'editor lo mantiene com'e'."};

} // namespace tapwise::editortext
