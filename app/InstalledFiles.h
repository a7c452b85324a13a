#pragma once

#include "common/Result.h"

#include <QString>
#include <QStringList>

namespace tapwise {

// The program's installation: `cmake --install` writes a manifest listing
// every file it installed, beside the program's other shared files. Uninstall
// removes only what that manifest lists; a program that no manifest lists
// (run from its build tree) is left alone.

// Where the manifest of an installed program lies, and its installed icon.
QString ManifestPath(const QString& programPath);
QString InstalledIconPath(const QString& programPath);

// The files of a manifest's text that may be removed: absolute, clean paths
// of existing files (never folders) in folders where this user may remove
// them. Nothing when the manifest does not list programPath itself, so that
// a manifest lying beside some other copy of the program removes nothing.
QStringList RemovableInstalledFiles(const QString& manifestText, const QString& programPath);

// Starts a process of its own that waits until the descriptor returned has
// been closed, by the caller or by the end of the calling program, then
// removes files and, when it is left empty, folder ("" for none). The
// descriptor is not passed on to programs the caller starts later.
Result<int> StartRemover(const QStringList& files, const QString& folder);

} // namespace tapwise
