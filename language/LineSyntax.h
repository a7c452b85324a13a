#pragma once

#include <QString>
#include <QStringView>

namespace tapwise {

// How a Keys text is recognised. Every layer asks these predicates; none
// repeats their rules. Keyword tests ignore letter case.

// Widest Keys text: the editor's working field is this wide and cuts longer text.
inline constexpr int KeysWidth = 44;

// The text without leading and trailing blanks (spaces only: Keys and rows are
// padded with spaces, and any other character belongs to the text).
QString trimBlanks(QStringView text);

// The text begins with the keyword.
bool beginsWithKeyword(QStringView text, QStringView keyword);
// The keyword's first occurrence in the text begins at its second character.
bool keywordAtSecond(QStringView text, QStringView keyword);

// "#" followed by anything but the single key "#" itself: never executed.
// This is also the test for a marked (switched off) line.
bool isNotExecutable(const QString& keys);
// "#**": a remark, which is always not executable and cannot be switched on.
bool isRemark(const QString& keys);
// Begins with "*" or "#*" and is longer than 2 characters without its blanks:
// stored with WaitTime "0", shown without one in the editor and printed
// without one. The single key "*", also when switched off ("#*"), is not.
bool isCommandLine(const QString& keys);

// "[" and longer than 2 characters ("[" and "[]" are keystrokes).
bool isMouseLine(const QString& keys);
// ":" followed by at least one character (":" alone is the single key).
bool isCharacterString(const QString& keys);
// Begins with "*PAUSE"; see pauseRemark() for its remark.
bool isPauseLine(const QString& keys);
// Begins with "*CHK(".
bool isCheckLine(const QString& keys);
// Begins with "*IF(".
bool isConditionLine(const QString& keys);
// Begins with "*LABEL(".
bool isLabelLine(const QString& keys);
// Begins with "*CHKEXCEL", "*BEGINEXCEL", "*ENDEXCEL" or "*PUTCLIPBTOCOL":
// the run driver acts on these; the line dispatcher does nothing with them.
bool isWorksheetCommand(const QString& keys);
// Begins with "*PUTCLIPBTOCOL" (one of the worksheet commands).
bool isClipboardToColumnLine(const QString& keys);
// Begins with "EXCEL": types a cell of the current worksheet row.
bool isWorksheetColumnLine(const QString& keys);

// The event of a mouse line, by the keyword at its second character.
enum class MouseEvent {
    None, // a "[" text of more than 2 characters naming no event: does nothing
    RightClick,
    LeftClick,
    MiddleClick,
    DblClick,
    PosMouse,
    MoveMouse,
    MoveWheel,
};
MouseEvent mouseEvent(const QString& keys);

// What a line does, decided in the order in which a run meets it: the run
// driver leaves out not-executable lines and types worksheet columns itself;
// the dispatcher then tests the remaining kinds in the order listed here.
enum class LineKind {
    NotExecutable,
    WorksheetColumn,
    Mouse,
    CharacterString,
    Pause,
    Check,
    Condition,
    Label,
    WorksheetCommand,
    Keystrokes,
};
// The kind of a stored Keys text. The text translated by KeysToSend gives the
// same kind, except that worksheet column lines translate to "".
LineKind lineKind(const QString& keys);

// Switching a line off and on. Marking puts "#" in front and drops the last
// character when that makes the text longer than KeysWidth; unmarking removes
// the "#" again. A text that begins with "**" is marked "##" instead, since
// "#**" is a remark, and unmarking "##**" removes both. A text that is already
// in the wanted state is returned as it is, and so is a remark, which stays a
// remark.
QString markNotExecutable(const QString& keys);
QString unmarkNotExecutable(const QString& keys);

} // namespace tapwise
