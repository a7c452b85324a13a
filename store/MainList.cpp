#include "store/MainList.h"

namespace tapwise {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Names lose their blanks at both ends, and nothing else (a tab stays).
QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

} // namespace

QString SequenceName(const QString& description) {
    const qsizetype lineEnd = description.indexOf(CrLf);
    if (lineEnd < 0)
        return description;
    if (lineEnd == 0)
        return CrLf;
    return trimSpaces(description.left(lineEnd));
}

QString MainListRow(const QString& description, qint32 position) {
    QString row = description.leftJustified(RowDescriptionWidth, QLatin1Char(' '), true);
    row += QString(RowGap, QLatin1Char(' '));
    row += QString::number(position);
    return row;
}

qint32 RowPosition(const QString& row) {
    const qsizetype space = row.lastIndexOf(QLatin1Char(' '));
    if (space < 0)
        return 0;
    return trimSpaces(row.mid(space + 1)).toInt();
}

qsizetype SelectSequenceRow(const QStringList& rows, qint32 position) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (RowPosition(rows[i]) == position)
            return i;
    }
    return -1;
}

} // namespace tapwise
