#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tapwise {

// What the pickers decide without a window: names, paths, filters and the
// places a user can start browsing from.

// The characters a typed file or folder name may not hold: \ / : * ? " < > |
// (the names stay usable where the data folders are shared with Windows).
bool HasRefusedCharacter(const QString& name);

// The exchange file for a name typed in a folder (ending in "/"): the name
// trimmed, with ".tpw" appended unless it already ends in it (any case).
QString ExchangeFilePath(const QString& folder, const QString& typedName);

// The file list's name filters for "*" + extension. The workbook choice
// passes "xls", which also takes the .xlsx and .xlsm workbooks of today.
QStringList FileFilters(const QString& extension);

// A folder path with exactly one final "/".
QString WithSlash(const QString& folder);

// A place to start from: the file system root, the home folder, a mounted
// volume. path ends in "/".
struct Place {
    QString label;
    QString path;
};

// The root, the home folder and the mounted volumes that hold folders a
// user works in (pseudo file systems and single-file mounts left out).
QList<Place> StartPlaces(const QString& lang);

// The place a folder lies in: the one with the longest path that holds it,
// or -1.
int PlaceIndexOf(const QList<Place>& places, const QString& folder);

// Why a folder cannot be listed: the system's error number, two spaces and
// its text ("2  No such file or directory"); nullopt when it can.
std::optional<QString> FolderOpenError(const QString& folder);

// Creates one folder; gives the error as above when it could not.
std::optional<QString> MakeFolder(const QString& path);

} // namespace tapwise
