#pragma once

#include "language/Line.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tapwise {

// What a run makes of the stored lines before it starts.
struct WorkingLines {
    // The executable lines, in stored order.
    QStringList Keys;
    QList<qint32> WaitTime;
    QList<int> LabelIndex; // a condition's target label line; 0 when none

    // Every column named by a worksheet column line or a cell condition,
    // stored or switched off alike, in line order, duplicates kept.
    QList<int> UsedColumns;
    bool HasExcelLoop = false;
    bool HasTimeCondition = false;
};

WorkingLines buildWorkingLines(const Lines& lines);

// A line that a run cannot carry out: a column that is not one or two
// capital letters, or a time condition whose value is not a time.
struct LineProblem {
    enum class Kind { Column, Time } kind;
    int lineNumber; // counted from 1 over the stored lines
    QString text;   // the column letters or the time value
};

// The first such line. Columns matter only in a run with a worksheet.
std::optional<LineProblem> findLineProblem(const Lines& lines, bool usesWorksheet);

// The WaitTime text as a number: its leading digits, 0 when there are none.
qint32 waitTimeValue(const QString& text);

} // namespace tapwise
