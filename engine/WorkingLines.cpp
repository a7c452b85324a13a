#include "engine/WorkingLines.h"

#include "language/ColumnLetters.h"
#include "language/LineFields.h"
#include "language/LineSyntax.h"
#include "language/TimeValue.h"

#include <limits>

namespace tapwise {

namespace {

// A worksheet column line, or a condition on a cell.
bool namesColumn(const QString& keys) {
    return beginsWithKeyword(keys, u"EXCEL") || keywordAtSecond(keys, u"IF(COL#");
}

bool isLoopLine(const QString& keys) {
    return keywordAtSecond(keys, u"BeginExcelLoop*") || keywordAtSecond(keys, u"EndExcelLoop*");
}

bool isTimeCondition(const QString& keys) {
    return beginsWithKeyword(keys, u"*IF") &&
           QStringView(keys).mid(4, 4).compare(u"TIME", Qt::CaseInsensitive) == 0;
}

// The label a condition jumps to: between its last ";" and its last ")".
QString conditionTarget(const QString& keys) {
    const qsizetype semicolon = keys.lastIndexOf(u';');
    const qsizetype close = keys.lastIndexOf(u')');
    if (semicolon < 0 || close < semicolon)
        return {};
    return keys.mid(semicolon + 1, close - semicolon - 1);
}

void resolveLabels(WorkingLines& working) {
    for (qsizetype i = 0; i < working.Keys.size(); ++i) {
        const QString& keys = working.Keys[i];
        if (!beginsWithKeyword(keys, u"*IF"))
            continue;
        working.HasTimeCondition = working.HasTimeCondition || isTimeCondition(keys);
        const QString label =
            QStringLiteral("*LABEL(") + conditionTarget(keys) + QStringLiteral(")*");
        for (qsizetype j = 0; j < working.Keys.size(); ++j) {
            if (working.Keys[j].compare(label, Qt::CaseInsensitive) == 0) {
                working.LabelIndex[i] = int(j);
                break;
            }
        }
    }
}

} // namespace

qint32 waitTimeValue(const QString& text) {
    const QString trimmed = text.trimmed();
    qint64 value = 0;
    for (const QChar c : trimmed) {
        if (!c.isDigit())
            break;
        value = std::min<qint64>(value * 10 + c.digitValue(), std::numeric_limits<qint32>::max());
    }
    return qint32(value);
}

WorkingLines buildWorkingLines(const Lines& lines) {
    WorkingLines working;
    for (const Line& line : lines) {
        if (namesColumn(line.keys))
            working.UsedColumns.append(ColumnNumber(worksheetColumnLetters(line.keys)));
        if (isNotExecutable(line.keys))
            continue;
        working.Keys.append(line.keys);
        working.WaitTime.append(waitTimeValue(line.waitTime));
        working.LabelIndex.append(0);
        working.HasExcelLoop = working.HasExcelLoop || isLoopLine(line.keys);
    }
    resolveLabels(working);
    return working;
}

std::optional<LineProblem> findLineProblem(const Lines& lines, bool usesWorksheet) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& keys = lines[i].keys;
        const int number = int(i) + 1;
        if (usesWorksheet && namesColumn(keys) && ColumnNumber(worksheetColumnLetters(keys)) == 0)
            return LineProblem{LineProblem::Kind::Column, number, worksheetColumnLetters(keys)};
        if (usesWorksheet && isClipboardToColumnLine(keys) &&
            ColumnNumber(clipboardColumnLetters(keys)) == 0)
            return LineProblem{LineProblem::Kind::Column, number, clipboardColumnLetters(keys)};
        const QStringList fields = CommandFields(keys);
        if (!isNotExecutable(keys) && isConditionLine(keys) && fields.size() > 2 &&
            fields[0].compare(QLatin1String("Time"), Qt::CaseInsensitive) == 0 &&
            !parseTimeValue(fields[2]))
            return LineProblem{LineProblem::Kind::Time, number, fields[2]};
    }
    return std::nullopt;
}

} // namespace tapwise
