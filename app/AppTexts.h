#pragma once

#include "common/Lang.h"

namespace tapwise::apptext {

// Title of the program's plain message boxes.
inline constexpr char MessageTitle[] = "Tapwise";

// --- Start-up and the command line ---

// The folder of the argument cannot be used: "Error!!!!", the system's error
// number and text, and the folder (English only).
inline constexpr char FolderError[] = "Error!!!!";
inline constexpr BilingualText ExcelMissing{"The Excel file does not exists!",
                                            "Il file Excel non esiste!"};
inline constexpr BilingualText InvalidParameter{"Invalid parameter!", "Parametro non valido!"};
inline constexpr BilingualText MustBeNoMsg{"(must be 'NoMsg' or blank)",
                                           "(deve essere 'NoMsg' or blank)"};
inline constexpr BilingualText SequenceMissing{"The 'Key Sequence' does not exists!",
                                               "'Key Sequence' non esistente!"};

// --- The run's windows ---

// Start window (StartWindow, Form10).
inline constexpr BilingualText StartIntro{"The following 'Key sequence' is going to send:",
                                          "Il seguente 'Key sequence' sta per essere inviato:"};
inline constexpr BilingualText StartUsePause{"Use 'Pause' key to pause/cancel",
                                             "Usa il tasto 'Pausa' per pausa/cancell."};
inline constexpr BilingualText StartExcelFile{"Excel file name: ", "Nome del file Excel: "};
inline constexpr BilingualText StartRowLabel{"N. of the starting Excel row",
                                             "N. della riga Excel di inizio"};
inline constexpr BilingualText Go{"Go", "Vai"};
inline constexpr BilingualText Exit{"Exit", "Exit"};

// Message and pause window (PauseWindow, Form9).
inline constexpr BilingualText Resume{"Resume", "Continua"};
inline constexpr BilingualText Cancel{"Cancel", "Cancella"};
inline constexpr BilingualText NextRow{"Restart with next Excel Row",
                                       "Riparti con riga Excel successiva"};
inline constexpr BilingualText ThisRow{"Restart with this Excel Row",
                                       "Riparti con questa riga Excel"};
inline constexpr BilingualText NextLoop{"Restart with next Excel Loop",
                                        "Riparti con Loop Excel successivo"};
inline constexpr BilingualText ThisLoop{"Restart with this Excel Loop",
                                        "Riparti con questo Loop Excel"};
inline constexpr BilingualText Ok{"OK", "OK"};

// Cycle dialog (CycleWindow, Form3).
inline constexpr BilingualText Yes{"Yes", "SI"};
inline constexpr BilingualText No{"No", "No"};
inline constexpr BilingualText ChangeWaitTime{"Change the WaitTime (%):",
                                              "Cambia il 'WaitTime' (%):"};

// The workbook file dialog.
inline constexpr BilingualText WorkbookFilter{"Excel workbooks (*.xlsx *.xlsm)",
                                              "Cartelle di lavoro Excel (*.xlsx *.xlsm)"};

} // namespace tapwise::apptext
