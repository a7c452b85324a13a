#pragma once

#include "language/Line.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tapwise {

// The editor's line list as text rows (see language/EditorRows.h for the row
// format) with its selected row. Every change the editor makes to its list
// is a function of this struct; the window only shows the result.
struct RowList {
    QStringList rows;
    int selected = -1;

    bool operator==(const RowList&) const = default;
};

// The list of a new Key sequence: the start marker alone, selected.
RowList newRowList();
// The list of a stored Key sequence: one row per line, then the end marker,
// selected.
RowList loadedRowList(const Lines& lines);

// Places a finished Keys text at the selected row: over the last row (a
// marker) it appends a line with the WaitTime of the box; over another row
// it replaces the Keys and keeps the row's own WaitTime, or takes the box's
// when the row has none of its own. Blank keys place nothing. True when the
// list changed.
bool placeLine(RowList& list, const QString& editorKeys, const QString& editorWaitTime);

// Inserts an empty row before the selected one and selects it.
void insertEmptyRow(RowList& list);
// Whether "Delete line" may remove the selected row: not a marker row ("<"
// followed by a character other than a space).
bool canDeleteSelected(const RowList& list);
// Removes the selected row and selects the row now at its index.
void deleteSelected(RowList& list);

// The WaitTime box: whether its text is accepted while typing (blank, or a
// number without "-"), and the value it takes on leaving: blank is "0", a
// number its whole part; nothing when the text is not accepted.
bool waitTimeTextValid(const QString& text);
std::optional<QString> waitTimeOnLeave(const QString& text);
// The WaitTime a line takes from the box text: its value, "0" when invalid.
QString waitTimeOfBox(const QString& text);

// Whether "*ChkExcelSheetCol*" may be placed at the selected row: the row
// above must be a worksheet column line.
bool chkExcelAllowed(const RowList& list);

// The entries of the key entry box's drop-down list with `columns` worksheet
// columns offered, and the two entries that offering column n adds.
QStringList keyBoxEntries(int columns);
QStringList columnEntries(int column);

// What a pick of the key entry box asks for before its line can be placed.
enum class PickAction {
    Nothing,       // a blank entry
    Place,         // placed as it is
    MouseValues,   // "[PosMouse ...]", "[MoveMouse ...]": SetValues
    CheckDialog,   // "*Chk ...*": Form11
    IfDialog,      // "*If ...*": Form12
    Label,         // "*Label ...*": LabelN
    Remark,        // "*Pause*", "#**Remark ...", ":<string>": Remark in new mode
    ChkExcelSheet, // "*ChkExcelSheetCol*": placed only after a column line
};
PickAction pickAction(const QString& entry);

// --- Gestures on the list ---
// Shift+Click, Ctrl+Click and Alt+Click leave a row alone whose Keys are
// wider than their column (a Key sequence written by another program): they
// would cut its Keys.

// A row dragged from index `pressed` and dropped on the selected row: moved
// there (copied with `copy`) just above it. The marker rows are not moved or
// copied: a copied end marker would hide the lines below it. True when the
// rows changed; the moved or copied row is then selected.
bool dropRow(RowList& list, int pressed, bool copy);

// Shift+Click: the selected line switched off or on. Remarks, marker and
// empty rows stay as they are. True when the row changed.
bool toggleSelected(RowList& list);

// Ctrl+Click: the selected line takes the WaitTime of the box, 10 wide.
enum class WaitUpdate { Nothing, NotExecutable, Updated };
WaitUpdate updateSelectedWaitTime(RowList& list, const QString& editorWaitTime);

// Alt+Click: which entry reopens for the selected row, and the Keys text it
// starts from (mouse lines carry the update mark "[PosMouse.100;200)]").
enum class ValuesEntry {
    Nothing,       // marker, empty row, or a line without values
    NotExecutable, // a switched-off line: the message, nothing else
    Remark,        // remark, pause remark or character string: Remark in update mode
    CheckDialog,
    IfDialog,
    Label,
    MouseValues,
};
struct ValuesUpdate {
    ValuesEntry entry = ValuesEntry::Nothing;
    QString editorKeys;
};
ValuesUpdate valuesUpdateOf(const QString& row);
// The selected row with its Keys replaced by the entry's result, keeping the
// row's own WaitTime. Blank keys (the entry was cancelled) change nothing.
bool replaceSelectedKeys(RowList& list, const QString& editorKeys, const QString& editorWaitTime);

// The lines to save: the rows decoded. A description's line breaks are
// stored as CR LF whatever the text box gives.
Lines linesToSave(const RowList& list);
QString descriptionToSave(const QString& boxText);
// The description as the text box shows it (line feeds only).
QString descriptionToShow(const QString& stored);

} // namespace tapwise
