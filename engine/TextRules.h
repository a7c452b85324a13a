#pragma once

#include "common/Result.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace tapwise {

// Small text rules of a run, free of any state.

// Breaks a text every 50 characters counted from its last line feed.
QString WrapText(const QString& text);

// A window caption with a text written over it from its 15th character: the
// caption is padded with 50 blanks, overwritten there and trimmed, so that
// "Tapwise 2.1" and "(Excel Row N.: 5)" give "Tapwise 2.1   (Excel Row N.: 5)".
QString captionWithRow(const QString& caption, const QString& rowText);

// A WaitTime scaled by a percentage, rounded to the nearest whole number with
// halves to the even neighbour (5 at 50 % is 2, 7 at 50 % is 4), at most the
// largest 32-bit number.
qint64 scaledWait(qint64 waitTime, qint64 percent);

// The 1-based position of the first (last) occurrence of `part` in `text`,
// letter case ignored; 0 when there is none or `text` is empty. An empty
// `part` is found at the start (at the end, after the last character).
qsizetype textPosition(const QString& text, const QString& part);
qsizetype lastTextPosition(const QString& text, const QString& part);
// `part` occurs in `text`, letter case ignored.
bool containsText(const QString& text, const QString& part);

// A decimal number, blanks around it allowed ("10", " -2.5 ", "1E3").
bool isNumericText(const QString& text);
// The number a text starts with: its leading sign and digits, 0 when none.
qint64 leadingNumber(const QString& text);

// A window title as conditions and checks read it: at most 259 characters,
// up to its first NUL.
QString titleText(const QString& title);

// The text without trailing blanks.
QString rightTrimmed(const QString& text);
// The text up to its first line break.
QString firstLine(const QString& text);

// The characters of a text one by one, a character outside the basic plane
// (two UTF-16 units) kept whole, and so is a "\r\n" line break: typed as
// one key, it is one character of what was typed.
QStringList characters(const QString& text);

// A date and time as the system writes it in full: short date and the time
// with seconds.
QString generalDateText(const QDateTime& moment, const QLocale& locale = QLocale::system());

// An error as the user sees it: its number, four blanks and its text; the
// text alone when it has no number.
QString errorText(const Error& error);

} // namespace tapwise
