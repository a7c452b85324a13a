#pragma once

#include "common/Result.h"

#include <QString>
#include <QStringList>

namespace tapwise {

// The fields of the command-line argument after the language suffix.
struct RunArguments {
    QString dataFolder; // as given, trimmed, always ending in "/"
    QString name;       // Key sequence to run at once; "" opens the main window
    QString excelFile;  // workbook of the run, "" when none was given
    QString password;   // text after the first "|" of the workbook field
    QString noMsg;      // the fourth field as typed: "" or "NoMsg" in any case
};

// The words after the program's name joined by single spaces and trimmed:
// the one argument of the program (a folder with spaces needs no quotes).
QString JoinArguments(const QStringList& words);

// Removes a final "|E" or "|I" (either case) from the argument and gives the
// language it selects; "E" without a suffix.
QString TakeLanguageSuffix(QString& argument);

// Splits "FOLDER,NAME,WORKBOOK|PASSWORD,NoMsg" into its fields and checks
// them in that order: the folder must exist, a workbook that is given must
// exist, the fourth field must be empty or "NoMsg". The error holds the
// message to show, in the language lang; its code is 2.
Result<RunArguments> ParseRunArguments(const QString& argument, const QString& lang);

// True for the fourth field "NoMsg" in any letter case.
bool IsNoMsg(const QString& field);

} // namespace tapwise
