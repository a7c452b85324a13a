#pragma once

#include "language/Line.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace tapwise {

// The rows of the editor's line list. A line row is the Keys text padded to
// KeysWidth followed directly by the WaitTime; a command row is the Keys text
// padded to KeysWidth alone. Two marker rows frame the lines.

// The only row of a new, still empty Key sequence.
inline constexpr QStringView ReadyRow = u"<ready>";
// Always the last row once a line exists.
inline constexpr QStringView MoreRow = u"<more...>";
// Width of the WaitTime of a row placed in the editor, and after the WaitTime
// of a row is updated from the WaitTime box.
inline constexpr int EnteredWaitWidth = 6;
inline constexpr int UpdatedWaitWidth = 10;

// The row of a stored line as the editor loads it: the WaitTime unpadded, no
// WaitTime for a command line. A Keys text longer than KeysWidth is kept
// whole, with a blank before its WaitTime so that decodeRows gives it back.
QString storedLineRow(const Line& line);

// The row of a line placed in the editor: the Keys cut or padded to KeysWidth,
// the WaitTime cut or padded to waitWidth, no WaitTime for a command line.
QString enteredLineRow(const QString& keys, const QString& waitTime,
                       int waitWidth = EnteredWaitWidth);

// The WaitTime of an existing row: the text after its last space, without
// blanks. When the row holds no space or that text is empty (a row placed in
// the editor ends in the blanks of its WaitTime field), editorWaitTime.
QString rowWaitTime(const QString& row, const QString& editorWaitTime);

// The lines of the rows, as they are saved: rows from the top, without their
// blanks; reading stops at the end marker row; empty rows and the start
// marker row are skipped. A command row gives its whole text and WaitTime
// "0"; any other row is split at its last space into Keys and WaitTime.
Lines decodeRows(const QStringList& rows);

// The row with its line switched off or on: "#" written in front of the Keys
// part, or taken away, within the first KeysWidth characters, the WaitTime
// staying where it is. Nothing for remarks, marker rows and empty rows.
std::optional<QString> toggleRowNotExecutable(const QString& row);

// A marker row or an empty row: no line.
bool isMarkerOrEmptyRow(const QString& row);

// The index of the first row whose text without blanks equals the text,
// letter case ignored, or -1 when there is none.
qint32 FindIntoListbox(const QStringList& rows, const QString& text);

// FindIntoListbox for many look-ups in rows that do not change: the rows are
// read once, so a check of a long list does not read it once per line.
class RowFinder {
public:
    explicit RowFinder(const QStringList& rows);
    qint32 find(const QString& text) const;

private:
    QHash<QString, qint32> firstRow_;
};

} // namespace tapwise
