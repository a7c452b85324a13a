#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace tapwise {

// The rules of the editor's entry dialogs, kept out of the widgets: what a
// box accepts, what the dialogs read back from an existing line, and the
// line each one builds. Keyword tests ignore letter case.

// --- Numbers typed into the boxes ---

// A number as the user types it: blanks around it, an optional sign, digits
// with an optional decimal part after "." or ",". Nothing else (no exponent,
// no thousands separator), so a box of 4 characters cannot hold a number
// out of range.
std::optional<double> typedNumber(QStringView text);

// What a box's background does after a change of its text.
enum class BoxColour { Normal, Red, Unchanged };

// --- Mouse values (position, movement, wheel) ---

enum class MouseEntry { None, Position, Movement, Wheel };
// By the name at the second character: "[PosMouse", "[MoveMouse", "[MoveWheel".
MouseEntry mouseEntryOf(const QString& EditorKeys);
// Movement and wheel values may be negative; a position may not.
bool mouseValuesSigned(const QString& EditorKeys);

// The update mark that tells the values dialog to read a line's values back:
// the first "(" becomes "." and, for a wheel line, the first ")" becomes ";"
// ("[PosMouse(100;200)]" gives "[PosMouse.100;200)]", "[MoveWheel(3)]" gives
// "[MoveWheel.3;]"). Text without a "(" (a picked entry, or a line that
// already carries the mark) comes back unchanged.
QString withUpdateMark(const QString& EditorKeys);

// The texts the two value boxes start with: "0" and "0", or for a marked
// line the text between the first "." and the first ";", and the text between
// the first ";" and the first ")".
struct MouseBoxTexts {
    QString first = QStringLiteral("0");
    QString second = QStringLiteral("0");
};
MouseBoxTexts mouseBoxTexts(const QString& EditorKeys);

// Background of a value box after a change: normal when blank or holding an
// allowed number, unchanged while a signed box holds just "-", red otherwise.
BoxColour mouseBoxColour(const QString& text, bool isSigned);
// The value of a box at OK: blank is 0; an allowed number is rounded to the
// nearest whole number, a half to the even one. Nothing when the text is not
// an allowed number.
std::optional<qint32> mouseBoxValue(const QString& text, bool isSigned);
// The line: the entry's name (the text before the first ".", trimmed), "(",
// the value(s), ")]". "" when EditorKeys names no mouse entry.
QString buildMouseLine(const QString& EditorKeys, qint32 DialogValue1, qint32 DialogValue2);

// --- Pause remark, remark, character string ---

enum class RemarkKind { None, Pause, Remark, CharacterString };
// By the beginning of EditorKeys: "*PAUSE", "#**", ":".
RemarkKind remarkKindOf(const QString& EditorKeys);
// The answer offered: in update mode (sw = 1) the line's current text,
// trimmed; in new mode nothing.
QString remarkDefault(const QString& EditorKeys, int sw);
// The line of an answer that is neither empty nor holds a comma: the prefix
// and the answer cut to 36 (pause) or 40 characters.
QString buildRemarkLine(RemarkKind kind, const QString& answer);

// --- Label numbers ---

// The number offered when updating: the text between the last "(" and the
// last ")" of EditorKeys; "" when there is no such pair.
QString labelDefault(const QString& EditorKeys);
// A label number: 1 to 3 digits 0-9, not 0. Blanks around it are ignored.
std::optional<int> labelNumber(const QString& text);
QString buildLabelLine(int number);

// --- Check line ---

// The texts of the check dialog's boxes, and its clipboard tick.
struct CheckValues {
    QString x;
    QString y;
    QString seconds = QStringLiteral("0");
    QString text;
    bool clipboard = false;

    bool operator==(const CheckValues&) const = default;
};
// Blank for a new check; the fields of an existing check line (one holding
// a ";"). A clipboard check is ticked and shows no Y.
CheckValues checkValuesOf(const QString& EditorKeys);

// Background of the X, Y and seconds boxes: red unless blank or a number
// not below 0 whose whole part is at most 9999.
BoxColour checkNumberColour(const QString& text);

enum class CheckProblem {
    None,
    BadX,          // X box red (no message)
    BadY,          // Y box red (no message)
    BadSeconds,    // seconds box red (no message)
    OneBlank,      // "Both X and Y must be space!"
    EmptyText,     // "Must be not empty!"
    ForbiddenText, // ",;()" in the text
    LongText,      // text box red (no message): more than 20 characters
};
struct CheckOutcome {
    QString line; // "" unless problem is None
    CheckProblem problem = CheckProblem::None;
};
// The check line of the dialog's values, or the first problem found. The
// position plays no part in a clipboard check. A text longer than its box
// takes (read back from a line made elsewhere) is refused rather than cut
// with the end of the line.
CheckOutcome buildCheckLine(const CheckValues& values);

// --- Condition line ---

// The types offered: "ClipBoard", "Window Title", "Counter", "Time", "True",
// then "ExcelSheetCol#A" onwards, `columns` of them.
QStringList conditionTypes(int columns);
// The offered columns start at 10 and grow by one per scroll up to 256.
inline constexpr int FirstOfferedColumns = 10;
// The operators offered for a type (CarCombo2): sw = 1 for "Time" (the four
// that compare times), 0 for every other type.
QStringList operatorList(int sw);
// sw of a type as shown ("Time" gives 1).
int operatorListSwitch(const QString& type);

// The trimmed text equals one of the entries, letter case ignored.
bool isEntryOf(const QString& text, const QStringList& entries);

// What the operator and value boxes do for a type just picked.
struct TypeControls {
    bool operatorEnabled = true;
    bool valueEnabled = true;
    QString operatorText; // shown in the operator box ("" empties it)
};
TypeControls typeControls(const QString& type);

// The texts of the condition dialog's boxes.
struct ConditionValues {
    QString type;
    QString op;
    QString value;
    QString label;

    bool operator==(const ConditionValues&) const = default;
};
// Blank for a new condition; for an existing condition line (one holding a
// ";") its type as offered ("ClipB" shown as "ClipBoard", "Col#C" as
// "ExcelSheetCol#C"), the first operator entry holding "(" op ")", value and
// label.
ConditionValues conditionValuesOf(const QString& EditorKeys);

enum class ConditionProblem {
    None,
    EmptyType,       // type box red, "Must be not empty!"
    UnknownType,     // type box red, no message
    EmptyOperator,   // operator box red, "Must be not empty!"
    UnknownOperator, // operator box red, no message
    EmptyTime,       // value box red, "Must be not empty!"
    EmptyLabel,      // label box red, "Must be not empty!"
    ForbiddenValue,  // value box red, ",;()" message
    BadLabel,        // label box red, no message
    BadCounterLimit, // value box red, no message
    BadTime,         // value box red, no message
    LongValue,       // value box red, no message: more than 24 characters
};
struct ConditionOutcome {
    QString line; // "" unless problem is None
    ConditionProblem problem = ConditionProblem::None;
};
// The condition line of the dialog's values (trimmed here), or the first
// problem found. A value longer than its box takes is refused, as for checks. Time values are read
// by the same function the run uses, with `locale` for dates.
ConditionOutcome buildConditionLine(const ConditionValues& values,
                                    const QLocale& locale = QLocale::system());

} // namespace tapwise
