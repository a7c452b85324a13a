#pragma once

#include "common/Lang.h"

namespace tapwise::mainwindowtext {

// A caption or tooltip of the main window; a null tooltip means none.
struct ControlText {
    BilingualText caption;
    BilingualText tooltip;
};

inline constexpr BilingualText None{nullptr, nullptr};

// --- Main window (MainWindow, Form2) ---

inline constexpr BilingualText DescriptionLabel{"'Key Sequence' Description",
                                                "Descrizione del 'Key Sequence'"};
inline constexpr BilingualText ListTip{"DblClick: Run without message",
                                       "DblClick: Esegui senza messaggi"};

inline constexpr ControlText New{{"New", "Nuovo"},
                                 {"Create new 'Key sequence'", "Crea un nuovo 'Key Sequence'"}};
inline constexpr ControlText Update{
    {"Update", "Modifica"},
    {"Update selected 'Key sequence'", "Modifica il 'Key Sequence' selezionato"}};
inline constexpr ControlText Delete{
    {"Delete", "Elimina"},
    {"Delete selected 'Key sequence'", "Elimina il 'Key Sequence' selezionato"}};
inline constexpr ControlText Export{{"Export", "Export"},
                                    {"Export selected 'Key sequence' to .tpw file",
                                     "Esporta il 'Key Sequence' selezionato in un file 'tpw'"}};
inline constexpr ControlText Import{
    {"Import", "Import"},
    {"Import a 'Key sequence' from .tpw file", "Importa un 'Key Sequence' da un file 'tpw'"}};
inline constexpr ControlText PrintFormat{{"Print format", "Formato stampa"},
                                         {"Create a  .txt file from selected 'Key sequence'",
                                          "Crea un file '.txt' dal 'Key Sequence' selezionato"}};
inline constexpr ControlText Shortcut{
    {"Create a Desktop Shortcut", "Crea collegam. su Desktop"},
    {"Create a shortcut on DeskTop from selected 'Key sequence'",
     "Crea un collegamento sul Desktop del 'Key Sequence' selezionato"}};
inline constexpr ControlText Run{
    {"Run", "Esegui"}, {"Run selected 'Key sequence' ", "Esegui il 'Key Sequence' selezionato"}};
inline constexpr ControlText Exit{{"Exit", "Exit"}, None};
inline constexpr ControlText Help{{"Help", "Help"}, None};
inline constexpr ControlText MousePosition{
    {"Check mouse position", "Verifica la posizione del mouse"},
    {"Display X and Y screen coordinates of mouse position",
     "Visualizza le coordinate X e Y della posizione del mouse"}};
inline constexpr ControlText Uninstall{
    {"Uninstall", "Disinstalla"}, {"Ctrl+Alt+Click: uninstall", "Ctrl+Alt+Click: disinstalla"}};

// --- Messages of the main window (title "Tapwise") ---

inline constexpr BilingualText SelectRow{"Select a row!", "Seleziona una riga!"};
inline constexpr BilingualText ConfirmDelete{"Do you confirm?", "Confermi?"};
inline constexpr BilingualText ConfirmUninstall{"Are you sure you want to uninstall?",
                                                "Sei sicuro di voler disinstallare?"};
inline constexpr BilingualText UninstallHint{"To uninstall you must press Ctrl+Alt+Click!",
                                             "Per disinstallare premi Ctrl+Alt+Click!"};
// %1: the print file's path.
inline constexpr BilingualText PrintNotOpened{
    "The listing has been written to\n%1\nbut no program could be found to open it.",
    "Il listato e' stato scritto in\n%1\nma non si e' trovato un programma per aprirlo."};

// --- Mouse position window (MousePositionWindow, Form7) ---

// %1 and %2: the pointer's x and y in screen pixels.
inline constexpr BilingualText MousePositionLabel{"Mouse position:  X= %1     Y= %2",
                                                  "Posizione del mouse:  X= %1     Y= %2"};

} // namespace tapwise::mainwindowtext
