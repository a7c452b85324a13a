#include "editor/DialogRules.h"

#include "language/ColumnLetters.h"
#include "language/LineFields.h"
#include "language/LineSyntax.h"
#include "language/TimeValue.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace tapwise {
namespace {

constexpr int PauseRemarkWidth = 36;
constexpr int RemarkWidth = 40;
constexpr int LabelDigits = 3;
constexpr int CheckTextWidth = 20;
constexpr int ConditionValueWidth = 24;
constexpr double CheckNumberLimit = 9999;

const QString PausePrefix = QStringLiteral("*Pause*");
const QString RemarkPrefix = QStringLiteral("#**");
const QString StringPrefix = QStringLiteral(":");
const QString ColumnTypePrefix = QStringLiteral("ExcelSheetCol#");

bool sameText(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool fitsIn32Bits(double value) {
    return value >= std::numeric_limits<qint32>::min() &&
           value <= std::numeric_limits<qint32>::max();
}

// The allowed number of a value box of the mouse dialog.
std::optional<double> mouseNumber(const QString& text, bool isSigned) {
    const std::optional<double> number = typedNumber(text);
    if (!number || (*number < 0 && !isSigned) || !fitsIn32Bits(std::nearbyint(*number)))
        return std::nullopt;
    return number;
}

// The whole part of a number of the check dialog (0 to 9999).
std::optional<int> checkNumber(const QString& text) {
    const std::optional<double> number = typedNumber(text);
    if (!number || *number < 0 || std::floor(*number) > CheckNumberLimit)
        return std::nullopt;
    return static_cast<int>(std::floor(*number));
}

// The text between the first `open` and the first `close` after it.
QString between(const QString& text, QChar open, QChar close) {
    const qsizetype start = text.indexOf(open);
    if (start < 0)
        return {};
    const qsizetype end = text.indexOf(close, start + 1);
    if (end < 0)
        return {};
    return text.mid(start + 1, end - start - 1);
}

bool holdsFieldSeparator(const QString& text) {
    static const QRegularExpression forbidden(QStringLiteral("[,;()]"));
    return text.contains(forbidden);
}

bool allDigits(QStringView text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// A text of digits only whose value is not 0 (leading zeros allowed).
bool nonZeroDigits(QStringView text) {
    if (!allDigits(text))
        return false;
    for (QChar c : text)
        if (c != u'0')
            return true;
    return false;
}

} // namespace

std::optional<double> typedNumber(QStringView text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*[+-]?(\d+([.,]\d*)?|[.,]\d+)\s*$)"));
    if (!number.match(text.toString()).hasMatch())
        return std::nullopt;
    QString plain = text.trimmed().toString();
    plain.replace(u',', u'.');
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// --- Mouse values ---

MouseEntry mouseEntryOf(const QString& EditorKeys) {
    if (keywordAtSecond(EditorKeys, u"POSMOUSE"))
        return MouseEntry::Position;
    if (keywordAtSecond(EditorKeys, u"MOVEMOUSE"))
        return MouseEntry::Movement;
    if (keywordAtSecond(EditorKeys, u"MOVEWHEEL"))
        return MouseEntry::Wheel;
    return MouseEntry::None;
}

bool mouseValuesSigned(const QString& EditorKeys) {
    return EditorKeys.contains(u"MOVE", Qt::CaseInsensitive);
}

QString withUpdateMark(const QString& EditorKeys) {
    QString marked = EditorKeys;
    const qsizetype open = marked.indexOf(u'(');
    if (open < 0)
        return marked;
    marked[open] = u'.';
    if (mouseEntryOf(marked) == MouseEntry::Wheel) {
        const qsizetype close = marked.indexOf(u')');
        if (close >= 0)
            marked[close] = u';';
    }
    return marked;
}

MouseBoxTexts mouseBoxTexts(const QString& EditorKeys) {
    MouseBoxTexts texts;
    if (!EditorKeys.contains(u';'))
        return texts;
    texts.first = between(EditorKeys, u'.', u';');
    const qsizetype separator = EditorKeys.indexOf(u';');
    if (EditorKeys.contains(u')'))
        texts.second = between(EditorKeys.mid(separator), u';', u')');
    return texts;
}

BoxColour mouseBoxColour(const QString& text, bool isSigned) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return BoxColour::Normal;
    if (trimmed == u"-" && isSigned)
        return BoxColour::Unchanged;
    return mouseNumber(text, isSigned) ? BoxColour::Normal : BoxColour::Red;
}

std::optional<qint32> mouseBoxValue(const QString& text, bool isSigned) {
    if (text.trimmed().isEmpty())
        return 0;
    const std::optional<double> number = mouseNumber(text, isSigned);
    if (!number)
        return std::nullopt;
    // nearbyint rounds in the default mode: to nearest, halves to even.
    return static_cast<qint32>(std::nearbyint(*number));
}

QString buildMouseLine(const QString& EditorKeys, qint32 DialogValue1, qint32 DialogValue2) {
    const MouseEntry entry = mouseEntryOf(EditorKeys);
    if (entry == MouseEntry::None)
        return {};
    const QString name = trimBlanks(QStringView(EditorKeys).left(EditorKeys.indexOf(u'.')));
    QString line = name + u'(' + QString::number(DialogValue1);
    if (entry != MouseEntry::Wheel)
        line += u';' + QString::number(DialogValue2);
    return (line + QStringLiteral(")]")).left(KeysWidth);
}

// --- Pause remark, remark, character string ---

RemarkKind remarkKindOf(const QString& EditorKeys) {
    if (beginsWithKeyword(EditorKeys, u"*PAUSE"))
        return RemarkKind::Pause;
    if (EditorKeys.startsWith(RemarkPrefix))
        return RemarkKind::Remark;
    if (EditorKeys.startsWith(StringPrefix))
        return RemarkKind::CharacterString;
    return RemarkKind::None;
}

QString remarkDefault(const QString& EditorKeys, int sw) {
    if (sw != 1)
        return {};
    switch (remarkKindOf(EditorKeys)) {
    case RemarkKind::Pause:
        return trimBlanks(pauseRemark(EditorKeys));
    case RemarkKind::Remark:
        return trimBlanks(QStringView(EditorKeys).mid(RemarkPrefix.size()));
    case RemarkKind::CharacterString:
        return trimBlanks(QStringView(EditorKeys).mid(StringPrefix.size()));
    case RemarkKind::None:
        break;
    }
    return {};
}

QString buildRemarkLine(RemarkKind kind, const QString& answer) {
    switch (kind) {
    case RemarkKind::Pause:
        return PausePrefix + answer.left(PauseRemarkWidth);
    case RemarkKind::Remark:
        return RemarkPrefix + answer.left(RemarkWidth);
    case RemarkKind::CharacterString:
        return StringPrefix + answer.left(RemarkWidth);
    case RemarkKind::None:
        break;
    }
    return {};
}

// --- Label numbers ---

QString labelDefault(const QString& EditorKeys) {
    const qsizetype open = EditorKeys.lastIndexOf(u'(');
    const qsizetype close = EditorKeys.lastIndexOf(u')');
    if (open < 0 || close < open)
        return {};
    return EditorKeys.mid(open + 1, close - open - 1);
}

std::optional<int> labelNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() > LabelDigits || !nonZeroDigits(trimmed))
        return std::nullopt;
    return trimmed.toInt();
}

