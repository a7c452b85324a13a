#pragma once

#include "common/Result.h"

#include <QList>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tapwise {

// Why a run is leaving its loops before their end.
enum class RunStop {
    None,
    Activated, // the user activated the status window
    Failed,    // the desktop or the workbook failed
};

// Everything a run knows, in one place. The names are those the run's
// procedures and windows share.
struct RunState {
    // Run mode: "NOMSG", "", "CANCEL", "YES" or "NO" (always upper case here).
    QString NoMsg;
    qint32 WaitPercent = 100;
    qint32 StartRow = 2;
    qint32 CurrentRow = 0;

    // Working lines: the executable lines in stored order.
    QStringList Keys;
    QList<qint32> WaitTime;
    QList<int> LabelIndex; // target line of a condition, 0 when none
    int FirstLine = 0;     // bounds of the current cycle
    int LastLine = -1;

    // Worksheet columns named by the lines, duplicates kept.
    int ColumnCount = 0;
    QList<int> UsedColumns;
    bool HasExcelLoop = false;
    bool HasTimeCondition = false;

    // Pause key and the pause window.
    bool PauseRequested = false;
    QString PauseAnswer;
    qint16 PauseCountdown = 0;
    QPoint SavedCursor;
    bool RunningWindowShown = false;

    // Counters of the end report.
    qint64 KeyStrokes = 0;
    qint64 MouseEvents = 0;
    qint64 Cycles = 0;
    qint64 GreenRows = 0;
    qint64 ClipboardWrites = 0;
    // Clipboard to column lines met in a run without a worksheet.
    qint64 ClipboardNotStored = 0;

    // The rows being sent.
    QString CurrentRowText;
    QString NextRowText;
    QString DataSent;           // "Col#X  value" lines of the current row
    QString LastValue;          // the cell typed by the last worksheet column line
    bool RepeatFlag = false;    // that cell held "#REPEAT#"
    QSet<qint32> SentRows;      // rows of open row groups whose cycle ended
    QList<qint32> ColouredRows; // rows this run coloured green, in order

    // The arguments of the run.
    QString Description;
    QString ExcelFile;
    QString Password;

    RunStop Stop = RunStop::None;
    QStringList Failures; // texts of the failures met, in order
};

} // namespace tapwise
