#include "language/EditorRows.h"

#include "language/LineSyntax.h"

namespace tapwise {

namespace {

QString fixedWidth(const QString& text, int width) {
    return text.leftJustified(width, u' ', true);
}

QString keysPart(const QString& row) {
    return fixedWidth(row, KeysWidth);
}

// The command test of saving, made on the row without blanks: it begins with
// "*" or "#*" and its second character is not a space. A row of the single key
// "*" switched off ("#*", its blanks, its WaitTime) passes that test although
// it is a line row, so the Keys part must be a command line as well; otherwise
// its WaitTime would be taken into its Keys.
bool isCommandRow(const QString& trimmed) {
    if (!trimmed.startsWith(u'*') && !trimmed.startsWith(u"#*"))
        return false;
    if (trimmed.size() > 1 && trimmed[1] == u' ')
        return false;
    return isCommandLine(trimmed.left(KeysWidth));
}

Line decodeLineRow(const QString& trimmed) {
    const qsizetype space = trimmed.lastIndexOf(u' ');
    if (space >= 0)
        return {trimBlanks(QStringView(trimmed).left(space)),
                trimBlanks(QStringView(trimmed).mid(space + 1))};
    // Keys and WaitTime with no blank between: the Keys fill their whole
    // width, or the row has no WaitTime at all.
    const QString waitTime = trimmed.mid(KeysWidth);
    return {trimmed.left(KeysWidth), waitTime.isEmpty() ? QStringLiteral("0") : waitTime};
}

bool isRowOf(const QString& trimmed, QStringView marker) {
    return trimmed.compare(marker, Qt::CaseInsensitive) == 0;
}

// Equal keys exactly when the texts are equal with letter case ignored: every
// character folded on its own, as a case-insensitive comparison does.
QString foldedKey(const QString& text) {
    QList<uint> characters = text.toUcs4();
    for (uint& c : characters)
        c = QChar::toCaseFolded(static_cast<char32_t>(c));
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()),
                             characters.size());
}

} // namespace

QString storedLineRow(const Line& line) {
    const QString keys = line.keys.leftJustified(KeysWidth, u' ');
    if (isCommandLine(line.keys))
        return keys;
    // Keys wider than their column (written by another program) would run
    // into the WaitTime, and saving would split the row inside them.
    return line.keys.size() > KeysWidth ? keys + u' ' + line.waitTime : keys + line.waitTime;
}

QString enteredLineRow(const QString& keys, const QString& waitTime, int waitWidth) {
    const QString keysField = fixedWidth(keys, KeysWidth);
    if (isCommandLine(keysField))
        return keysField;
    return keysField + fixedWidth(waitTime, waitWidth);
}

QString rowWaitTime(const QString& row, const QString& editorWaitTime) {
    const qsizetype space = row.lastIndexOf(u' ');
    if (space < 0)
        return editorWaitTime;
    const QString waitTime = trimBlanks(QStringView(row).mid(space + 1));
    return waitTime.isEmpty() ? editorWaitTime : waitTime;
}

Lines decodeRows(const QStringList& rows) {
    Lines lines;
    for (const QString& row : rows) {
        const QString trimmed = trimBlanks(row);
        if (isRowOf(trimmed, MoreRow))
            break;
        if (trimmed.isEmpty() || isRowOf(trimmed, ReadyRow))
            continue;
        if (isCommandRow(trimmed))
            lines.append({trimmed, QStringLiteral("0")});
        else
            lines.append(decodeLineRow(trimmed));
    }
    return lines;
}

bool isMarkerOrEmptyRow(const QString& row) {
    const QString trimmed = trimBlanks(row);
    return trimmed.isEmpty() || isRowOf(trimmed, MoreRow) || isRowOf(trimmed, ReadyRow);
}

std::optional<QString> toggleRowNotExecutable(const QString& row) {
    if (isRemark(row) || isMarkerOrEmptyRow(row))
        return std::nullopt;
    const QString keys = keysPart(row);
    const QString rest = row.mid(KeysWidth);
    const QString toggled =
        isNotExecutable(keys) ? unmarkNotExecutable(keys) : markNotExecutable(keys);
    return fixedWidth(toggled, KeysWidth) + rest;
}

qint32 FindIntoListbox(const QStringList& rows, const QString& text) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (trimBlanks(rows[i]).compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<qint32>(i);
    }
    return -1;
}

RowFinder::RowFinder(const QStringList& rows) {
    firstRow_.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString key = foldedKey(trimBlanks(rows[i]));
        if (!firstRow_.contains(key))
            firstRow_.insert(key, static_cast<qint32>(i));
    }
}

qint32 RowFinder::find(const QString& text) const {
    return firstRow_.value(foldedKey(text), -1);
}

} // namespace tapwise
