#pragma once

#include "common/Lang.h"

namespace tapwise::helptext {

// The caption is MainTitle followed by this.
inline constexpr char CaptionSuffix[] = "  Tutorial";
inline constexpr char MessageTitle[] = "Tapwise";

inline constexpr BilingualText PrintQuestion{"Do you confirm to print?", "Confermi la stampa?"};
inline constexpr BilingualText NoPrinter{
    "No printer is configured on this computer: nothing has been printed.",
    "Nessuna stampante e' configurata su questo computer: non e' stato stampato nulla."};
// %1: the printer's name.
inline constexpr BilingualText PrintFailed{"The printer %1 could not print the window.",
                                           "La stampante %1 non ha potuto stampare la finestra."};

// The manual, in three pieces: the sections up to the example's first line,
// the example lines (the same in both languages), and what follows them.
// Lines stay within 78 characters so that the fixed-width viewer shows them
// without wrapping.
inline constexpr BilingualText HelpBeforeExample{
    R"((Right click for printing.)

USE
- Tapwise simulates the activity of the keyboard and of the mouse, to store
  data in any application or to repeat a routine task: it types the lines
  of a 'Key sequence' into the window that has the keyboard focus.
- The data can come from the columns of a worksheet. The workbook (.xlsx or
  .xlsm) is read and written directly: no spreadsheet program needs to be
  installed or open.
- With a worksheet the 'Key sequence' is repeated for every row, from the
  second one (the first row holds the headers) down to the row whose used
  cells are all blank. After each cycle the run stops, shows the data sent
  and asks whether to go on without interruptions; there the WaitTimes can
  be adjusted in per cent.
- The rows sent correctly turn green and are skipped when the sheet is
  sent again.
- The data stored can be verified (see CONTROL COMMANDS).
- The word #REPEAT# in n cells of a column repeats the 'Key sequence' n
  times without sending data.
- The 'Pause' key pauses or cancels the run at any time.
- All the messages can be suppressed (see USE IN BACKGROUND).

INIZIALIZATION
- Run the program with the full path of a folder as its argument, e.g.:
      tapwise /home/anna/Tapwise
  The data file 'TapwiseData.dtk' in that folder stores the 'Key sequences'
  and their WaitTimes, in hundredths of a second. Each folder has its own
  data file.
- Add |I after the folder for the Italian interface (|E for English), and
  quote the argument: tapwise "/home/anna/Tapwise|I"
- A desktop launcher that carries the folder is suggested (see the starting
  message): started without an argument, for instance from its entry in
  the applications menu, the program offers to create it.

UNINSTALLATION
- Delete the launcher, the program and the data file 'TapwiseData.dtk'
  inside the folder, or press the button 'Uninstall'.

USE IN BACKGROUND
- A 'Key sequence' runs at once, without the main window, when the argument
  holds after the folder, separated by commas:
  1) the name of the 'Key sequence' (its full description, or its part up
     to the first line feed);
  2) the full path of an Excel file (else it is asked when needed, and so
     is its password), with its read password after a bar, e.g.
     /home/anna/Orders.xlsx|secret
  3) the word 'NoMsg', to suppress all the messages.
  E.g.: tapwise "/home/anna/Tapwise,Daily report,,NoMsg"
- Runs can be planned with the system's task scheduler (for instance cron
  or a systemd timer of the desktop session, with DISPLAY set).

CREATE A SHORTCUT KEY TO THE 'KEY SEQUENCE'
1) Create a desktop launcher as for the use in background.
2) In the keyboard settings of the desktop, add a custom shortcut whose
   command is the launcher's command, with a key such as Ctrl+Alt+character.
3) Ctrl+Alt+character then runs the 'Key sequence'.
The launcher can be created automatically with the button 'Create a
Desktop Shortcut'.

IMPORT/EXPORT
- A 'Key sequence' can be exported to a '.tpw' file and imported from one,
  for instance into the data file of another folder.

CONTROL COMMANDS
The optional commands, chosen in the editor's list:
- Pause: stops the run until it is resumed or cancelled.
- ChkExcelSheetCol: checks the data just typed from a worksheet column.
- BeginExcelLoop, EndExcelLoop: repeat the lines between them for each row
  of a group of rows.
- Chk: checks a text in the window title, on the screen or in the
  clipboard.
- If: jumps to a Label when a condition holds, over the clipboard, the
  window title, a counter, an Excel cell, the time or the day and time, or
  always (True).
- Label: the target of a jump, numbered from 1 to 999.
- Remark: a line of comment, never executed.
- PutClipBtoCol#: writes the clipboard text into a cell of the current row.
When a check command finds an error, the program stops and waits to be
resumed or cancelled; with a worksheet it can restart with the current or
with the next row.

EXAMPLE
If you store the following 'Key sequence':
)",
    R"((Per stampare cliccare con il tasto destro.)

UTILIZZO
- Tapwise simula l'attivita' della tastiera e del mouse, per memorizzare
  dati in qualsiasi applicazione o ripetere un lavoro di routine: digita le
  righe di un 'Key Sequence' nella finestra che ha il fuoco della tastiera.
- I dati possono venire dalle colonne di un foglio di lavoro. La cartella
  di lavoro (.xlsx o .xlsm) e' letta e scritta direttamente: non serve
  installare o aprire un programma di fogli di calcolo.
- Con un foglio di lavoro il 'Key Sequence' si ripete per ogni riga, dalla
  seconda (la prima contiene le intestazioni) fino alla riga le cui celle
  usate sono tutte vuote. Dopo ogni ciclo l'esecuzione si ferma, mostra i
  dati inviati e chiede se proseguire senza interruzioni; li' i WaitTime
  si possono regolare in percentuale.
