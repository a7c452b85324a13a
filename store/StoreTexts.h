#pragma once

#include "common/Lang.h"

namespace tapwise {

// Error codes of the store, carried in Error::code.
enum StoreErrorCode {
    ReadFailed = 201,
    WriteFailed,
    FileInUse,
    DataFileDamaged,
    NoRecordAtPosition,
    RecordMismatch,
    UnencodableText,
    CommaInLine,
    EmptyLineText,
    DataFileTooLarge,
    InvalidExchangeFile,
    DataFileExists,
    NotRegularFile,
};

// Every text of the store that a user can see, in English and Italian.
namespace StoreText {

inline constexpr BilingualText ExportDone{"Export done!", "Export effettuato!"};
inline constexpr BilingualText ImportDone{"Import done!", "Import effettuato!"};
inline constexpr BilingualText InvalidTpwFile{"Invalid '.tpw' file!",
                                              "Il file '.tpw' non e' valido!"};
// %1: the data file's path; the line feed belongs to the message.
inline constexpr BilingualText DataFileCreated{"The file     ==>     %1\n has been created.",
                                               "Il file     ==>     %1\n e' stato creato."};

// %1: path, %2: the system's reason.
inline constexpr BilingualText CannotRead{"Cannot read the file %1: %2",
                                          "Impossibile leggere il file %1: %2"};
inline constexpr BilingualText CannotWrite{"Cannot write the file %1: %2",
                                           "Impossibile scrivere il file %1: %2"};
inline constexpr BilingualText InUse{
    "The file %1 is in use by another program. Try again in a moment.",
    "Il file %1 e' in uso da un altro programma. Riprova tra poco."};
inline constexpr BilingualText NotRegular{
    "The file %1 is not a regular file (a folder, a device or a FIFO). It has not been used.",
    "Il file %1 non e' un file normale (una cartella, un dispositivo o una FIFO). Non e' stato "
    "usato."};
inline constexpr BilingualText AlreadyExists{"The file %1 already exists.",
                                             "Il file %1 esiste gia'."};

// %1: path, %2: record position, %3: one of the damage reasons below.
inline constexpr BilingualText Damaged{
    "The data file %1 is damaged at position %2: %3. The file has been left unchanged.",
    "Il file dati %1 e' danneggiato alla posizione %2: %3. Il file non e' stato modificato."};
inline constexpr BilingualText CountNegative{"the record count %1 is negative",
                                             "il numero di record %1 e' negativo"};
// %1: the count, %2: the records found.
inline constexpr BilingualText CountTooLarge{
    "the record count %1 is larger than the %2 records the file holds",
    "il numero di record %1 supera i %2 record contenuti nel file"};
// %1: the file's length.
inline constexpr BilingualText HeaderPastEnd{
    "the record header runs past the end of the file (%1 bytes)",
    "l'intestazione del record va oltre la fine del file (%1 byte)"};
inline constexpr BilingualText LengthNegative{"a length in the record header is negative",
                                              "una lunghezza nell'intestazione del record e' "
                                              "negativa"};
inline constexpr BilingualText RecordPastEnd{"the record runs past the end of the file (%1 bytes)",
                                             "il record va oltre la fine del file (%1 byte)"};
inline constexpr BilingualText FileTooLong{"the file is longer than 2 GB",
                                           "il file e' piu' lungo di 2 GB"};

// %1: bytes, %2: the data file, %3: records, %4: the side file.
inline constexpr BilingualText KeptRecords{
    "%1 bytes past the used length of %2 parse as %3 records; the record count may be "
    "damaged. Before they were cut off or overwritten they have been kept in %4.",
    "%1 byte oltre la lunghezza usata di %2 sono leggibili come %3 record; il numero di record "
    "potrebbe essere danneggiato. Prima di essere tagliati o sovrascritti sono stati "
    "conservati in %4."};

// %1: record position, %2: path.
inline constexpr BilingualText NoRecord{"There is no Key sequence at position %1 of %2.",
                                        "Non c'e' alcun 'Key Sequence' alla posizione %1 di %2."};
// %1: record position, %2: path, %3 and %4: the two counts.
inline constexpr BilingualText Mismatch{
    "The record at position %1 of %2 holds %3 Keys texts but %4 WaitTimes.",
    "Il record alla posizione %1 di %2 contiene %3 testi Keys ma %4 WaitTime."};

// %1: where (the two texts below), %2: the character, %3: its code point.
inline constexpr BilingualText Unencodable{
    "%1 holds the character \"%2\" (%3), which the data file cannot store "
    "(Windows-1252). Nothing has been saved.",
    "%1 contiene il carattere \"%2\" (%3), che il file dati non puo' memorizzare "
    "(Windows-1252). Non e' stato salvato nulla."};
inline constexpr BilingualText TheDescription{"The description", "La descrizione"};
inline constexpr BilingualText TheLine{"Line %1", "La riga %1"};
inline constexpr BilingualText Comma{
    "Line %1 holds a \",\", which the data file cannot store. Nothing has been saved.",
    "La riga %1 contiene una \",\", che il file dati non puo' memorizzare. Non e' stato "
    "salvato nulla."};
inline constexpr BilingualText EmptyText{
    "Line %1 has an empty Keys text or WaitTime. Nothing has been saved.",
    "La riga %1 ha un testo Keys o un WaitTime vuoto. Non e' stato salvato nulla."};
inline constexpr BilingualText TooLarge{"The data file %1 cannot grow beyond 2 GB.",
                                        "Il file dati %1 non puo' superare 2 GB."};

} // namespace StoreText

} // namespace tapwise
