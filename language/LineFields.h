#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace tapwise {

// The fields of a line with parentheses: the text between the first "(" and
// the last ")", split at every ";", each field as it stands (untrimmed).
// "*If(True;;;4)*" gives "True", "", "", "4". Without a "(" followed later by
// a ")" the line has no fields and the list is empty.
QStringList CommandFields(const QString& keys);

// The remark of a pause line: its text from the 8th character on
// ("*Pause*check the total" gives "check the total", "*Pause*" gives "").
QString pauseRemark(const QString& keys);

// The column letters of a worksheet column line ("ExcelSheetCol#C") or of a
// cell condition ("*If(Col#C;St;X;4)*"): the text after the first "#" up to
// the first ";" or the end. "" when there is no "#".
QString worksheetColumnLetters(const QString& keys);

// The column letters of a clipboard to column line ("*PutClipBtoCol#C*"):
// the text between the first "#" and the last character. "" when there is no
// "#" or nothing lies between.
QString clipboardColumnLetters(const QString& keys);

// The numbers of a "[PosMouse(x;y)]" or "[MoveMouse(x;y)]" line.
struct MouseValues {
    qint32 x = 0;
    qint32 y = 0;

    bool operator==(const MouseValues&) const = default;
};

// x lies between the first "(" and the first ";", y between that ";" and the
// first ")". Each is a decimal number with an optional sign; blanks around it
// are ignored and a fraction is rounded to the nearest whole number (halves
// to even). Nothing when a delimiter is missing or a number is not a number
// or does not fit in 32 bits.
std::optional<MouseValues> mouseValues(const QString& keys);
// The amount of a "[MoveWheel(n)]" line, between the first "(" and the first
// ")", read like the numbers above.
std::optional<qint32> wheelAmount(const QString& keys);
// One such number on its own.
std::optional<qint32> wholeNumber(QStringView text);

} // namespace tapwise