QString buildLabelLine(int number) {
    return QStringLiteral("*Label(%1)*").arg(number);
}

// --- Check line ---

CheckValues checkValuesOf(const QString& EditorKeys) {
    CheckValues values;
    if (!EditorKeys.contains(u';'))
        return values;
    QStringList fields = CommandFields(EditorKeys);
    while (fields.size() < 4)
        fields.append(QString());
    values.x = fields[0];
    values.y = fields[1];
    values.seconds = fields[2];
    values.text = fields[3];
    if (sameText(fields[1], u"ClipB")) {
        values.clipboard = true;
        values.y.clear();
    }
    return values;
}

BoxColour checkNumberColour(const QString& text) {
    return text.trimmed().isEmpty() || checkNumber(text) ? BoxColour::Normal : BoxColour::Red;
}

CheckOutcome buildCheckLine(const CheckValues& values) {
    const bool xBlank = values.x.trimmed().isEmpty();
    const bool yBlank = values.y.trimmed().isEmpty();
    const std::optional<int> x = checkNumber(values.x);
    const std::optional<int> y = checkNumber(values.y);
    const std::optional<int> seconds = checkNumber(values.seconds);
    const QString text = values.text.trimmed();
    if (!values.clipboard) {
        if (!xBlank && !x)
            return {{}, CheckProblem::BadX};
        if (!yBlank && !y)
            return {{}, CheckProblem::BadY};
    }
    if (!values.seconds.trimmed().isEmpty() && !seconds)
        return {{}, CheckProblem::BadSeconds};
    if (!values.clipboard && xBlank != yBlank)
        return {{}, CheckProblem::OneBlank};
    if (text.isEmpty())
        return {{}, CheckProblem::EmptyText};
    if (holdsFieldSeparator(text))
        return {{}, CheckProblem::ForbiddenText};
    if (text.size() > CheckTextWidth)
        return {{}, CheckProblem::LongText};
    QString position;
    if (values.clipboard)
        position = QStringLiteral(";ClipB");
    else if (xBlank)
        position = QStringLiteral(";");
    else
        position = QString::number(*x) + u';' + QString::number(*y);
    const QString line = QStringLiteral("*Chk(") + position + u';' +
                         QString::number(seconds.value_or(0)) + u';' + text + QStringLiteral(")*");
    return {line.left(KeysWidth), CheckProblem::None};
}

