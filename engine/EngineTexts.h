#pragma once

#include "common/Lang.h"

// Every text that a run shows, in English and Italian. Placeholders are
// filled with QString::arg.
namespace tapwise::enginetexts {

// End report.
inline constexpr BilingualText KeyStrokesLabel{"Number of KeyStrokes: ", "Numero di tasti: "};
inline constexpr BilingualText MouseEventsLabel{"Number of Mouse Events: ",
                                                "Numero di eventi del Mouse: "};
inline constexpr BilingualText CyclesLabel{"Number of Cycles: ", "Numero of Cicli: "};
inline constexpr BilingualText CyclesCompleted{" (completed)", " (completati)"};
inline constexpr BilingualText RunCanceled{"Tapwise has been canceled!",
                                           "Tapwise e' stato cancellato!"};
inline constexpr BilingualText RunEnded{"Tapwise is ended!", "Tapwise e' terminato!"};
inline constexpr BilingualText ClipboardNotStored{
    "Clipboard not stored into the worksheet (the 'Key sequence' uses no worksheet column): %1",
    "Appunti non scritti nel foglio Excel (il 'Key sequence' non usa colonne Excel): %1"};

// The password of an encrypted workbook chosen in the file dialog.
inline constexpr BilingualText PasswordPrompt{"'%1' is protected by a password.\n\nPassword:",
                                              "'%1' è protetto da una password.\n\nPassword:"};

// Message and pause window.
inline constexpr BilingualText PauseHeading{"Pause...  ", "Pausa..."};
inline constexpr BilingualText DifferenceBefore{"A difference between Excel data ",
                                                "Una differenza tra i dati Excel "};
inline constexpr BilingualText DifferenceAfter{" has been detected!", " e' stata trovata!"};
inline constexpr BilingualText WrongData{"***** Wrong data has been found ***** ",
                                         "***** Sono stati trovati dati errati ***** "};
inline constexpr BilingualText ExcelRow{"(Excel Row N.: ", "(Riga Excel N.: "};
// The column check's text: expected and received data.
inline constexpr BilingualText ReceivedData{"     (%1)     and received data     (%2)     ",
                                            "     (%1)     e i dati ricevuti     (%2)"};

// Status window.
inline constexpr BilingualText Running{"Tapwise is running...", "Tapwise e' in elaborazione..."};
inline constexpr BilingualText UsePauseKey{"Use 'Pause' key to pause/ cancel!",
                                           "Usa il tasto 'Pausa' per pausa/ cancell.!"};
inline constexpr BilingualText RunningCaption{
    " is running... Use 'Pause' key to pause/ cancel!",
    " e' in elaborazione... Usa il tasto 'Pausa' per pausa/ cancell.!"};
inline constexpr BilingualText ActivationError{"Error!", "Errore!"};

// Cycle dialog.
inline constexpr BilingualText DataSent{"The following Excel data have been sent:",
                                        "Sono stati inviati i seguenti dati Excel:"};
inline constexpr BilingualText ContinueQuestion{
    "(Do you want to continue without any interruptions?)",
    "(Vuoi continuare senza interruzioni?)"};

// A run that cannot start or cannot go on.
inline constexpr BilingualText NoExecutableLine{
    "The 'Key sequence' has no line to run: all its lines are not executable or remarks.",
    "Il 'Key sequence' non ha righe da eseguire: tutte le sue righe sono non eseguibili o "
    "commenti."};
inline constexpr BilingualText BadColumn{
    "Line %1: \"%2\" does not name a worksheet column (\"A\" to \"ZZ\", in capital letters).",
    "Riga %1: \"%2\" non indica una colonna del foglio Excel (da \"A\" a \"ZZ\", in "
    "maiuscolo)."};
inline constexpr BilingualText BadTime{
    "Line %1: \"%2\" is not a time \"HH:mm:ss\" (optionally preceded by a date).",
    "Riga %1: \"%2\" non e' un orario \"HH:mm:ss\" (eventualmente preceduto da una data)."};
inline constexpr BilingualText BadMouseValues{
    "The mouse line \"%1\" does not hold valid whole numbers.",
    "La riga del mouse \"%1\" non contiene numeri interi validi."};
inline constexpr BilingualText BadStartRow{
    "The starting Excel row must be a whole number from 2 to 65536.",
    "La riga Excel di inizio deve essere un numero intero da 2 a 65536."};
// A workbook whose save failed after rows were sent: where they are instead.
inline constexpr BilingualText RowsSentCopy{
    "Rows sent and coloured green in this run: %1. The workbook with these rows coloured was "
    "saved as '%2'; use that copy, or colour the rows by hand, before the next run.",
    "Righe inviate e colorate di verde in questa esecuzione: %1. La cartella di lavoro con "
    "queste righe colorate e' stata salvata come '%2'; usare quella copia, o colorare le righe "
    "a mano, prima della prossima esecuzione."};
inline constexpr BilingualText ChangesCopy{
    "The cells written in this run were saved in the copy '%1'.",
    "Le celle scritte in questa esecuzione sono state salvate nella copia '%1'."};
inline constexpr BilingualText RowsSentNoCopy{
    "Rows sent and coloured green in this run: %1. No copy could be saved either (%2): colour "
    "these rows green by hand before the next run, or they are typed again.",
    "Righe inviate e colorate di verde in questa esecuzione: %1. Non e' stato possibile salvare "
    "nemmeno una copia (%2): colorare di verde queste righe a mano prima della prossima "
    "esecuzione, altrimenti saranno digitate di nuovo."};
inline constexpr BilingualText ChangesNoCopy{
    "No copy with the cells written in this run could be saved either (%1).",
    "Non e' stato possibile salvare nemmeno una copia con le celle scritte in questa "
    "esecuzione (%1)."};
inline constexpr BilingualText RowsSentCopyName{" (rows sent %1)", " (righe inviate %1)"};

inline constexpr BilingualText RunStopped{"Tapwise has been stopped by an error:",
                                          "Tapwise e' stato fermato da un errore:"};

} // namespace tapwise::enginetexts