- Le righe inviate correttamente diventano verdi e vengono saltate quando
  il foglio viene inviato di nuovo.
- I dati memorizzati possono essere verificati (vedi COMANDI DI CONTROLLO).
- La parola #REPEAT# in n celle di una colonna ripete il 'Key Sequence' n
  volte senza inviare dati.
- Il tasto 'Pausa' sospende o annulla l'esecuzione in qualsiasi momento.
- Tutti i messaggi possono essere soppressi (vedi USO IN BACKGROUND).

INIZIALIZZAZIONE
- Avviare il programma con il percorso completo di una cartella come
  argomento, ad es.:
      tapwise /home/anna/Tapwise
  Il file dati 'TapwiseData.dtk' in quella cartella memorizza i 'Key
  Sequence' e i loro WaitTime, in centesimi di secondo. Ogni cartella ha il
  suo file dati.
- Aggiungere |I dopo la cartella per l'interfaccia in italiano (|E per
  l'inglese), e scrivere l'argomento tra virgolette:
      tapwise "/home/anna/Tapwise|I"
- Si consiglia un lanciatore sul desktop che porti la cartella (vedi il
  messaggio iniziale): avviato senza argomento, ad esempio dalla sua voce
  nel menu delle applicazioni, il programma propone di crearlo.

DISINSTALLAZIONE
- Eliminare il lanciatore, il programma e il file dati 'TapwiseData.dtk'
  nella cartella, oppure premere il pulsante 'Disinstalla'.

USO IN BACKGROUND
- Un 'Key Sequence' viene eseguito subito, senza la finestra principale,
  quando l'argomento contiene dopo la cartella, separati da virgole:
  1) il nome del 'Key Sequence' (la descrizione completa, o la sua parte
     fino al primo ritorno a capo);
  2) il percorso completo di un file Excel (altrimenti viene chiesto quando
     serve, e cosi' la sua password), con la password di lettura dopo una
     barra, ad es. /home/anna/Ordini.xlsx|segreta
  3) la parola 'NOMSG', per sopprimere tutti i messaggi.
  Ad es.: tapwise "/home/anna/Tapwise,Report giornaliero,,NOMSG|I"
- Le esecuzioni si possono pianificare con l'utilita' di pianificazione del
  sistema (ad esempio cron o un timer systemd della sessione del desktop,
  con DISPLAY impostato).

CREAZIONE DI UN TASTO DI SCELTA RAPIDA PER IL 'KEY SEQUENCE'
1) Creare un lanciatore sul desktop come per l'uso in background.
2) Nelle impostazioni della tastiera del desktop, aggiungere una scorciatoia
   personalizzata il cui comando e' quello del lanciatore, con un tasto come
   Ctrl+Alt+carattere.
3) Ctrl+Alt+carattere esegue allora il 'Key Sequence'.
Il lanciatore si puo' creare automaticamente con il pulsante 'Crea
collegam. su Desktop'.

IMPORT/EXPORT
- Un 'Key Sequence' puo' essere esportato in un file '.tpw' e importato da
  esso, ad esempio nel file dati di un'altra cartella.

COMANDI DI CONTROLLO
I comandi facoltativi, scelti nella lista dell'editor:
- Pause: ferma l'esecuzione finche' non viene ripresa o annullata.
- ChkExcelSheetCol: verifica i dati appena digitati da una colonna.
- BeginExcelLoop, EndExcelLoop: ripetono le righe comprese tra loro per
  ogni riga di un gruppo di righe.
- Chk: verifica un testo nel titolo della finestra, sullo schermo o negli
  appunti.
- If: salta a una Label quando una condizione e' vera, sugli appunti, sul
  titolo della finestra, su un contatore, su una cella Excel, sull'ora o
  sul giorno e ora, oppure sempre (True).
- Label: la destinazione di un salto, numerata da 1 a 999.
- Remark: una riga di commento, mai eseguita.
- PutClipBtoCol#: scrive il testo degli appunti in una cella della riga
  corrente.
Quando un comando di verifica trova un errore, il programma si ferma e
attende di essere ripreso o annullato; con un foglio di lavoro puo'
ripartire dalla riga corrente o dalla successiva.

ESEMPIO
Se viene caricato il seguente 'Key Sequence':
)"};

// The example's lines, the Keys in a column of 22 characters.
inline constexpr const char* ExampleLines[] = {
    "Keys             WaitTime(hsec)  ", "H                     10", "e                     10",
    "l                     10",          "l                     10", "o                     10",
    "{ENTER}               10",          "*BeginExcelLoop*        ", "ExcelSheetCol#A       10",
    "*ChkExcelSheetCol*      ",          "{ENTER}               10", "*EndExcelLoop*          ",
    "ALT+{F4}              50",          "{ENTER}               50", "{ENTER}               0",
};

inline constexpr BilingualText HelpAfterExample{
    R"(
and run it while a word processor or a spreadsheet is active, it writes the
word 'Hello' and then, row by row, the first column of a worksheet, checking
each value it typed.
The WaitTimes may need to be shorter or longer, depending on the speed of
the system.
)",
    R"(
e lo si esegue mentre e' attivo un programma di videoscrittura o un foglio
di calcolo, scrive la parola 'Hello' e poi, riga per riga, la prima colonna
di un foglio di lavoro, verificando ogni valore digitato.
Puo' essere necessario ridurre o aumentare i WaitTime, a seconda della
velocita' del sistema.
)"};

} // namespace tapwise::helptext