// --- Condition line ---

QStringList conditionTypes(int columns) {
    QStringList types{QStringLiteral("ClipBoard"), QStringLiteral("Window Title"),
                      QStringLiteral("Counter"), QStringLiteral("Time"), QStringLiteral("True")};
    for (int column = 1; column <= std::min(columns, EditorColumnCount); ++column)
        types.append(ColumnTypePrefix + ColumnLetters(column));
    return types;
}

QStringList operatorList(int sw) {
    if (sw == 1)
        return {QStringLiteral("Equal (=)"), QStringLiteral("Not Equal (<>)"),
                QStringLiteral("Greater (>)"), QStringLiteral("Less (<)")};
    return {QStringLiteral("Equal (=)"),     QStringLiteral("Not Equal (<>)"),
            QStringLiteral("Greater (>)"),   QStringLiteral("Greater or Equal (>=)"),
            QStringLiteral("Less (<)"),      QStringLiteral("Less or Equal (<=)"),
            QStringLiteral("Contains (Cn)"), QStringLiteral("Not Contains (NC)"),
            QStringLiteral("Starts (St)"),   QStringLiteral("Not Starts (NS)"),
            QStringLiteral("Finish (Fn)"),   QStringLiteral("Not Finish (NF)")};
}

int operatorListSwitch(const QString& type) {
    return sameText(type.trimmed(), u"Time") ? 1 : 0;
}

bool isEntryOf(const QString& text, const QStringList& entries) {
    const QString trimmed = text.trimmed();
    for (const QString& entry : entries)
        if (sameText(trimmed, entry))
            return true;
    return false;
}

TypeControls typeControls(const QString& type) {
    const QString trimmed = type.trimmed();
    if (sameText(trimmed, u"True"))
        return {false, false, {}};
    if (sameText(trimmed, u"Counter"))
        return {false, true, QStringLiteral("Less (<)")};
    return {};
}

