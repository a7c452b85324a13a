#pragma once

#include "common/Lang.h"

namespace tapwise::pickertext {

// Title of the pickers' message boxes and prompts.
inline constexpr char MessageTitle[] = "Tapwise";

// --- The exchange file picker (Form6) ---

inline constexpr char ExportCaption[] = "Export";
inline constexpr char ImportCaption[] = "Import";
inline constexpr BilingualText SaveAsLabel{"SaveAs:", "Salva con nome:"};
inline constexpr BilingualText FindLabel{"Find:", "Trova:"};
inline constexpr BilingualText FileNameLabel{"Filename:", "Nome file"};
inline constexpr BilingualText Save{"Save", "Salva"};
inline constexpr BilingualText Open{"Open", "Apri"};
inline constexpr char Exit[] = "Exit";
inline constexpr char OpenFolderTip[] = "DblClick: open";
inline constexpr char SelectFileTip[] = "DblClick: select";

inline constexpr BilingualText BadFileName{
    "A file name does not contains the following characters: \\/:*?\"<>|",
    "Un nome di file non puo' contenere i seguenti caratteri: \\/:*?\"<>|"};
// %1: the full path; the line feed belongs to the message.
inline constexpr BilingualText RewriteFile{
    "Filename: %1\nalready exists. Do you want to rewrite it?",
    "Il file: %1\ngia' esiste. Vuoi riscriverlo?"};
inline constexpr BilingualText FileMissing{"Filename: %1\ndoes not exists!",
                                           "Il file: %1\nnon esiste!"};

// --- The folder or file picker (Form8) ---

inline constexpr char Select[] = "Select";
inline constexpr char CreateFolder[] = "Create a new folder";
inline constexpr char ClickFileTip[] = "Click: select";

inline constexpr BilingualText NewFolderPrompt{"Fill with new folder name:",
                                               "Inserisci il nome di una nuova cartella:"};
inline constexpr BilingualText BadFolderName{
    "A folder name does not contains the following characters: \\/:*?\"<>|",
    "Un nome di cartella non puo' contenere i seguenti caratteri: \\/:*?\"<>|"};
inline constexpr BilingualText FolderExists{"The folder already exists.",
                                            "Cartella gia' esistente."};
// %1: the folder to create.
inline constexpr BilingualText ConfirmFolder{
    "The creation of the folder:\n%1\n\nis in progress. Do you confirm?",
    "La cartella:\n%1\n\nsta per essere creata. Confermi?"};

// --- The places both pickers start from ---

inline constexpr BilingualText RootPlace{"File system  /", "File system  /"};
// %1: the home folder.
inline constexpr BilingualText HomePlace{"Home  %1", "Cartella home  %1"};

} // namespace tapwise::pickertext
