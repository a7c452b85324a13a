#include "engine/Conditions.h"

#include "engine/CompareValues.h"
#include "engine/Outcomes.h"
#include "engine/Run.h"
#include "engine/TextRules.h"
#include "language/ColumnLetters.h"
#include "language/LineFields.h"
#include "language/LineSyntax.h"
#include "language/TimeValue.h"
#include "platform/Desktop.h"

#include <cmath>

namespace tapwise {

namespace {

enum Field { Type = 0, Op = 1, Value = 2, Label = 3, FieldCount = 4 };

// A time condition meets its moment from its target time on for a
// ten-thousandth of a day.
constexpr qint64 MomentMilliseconds = 8640;

bool is(const QString& text, const char* word) {
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

QString conditionLine(const QStringList& fields) {
    return QStringLiteral("*If(") + fields.join(u';') + QStringLiteral(")*");
}

} // namespace

Conditions::Conditions(Run& run) : run_(run) {}

qint16 Conditions::DoIf(QString& keys) {
    QStringList fields = CommandFields(keys);
    while (fields.size() < FieldCount)
        fields.append(QString());
    QString left;
    const QString& type = fields[Type];
    if (is(type, "Counter") || isNumericText(type))
        left = countStep(keys, fields);
    else
        left = leftValue(type);
    const qint16 outcome = run_.stopping() ? qint16(ConditionFalse) : decide(keys, fields, left);
    run_.pause.WaitHundredths(1);
    return outcome;
}

qint16 Conditions::decide(QString& keys, const QStringList& fields, const QString& left) {
    const QString& type = fields[Type];
    if (is(type, "True"))
        return ConditionJump;
    if (is(type, "False"))
        return ConditionFalse;
    if (is(type, "Time"))
        return timeCondition(keys, fields);
    return CompareValues(left, fields[Value], fields[Op]);
}

// The counter restarts at 1 in every row; within a row it counts on from
// the number kept in its type field. The label field keeps the row.
QString Conditions::countStep(QString& keys, QStringList& fields) {
    const qint32 row = run_.state.CurrentRow;
    qint64 count = 1;
    if (!is(fields[Type], "Counter") && leadingNumber(fields[Label]) == row)
        count = std::llround(fields[Type].trimmed().toDouble()) + 1;
    fields[Type] = QString::number(count);
    QStringList rewritten = fields.mid(0, FieldCount);
    rewritten[Label] = QString::number(row);
    keys = conditionLine(rewritten);
    return fields[Type];
}

QString Conditions::leftValue(const QString& type) {
    Desktop& desktop = run_.desktop();
    if (is(type, "ClipB"))
        return desktop.clipboardHasText() ? trimBlanks(desktop.clipboardText()) : QString();
    if (is(type, "WinTit"))
        return titleText(desktop.foregroundWindow().title);
    if (beginsWithKeyword(type, u"COL#"))
        return cellValue(type);
    return {};
}

QString Conditions::cellValue(const QString& type) {
    const int column = ColumnNumber(QStringView(type).mid(type.indexOf(u'#') + 1));
    const std::optional<QString> cell = run_.worksheet.cellText(run_.state.CurrentRow, column);
    return cell ? trimBlanks(*cell) : QString();
}

qint16 Conditions::timeCondition(QString& keys, const QStringList& fields) {
    const std::optional<TimeValue> value = parseTimeValue(fields[Value]);
    if (!value)
        return ConditionFalse; // refused before the run starts
    const QDateTime now = run_.desktop().currentDateTime();
    const QDateTime target = value->on(now.date());
    const bool moment = now >= target && now < target.addMSecs(MomentMilliseconds);
    const QString& op = fields[Op];
    if (op == u"=") {
        if (!moment)
            return ConditionFalse;
        keys = conditionLine({QStringLiteral("False"), {}, {}, fields[Label]});
        return ConditionJump;
    }
    if (op == u"<>") {
        if (!moment)
            return ConditionJump;
        keys = conditionLine({QStringLiteral("True"), {}, {}, fields[Label]});
        return ConditionRewritten;
    }
    return CompareValues(now, target, op);
}

qint16 Conditions::DoLabel() {
    run_.pause.WaitHundredths(1);
    return LabelPassed;
}

} // namespace tapwise