namespace {

// The type as the dialog offers it, from the type field of a line.
QString shownType(const QString& field) {
    if (sameText(field, u"ClipB"))
        return QStringLiteral("ClipBoard");
    if (sameText(field, u"WinTit"))
        return QStringLiteral("Window Title");
    for (const char* same : {"Time", "True", "Counter"})
        if (sameText(field, QString::fromLatin1(same)))
            return QString::fromLatin1(same);
    if (beginsWithKeyword(field, u"COL#"))
        return QStringLiteral("ExcelSheet") + field;
    return field;
}

// The operator entry that holds "(" op ")", or "".
QString operatorEntry(const QStringList& entries, const QString& op) {
    const QString wanted = u'(' + op + u')';
    for (const QString& entry : entries)
        if (entry.contains(wanted, Qt::CaseInsensitive))
            return entry;
    return {};
}

// The type as written into the line; "" for a type the run does not know.
QString lineType(const QString& shown) {
    static const QList<std::pair<const char*, const char*>> fixed{{"ClipBoard", "ClipB"},
                                                                  {"Window Title", "WinTit"},
                                                                  {"Counter", "Counter"},
                                                                  {"Time", "Time"},
                                                                  {"True", "True"}};
    for (const auto& [offered, written] : fixed)
        if (sameText(shown, QString::fromLatin1(offered)))
            return QString::fromLatin1(written);
    if (!beginsWithKeyword(shown, ColumnTypePrefix))
        return {};
    // Column letters are read by character code, so they go in upper case.
    const QString letters = shown.mid(ColumnTypePrefix.size()).toUpper();
    const int column = ColumnNumber(letters);
    if (column < 1 || column > EditorColumnCount || ColumnLetters(column) != letters)
        return {};
    return QStringLiteral("Col#") + letters;
}

// The operator code of the operator box: the text in its parentheses, or the
// code itself; "" when the list of the type has no such operator.
QString lineOperator(const QString& shown, const QStringList& entries) {
    const QString code = shown.contains(u'(') ? between(shown, u'(', u')') : shown;
    const QString entry = operatorEntry(entries, code);
    return entry.isEmpty() ? QString() : between(entry, u'(', u')');
}

} // namespace

ConditionValues conditionValuesOf(const QString& EditorKeys) {
    if (!EditorKeys.contains(u';'))
        return {};
    QStringList fields = CommandFields(EditorKeys);
    while (fields.size() < 4)
        fields.append(QString());
    ConditionValues values;
    values.type = shownType(fields[0]);
    values.op = operatorEntry(operatorList(operatorListSwitch(values.type)), fields[1]);
    values.value = fields[2];
    values.label = fields[3];
    return values;
}

ConditionOutcome buildConditionLine(const ConditionValues& values, const QLocale& locale) {
    const QString shown = values.type.trimmed();
    const QString opText = values.op.trimmed();
    QString value = values.value.trimmed();
    const QString label = values.label.trimmed();
    if (shown.isEmpty())
        return {{}, ConditionProblem::EmptyType};
    const QString type = lineType(shown);
    if (type.isEmpty())
        return {{}, ConditionProblem::UnknownType};
    const bool isTrue = type == u"True";
    const bool isCounter = type == u"Counter";
    const bool isTime = type == u"Time";
    if (opText.isEmpty() && !isTrue && !isCounter)
        return {{}, ConditionProblem::EmptyOperator};
    QString op = opText.isEmpty() ? QString() : lineOperator(opText, operatorList(isTime ? 1 : 0));
    if (!opText.isEmpty() && op.isEmpty() && !isTrue && !isCounter)
        return {{}, ConditionProblem::UnknownOperator};
    if (isTime && value.isEmpty())
        return {{}, ConditionProblem::EmptyTime};
    if (label.isEmpty())
        return {{}, ConditionProblem::EmptyLabel};
    if (holdsFieldSeparator(value))
        return {{}, ConditionProblem::ForbiddenValue};
    const std::optional<int> number = labelNumber(label);
    if (!number)
        return {{}, ConditionProblem::BadLabel};
    if (isCounter && !nonZeroDigits(value))
        return {{}, ConditionProblem::BadCounterLimit};
    if (isTime && !parseTimeValue(value, locale))
        return {{}, ConditionProblem::BadTime};
    if (value.size() > ConditionValueWidth && !isTrue)
        return {{}, ConditionProblem::LongValue};
    // A counter always counts up to its limit; "True" compares nothing.
    if (isCounter)
        op = QStringLiteral("<");
    if (isTrue) {
        op.clear();
        value.clear();
    }
    const QString line = QStringLiteral("*If(") + type + u';' + op + u';' + value + u';' +
                         QString::number(*number) + QStringLiteral(")*");
    return {line.left(KeysWidth), ConditionProblem::None};
}

} // namespace tapwise
