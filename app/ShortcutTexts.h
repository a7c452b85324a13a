#pragma once

#include "common/Lang.h"

namespace tapwise::shortcuttext {

// --- Creating a launcher ---

// %1 is the launcher's name.
inline constexpr BilingualText Created{"ShortCut:\n%1\n\nhas been created on DeskTop!",
                                       "Il collegamento:\n%1\n\ne' stato creato sul DeskTop!"};
// %1 is the file or folder, %2 the system's reason.
inline constexpr BilingualText NotCreated{"Impossible to create the ShortCut!\n%1\n%2",
                                          "Impossibile creare il collegamento!\n%1\n%2"};
inline constexpr BilingualText NoDesktopFolder{"The Desktop folder cannot be created.",
                                               "Impossibile creare la cartella del Desktop."};

// A launcher passes the program one argument whose fields are separated by
// ","; the program trims each field and takes a final "|" in the workbook
// field as the start of a password. %1 is the text that cannot be passed.
inline constexpr BilingualText NameNotCarried{
    "%1\n\nA shortcut cannot start this 'Key sequence': its name holds a \",\" or begins or "
    "ends with a blank.\nRename the 'Key sequence' and create the shortcut again.",
    "%1\n\nUn collegamento non puo' avviare questo 'Key sequence': il suo nome contiene una "
    "\",\" o inizia o finisce con uno spazio.\nRinomina il 'Key sequence' e crea di nuovo il "
    "collegamento."};
inline constexpr BilingualText PathNotCarried{
    "%1\n\nA shortcut cannot pass this path to the program: it holds a \",\", begins or ends "
    "with a blank, or holds a \"|\" that the program would read as the start of a password "
    "or of a language.\nImpossible to create the ShortCut!",
    "%1\n\nUn collegamento non puo' passare questo percorso al programma: contiene una \",\", "
    "inizia o finisce con uno spazio, o contiene una \"|\" che il programma leggerebbe come "
    "inizio di una password o di una lingua.\nImpossibile creare il collegamento!"};
// The path has a name made under another character set (its bytes are not
// UTF-8): the launcher file, which is UTF-8, cannot hold it.
inline constexpr BilingualText PathNotUtf8{
    "%1\n\nA shortcut cannot pass this path to the program: a folder or file name in it was "
    "made with another character set (it is not UTF-8).\nRename it and create the ShortCut "
    "again.",
    "%1\n\nUn collegamento non puo' passare questo percorso al programma: il nome di una "
    "cartella o di un file e' stato creato con un altro set di caratteri (non e' UTF-8).\n"
    "Rinominalo e crea di nuovo il collegamento."};

// --- The launcher of a Key sequence (Command10) ---

inline constexpr BilingualText SuppressMessages{"Do you want to suppress all the messages?",
                                                "Vuoi togliere tutti i messaaggi?"};
inline constexpr BilingualText WorkbookCaption{
    "Select an Excel file (if 'Exit', 'Key sequence' will ask it)",
    "Select an Excel file (if 'Exit', 'Key sequence' will ask it)"};

// --- Started without an argument ---

// %1 is the program's path, %2 an example folder.
inline constexpr BilingualText ShortcutOffer{
    "Run the program supplying as an argument the full path"
    " of the folder which will contain the data.\n"
    "Ex.: %1  %2\n"
    "\n"
    "It is suggested to do as it follows:\n"
    "1. Create a launcher on the Desktop for the program %1.\n"
    "2. Click right the icon and select Properties (or open the launcher file in a text "
    "editor).\n"
    "3. In 'Command' box (the line 'Exec='), fill in with the folder full path on the right "
    "side of the program full path.\n"
    "\n"
    "(To uninstall, delete the launcher, the program and the data file 'TapwiseData.dtk' "
    "inside the folder,"
    " or press the button 'Uninstall').\n"
    "\n"
    "Do you want to create the shortcut automatically?",
    "Avvia il programma indicando come argomento il percorso completo"
    " della cartella che conterra' i dati.\n"
    "Es.: %1  %2\n"
    "\n"
    "Si consiglia di procedere cosi':\n"
    "1. Crea sul Desktop un collegamento al programma %1.\n"
    "2. Clicca col tasto destro sull'icona e scegli Proprieta' (o apri il file del "
    "collegamento con un editor di testo).\n"
    "3. Nella casella 'Comando' (la riga 'Exec='), scrivi il percorso completo della cartella "
    "a destra del percorso completo del programma.\n"
    "\n"
    "(Per disinstallare, cancella il collegamento, il programma e il file dei dati "
    "'TapwiseData.dtk' nella cartella,"
    " oppure premi il pulsante 'Disinstalla').\n"
    "\n"
    "Vuoi creare il collegamento automaticamente?"};
inline constexpr BilingualText ExampleFolder{"MyFolder", "MiaCartella"};
inline constexpr BilingualText FolderCaption{"Select or create a folder",
                                             "Seleziona o crea una cartella"};

} // namespace tapwise::shortcuttext
