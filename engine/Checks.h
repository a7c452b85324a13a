#pragma once

#include "common/Result.h"

#include <QPoint>
#include <QString>
#include <QtGlobal>

namespace tapwise {

class Run;
struct ClipboardContent;

// Check lines "*Chk(x;y;S;T)*" and the column check "*ChkExcelSheetCol*".
// A failed check opens the pause window with what was found; its answer is
// the outcome. A check that uses the clipboard puts the user's clipboard
// back, and one that presses a button or selects text releases and
// deselects again, also when the desktop fails half-way.
class Checks {
public:
    explicit Checks(Run& run);

    // Looks for T on the clipboard (y "ClipB"), in the foreground window's
    // title (x and y 0; retried for S seconds), or in the screen line right
    // of (x, y) (x empty: the pointer's position), copied through the
    // clipboard; for the clipboard and the screen line S is the pause
    // window's countdown.
    qint16 DoChk(const QString& keys);

    // Selects the characters just typed, copies them and compares them with
    // the cell's text, letter case ignored.
    qint16 ChkSentCell(const QString& expected, qint32 row);

private:
    qint16 checkClipboard(const QString& keys, const QString& wanted);
    qint16 checkWindowTitle(const QString& keys, const QString& wanted, int seconds);
    qint16 checkScreenText(const QString& keys, const QString& x, const QString& y,
                           const QString& wanted);
    Status selectScreenLine(QPoint from, bool placePointer);
    QString copySelection(Status& status);
    Status selectTyped(qsizetype count);

    Run& run_;
};

} // namespace tapwise
