#pragma once

#include "common/Lang.h"

namespace tapwise::ToolText {

inline constexpr BilingualText Usage{
    "Usage: tapwise-store [--lang E|I] COMMAND FOLDER [ARGUMENTS]\n"
    "\n"
    "Works on the data file TapwiseData.dtk of FOLDER:\n"
    "  init FOLDER                        create an empty data file\n"
    "  list FOLDER                        record position and name of each Key sequence\n"
    "  show FOLDER SEQUENCE               its lines, one \"Keys<TAB>WaitTime\" per line\n"
    "  add FOLDER DESCRIPTION             append a Key sequence; its lines are read from\n"
    "                                     standard input, one \"Keys<TAB>WaitTime\" per line\n"
    "  delete FOLDER SEQUENCE             delete a Key sequence\n"
    "  export FOLDER SEQUENCE FILE.tpw    write a Key sequence to an exchange file\n"
    "  import FOLDER FILE.tpw             append the Key sequence of an exchange file\n"
    "  print FOLDER SEQUENCE              write its listing to FOLDER/TapwisePrt.txt\n"
    "  check FOLDER                       check the data file for damage\n"
    "  recover FOLDER [FILE]              take back the records that lie past the used\n"
    "                                     length (a damaged record count), or append all\n"
    "                                     records of FILE (a data file kept beside it)\n"
    "\n"
    "SEQUENCE is a name (the first line of a description, letter case ignored) or a\n"
    "record position written as @5. Output is UTF-8.\n"
    "Exit status: 0 done, 1 failed (the reason on standard error), 2 wrong usage.\n",
    "Uso: tapwise-store [--lang E|I] COMANDO CARTELLA [ARGOMENTI]\n"
    "\n"
    "Lavora sul file dati TapwiseData.dtk della CARTELLA:\n"
    "  init CARTELLA                      crea un file dati vuoto\n"
    "  list CARTELLA                      posizione e nome di ogni 'Key Sequence'\n"
    "  show CARTELLA SEQUENZA             le sue righe, una \"Keys<TAB>WaitTime\" per riga\n"
    "  add CARTELLA DESCRIZIONE           aggiunge un 'Key Sequence'; le righe sono lette\n"
    "                                     dallo standard input, una \"Keys<TAB>WaitTime\"\n"
    "  delete CARTELLA SEQUENZA           elimina un 'Key Sequence'\n"
    "  export CARTELLA SEQUENZA FILE.tpw  scrive un 'Key Sequence' in un file di scambio\n"
    "  import CARTELLA FILE.tpw           aggiunge il 'Key Sequence' di un file di scambio\n"
    "  print CARTELLA SEQUENZA            scrive il formato stampa in CARTELLA/TapwisePrt.txt\n"
    "  check CARTELLA                     controlla se il file dati e' danneggiato\n"
    "  recover CARTELLA [FILE]            riprende i record oltre la lunghezza usata (numero\n"
    "                                     di record danneggiato), o aggiunge tutti i record\n"
    "                                     di FILE (un file dati conservato accanto)\n"
    "\n"
    "SEQUENZA e' un nome (la prima riga di una descrizione, maiuscole e minuscole\n"
    "uguali) o una posizione scritta come @5. L'output e' in UTF-8.\n"
    "Codice di uscita: 0 fatto, 1 fallito (il motivo sullo standard error), 2 uso errato.\n"};

// %1: the name, %2: the data file.
inline constexpr BilingualText NotFound{"No Key sequence is named \"%1\" in %2.",
                                        "Nessun 'Key Sequence' si chiama \"%1\" in %2."};
// %1: the input line's number.
inline constexpr BilingualText BadInputLine{
    "Line %1 of the input is not \"Keys<TAB>WaitTime\". Nothing has been saved.",
    "La riga %1 dell'input non e' \"Keys<TAB>WaitTime\". Non e' stato salvato nulla."};
// %1: records, %2: used length, %3: file length.
inline constexpr BilingualText Sound{"The data file is sound: %1 records, %2 bytes used of %3.",
                                     "Il file dati e' integro: %1 record, %2 byte usati su %3."};
// %1: bytes, %2: records, %3: the folder.
inline constexpr BilingualText RecordsPastEnd{
    "%1 bytes past the used length parse as %2 records; the record count may be damaged. "
    "\"tapwise-store recover %3\" takes them back.",
    "%1 byte oltre la lunghezza usata sono leggibili come %2 record; il numero di record "
    "potrebbe essere danneggiato. \"tapwise-store recover %3\" li riprende."};
// %1: records.
inline constexpr BilingualText Recovered{"%1 records recovered.", "%1 record recuperati."};
inline constexpr BilingualText NoDataFile{
    "There is no data file: the folder holds no Key sequences.",
    "Non c'e' il file dati: la cartella non contiene alcun 'Key Sequence'."};

} // namespace tapwise::ToolText
