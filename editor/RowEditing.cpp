#include "editor/RowEditing.h"

#include "language/ColumnLetters.h"
#include "language/EditorRows.h"
#include "language/LineSyntax.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace tapwise {

namespace {

// The box takes six characters, so no WaitTime typed there is larger.
constexpr double LargestWaitTime = 999999;

bool validIndex(const RowList& list, int index) {
    return index >= 0 && index < list.rows.size();
}

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The WaitTime a row holds itself, or `fallback` when it holds none: a
// command row has none, and a row built in the editor ends in the blanks of
// its WaitTime field. Text that is not a WaitTime (the last word of a Keys
// text that fills its whole width) is not taken for one.
QString ownWaitTime(const QString& row, const QString& fallback) {
    if (isCommandLine(row.left(KeysWidth)))
        return fallback;
    const QString waitTime = rowWaitTime(row, fallback);
    return allDigits(waitTime) ? waitTime : fallback;
}

// A line row with its WaitTime at least `width` wide: a longer WaitTime that
// came from the store is kept whole rather than cut.
QString lineRow(const QString& editorKeys, const QString& waitTime, int width) {
    return enteredLineRow(editorKeys, waitTime, std::max(width, static_cast<int>(waitTime.size())));
}

bool isMarkerRow(const QString& row) {
    const QString trimmed = trimBlanks(row);
    return trimmed.compare(ReadyRow, Qt::CaseInsensitive) == 0 ||
           trimmed.compare(MoreRow, Qt::CaseInsensitive) == 0;
}

// A row whose Keys are wider than their column (written by another
// program): a gesture that rewrites the column would cut them.
bool hasLongKeys(const QString& row) {
    const Lines lines = decodeRows({row});
    return !lines.isEmpty() && lines.first().keys.size() > KeysWidth;
}

std::optional<double> numberOf(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

RowList newRowList() {
    return {{ReadyRow.toString()}, 0};
}

RowList loadedRowList(const Lines& lines) {
    RowList list;
    for (const Line& line : lines)
        list.rows.append(storedLineRow(line));
    list.rows.append(MoreRow.toString());
    list.selected = static_cast<int>(list.rows.size()) - 1;
    return list;
}

bool placeLine(RowList& list, const QString& editorKeys, const QString& editorWaitTime) {
    if (trimBlanks(editorKeys).isEmpty() || list.rows.isEmpty())
        return false;
    if (!validIndex(list, list.selected))
        list.selected = static_cast<int>(list.rows.size()) - 1;
    const bool lastRow = list.selected == list.rows.size() - 1;
    QString& row = list.rows[list.selected];
    QString waitTime = editorWaitTime.left(EnteredWaitWidth);
    if (!lastRow && !trimBlanks(row).isEmpty())
        waitTime = ownWaitTime(row, waitTime);
    row = lineRow(editorKeys.left(KeysWidth), waitTime, EnteredWaitWidth);
    if (lastRow) {
        list.rows.append(MoreRow.toString());
        list.selected = static_cast<int>(list.rows.size()) - 1;
    }
    return true;
}

void insertEmptyRow(RowList& list) {
    if (!validIndex(list, list.selected))
        return;
    list.rows.insert(list.selected, QString());
}

bool canDeleteSelected(const RowList& list) {
    if (!validIndex(list, list.selected))
        return false;
    const QString& row = list.rows[list.selected];
    return !(row.size() > 1 && row[0] == u'<' && row[1] != u' ');
}

void deleteSelected(RowList& list) {
    if (!canDeleteSelected(list))
        return;
    list.rows.removeAt(list.selected);
    list.selected = std::min(list.selected, static_cast<int>(list.rows.size()) - 1);
}

bool waitTimeTextValid(const QString& text) {
    if (text.trimmed().isEmpty())
        return true;
    if (text.contains(u'-'))
        return false;
    const std::optional<double> value = numberOf(text);
    return value && *value <= LargestWaitTime;
}

std::optional<QString> waitTimeOnLeave(const QString& text) {
    if (text.trimmed().isEmpty())
        return QStringLiteral("0");
    if (!waitTimeTextValid(text))
        return std::nullopt;
    return QString::number(std::floor(*numberOf(text)), 'f', 0);
}

QString waitTimeOfBox(const QString& text) {
    return waitTimeOnLeave(text).value_or(QStringLiteral("0"));
}

bool chkExcelAllowed(const RowList& list) {
    return validIndex(list, list.selected) && list.selected > 0 &&
           beginsWithKeyword(list.rows[list.selected - 1], u"EXCELSHEET");
}

QStringList columnEntries(int column) {
    const QString letters = ColumnLetters(column);
    return {QStringLiteral("ExcelSheetCol#") + letters,
            QStringLiteral("*PutClipBtoCol#") + letters + u'*'};
}

QStringList keyBoxEntries(int columns) {
    QStringList entries = {
        QStringLiteral("[LeftClick]"),
        QStringLiteral("[RightClick]"),
        QStringLiteral("[MiddleClick]"),
        QStringLiteral("[DblClick]"),
        QStringLiteral("[PosMouse ...]"),
        QStringLiteral("[MoveMouse ...]"),
        QStringLiteral("*Pause*"),
        QStringLiteral("*Chk ...*"),
        QStringLiteral("*If ...*"),
        QStringLiteral("*Label ...*"),
        QStringLiteral("*ChkExcelSheetCol*"),
        QStringLiteral("*BeginExcelLoop*"),
        QStringLiteral("*EndExcelLoop*"),
        QStringLiteral("#**Remark ..."),
        QStringLiteral(":<string>"),
    };
    for (int column = 1; column <= std::min(columns, EditorColumnCount); ++column)
        entries += columnEntries(column);
    return entries;
}

PickAction pickAction(const QString& entry) {
    if (trimBlanks(entry).isEmpty())
        return PickAction::Nothing;
    if (beginsWithKeyword(entry, u"[POSMOUSE") || beginsWithKeyword(entry, u"[MOVEMOUSE"))
        return PickAction::MouseValues;
    if (beginsWithKeyword(entry, u"*CHK ..."))
        return PickAction::CheckDialog;
    if (beginsWithKeyword(entry, u"*IF ..."))
        return PickAction::IfDialog;
    if (beginsWithKeyword(entry, u"*LABEL ..."))
        return PickAction::Label;
    if (beginsWithKeyword(entry, u"*PAUSE") || beginsWithKeyword(entry, u"#**REMARK") ||
        entry.startsWith(u':'))
        return PickAction::Remark;
    if (keywordAtSecond(entry, u"CHKEXCEL"))
        return PickAction::ChkExcelSheet;
    return PickAction::Place;
}

bool dropRow(RowList& list, int pressed, bool copy) {
    const int target = list.selected;
    if (!validIndex(list, pressed) || !validIndex(list, target) || pressed == target)
        return false;
    if (isMarkerRow(list.rows[pressed]))
        return false;
    QStringList rows = list.rows;
    rows.insert(target, rows[pressed]);
    if (!copy)
        rows.removeAt(pressed < target ? pressed : pressed + 1);
    if (rows == list.rows)
        return false;
    list.rows = rows;
    list.selected = (!copy && pressed < target) ? target - 1 : target;
    return true;
}

bool toggleSelected(RowList& list) {
    if (!validIndex(list, list.selected))
        return false;
    QString& row = list.rows[list.selected];
    if (hasLongKeys(row))
        return false;
    const std::optional<QString> toggled = toggleRowNotExecutable(row);
    if (!toggled || *toggled == row)
        return false;
    row = *toggled;
    return true;
}

WaitUpdate updateSelectedWaitTime(RowList& list, const QString& editorWaitTime) {
    if (!validIndex(list, list.selected))
        return WaitUpdate::Nothing;
    QString& row = list.rows[list.selected];
    const QString keys = row.left(KeysWidth);
    if (isMarkerOrEmptyRow(row) || isCommandLine(keys) || hasLongKeys(row))
        return WaitUpdate::Nothing;
    if (isNotExecutable(keys))
        return WaitUpdate::NotExecutable;
    row = enteredLineRow(keys, editorWaitTime, UpdatedWaitWidth);
    return WaitUpdate::Updated;
}

ValuesUpdate valuesUpdateOf(const QString& row) {
    QString keys = row.left(KeysWidth).leftJustified(KeysWidth, u' ');
    if (isMarkerOrEmptyRow(row) || hasLongKeys(row))
        return {};
    if (isRemark(keys) || isPauseLine(keys) || isCharacterString(trimBlanks(keys)))
        return {ValuesEntry::Remark, keys};
    if (!keys.contains(u'('))
        return {};
    if (isNotExecutable(keys))
        return {ValuesEntry::NotExecutable, keys};
    if (keys.startsWith(u'*')) {
        if (keywordAtSecond(keys, u"CHK"))
            return {ValuesEntry::CheckDialog, keys};
        if (keywordAtSecond(keys, u"IF"))
            return {ValuesEntry::IfDialog, keys};
        if (keywordAtSecond(keys, u"LABEL"))
            return {ValuesEntry::Label, keys};
        return {};
    }
    // Only the three mouse lines with values reopen; any other line holding
    // "(" (the single key "(" among them) has nothing to update.
    const MouseEvent event = mouseEvent(keys);
    if (event != MouseEvent::PosMouse && event != MouseEvent::MoveMouse &&
        event != MouseEvent::MoveWheel)
        return {};
    keys[keys.indexOf(u'(')] = u'.';
    if (event == MouseEvent::MoveWheel && keys.contains(u')'))
        keys[keys.indexOf(u')')] = u';';
    return {ValuesEntry::MouseValues, keys};
}

bool replaceSelectedKeys(RowList& list, const QString& editorKeys, const QString& editorWaitTime) {
    if (trimBlanks(editorKeys).isEmpty() || !validIndex(list, list.selected))
        return false;
    QString& row = list.rows[list.selected];
    row = lineRow(editorKeys.left(KeysWidth), ownWaitTime(row, editorWaitTime), EnteredWaitWidth);
    return true;
}

Lines linesToSave(const RowList& list) {
    return decodeRows(list.rows);
}

QString descriptionToSave(const QString& boxText) {
    QString text = boxText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString descriptionToShow(const QString& stored) {
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace tapwise
