#pragma once

#include "common/Result.h"
#include "language/Line.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace tapwise {

struct Settings;
struct StoredSequence;

// Desktop launchers: freedesktop ".desktop" files in the user's desktop
// folder that start this program with its one command-line argument.

// What one launcher holds.
struct LauncherEntry {
    QString name;     // shown under the icon; also gives the file name
    QString program;  // absolute path of the program to start
    QString argument; // the program's one argument, passed as one word
    QString folder;   // working folder of the started program
    QString icon;     // icon name or absolute path of an icon file
};

// The Exec value for program and argument: each quoted in double quotes
// with '"', '`', '$' and '\' escaped and '%' doubled, then written with the
// escapes of a string value ("\\" for a backslash).
QString LauncherExec(const QString& program, const QString& argument);

// The whole text of the launcher file.
QString LauncherText(const LauncherEntry& entry);

// The launcher's file name: the name with "/" replaced by "-", cut so that the
// name and ".desktop" fit in one file name, followed by ".desktop".
QString LauncherFileName(const QString& name);

// Writes (or silently replaces) the launcher in folder, made executable.
// The error holds the message to show, in lang.
Status WriteLauncher(const QString& folder, const LauncherEntry& entry, const QString& lang);

// The user's desktop folder, created when it is missing; "" when it cannot
// be.
QString DesktopFolder();

// The argument of the main launcher: the data folder alone. A folder that
// the command line cannot carry gives the message that says why.
Result<QString> MainLauncherArgument(const QString& folder, const QString& lang);

// The argument of a Key sequence's launcher, "DATAFOLDER,NAME,WORKBOOK|,NoMsg"
// with the whole name, so that the run finds its Key sequence. A name or a
// path that the command line cannot carry (holding ",", or blanks around it,
// or "|" in a path) gives the message that says why.
Result<QString> SequenceLauncherArgument(const QString& dataFolder, const QString& name,
                                         const QString& excelFile, const QString& noMsgWord,
                                         const QString& lang);
// Its name: the title part of MainTitle (Settings::runTitle) and the Key
// sequence's name, cut to 200 characters, in parentheses.
QString SequenceLauncherName(const Settings& settings, const QString& name);

// True when a Keys text of the lines types a worksheet column, so that the
// launcher asks which workbook its run uses.
bool NeedsWorkbook(const Lines& lines);

// Creates or replaces the desktop launcher name that starts this program
// with arguments, and says so (or why not) in a message box.
void CreateDesktopShortcut(QWidget* parent, const Settings& settings, const QString& name,
                           const QString& arguments);

// Command10: a launcher for a Key sequence of the data folder, as read by
// ReadSequence. Asks whether its run shows messages (Yes/No/Cancel) and,
// when the sequence types worksheet columns, which workbook it uses.
void CreateSequenceShortcut(QWidget* parent, const Settings& settings,
                            const StoredSequence& sequence);

// Removes the main launcher and the data file of the data folder, and has
// the program's installed files removed once the program has ended (only
// those its installation recorded, and only where the user may remove them;
// a program run from its build tree stays). Reports nothing: the caller
// ends the program right afterwards.
void Uninstall(QWidget* parent, const Settings& settings);

} // namespace tapwise
