#include "store/MainList.h"

#include <algorithm>

namespace tapwise {

QStringView SequenceNameOf(QStringView description) {
    const NameExtent extent = FindNameExtent(
        description.size(), [description](qsizetype i) { return description[i].unicode(); });
    return description.sliced(extent.start, extent.length);
}

QString SequenceName(const QString& description) {
    return SequenceNameOf(description).toString();
}

QString MainListRow(QStringView description, qint32 position) {
    const qsizetype shown = std::min(description.size(), RowDescriptionWidth);
    const QString number = QString::number(position);
    QString row(RowDescriptionWidth + RowGap + number.size(), Qt::Uninitialized);
    QChar* out = std::copy_n(description.data(), shown, row.data());
    out = std::fill_n(out, RowDescriptionWidth + RowGap - shown, QLatin1Char(' '));
    std::copy(number.cbegin(), number.cend(), out);
    return row;
}

void MainList::append(QStringView description, qint32 position) {
    const QStringView name = SequenceNameOf(description);
    const qsizetype start = name.data() - description.data();
    if (start + name.size() <= RowDescriptionWidth) {
        names_.append({qint16(start), qint32(name.size())});
    } else {
        names_.append({-1, qint32(longNames_.size())});
        longNames_.append(name.toString());
    }
    rows_.append(MainListRow(description, position));
    positions_.append(position);
}

QString MainList::name(qsizetype row) const {
    const NameSpan span = names_[row];
    return span.start < 0 ? longNames_[span.length] : rows_[row].mid(span.start, span.length);
}

qint32 RowPosition(const QString& row) {
    const qsizetype space = row.lastIndexOf(QLatin1Char(' '));
    if (space < 0)
        return 0;
    // Nothing but the digits follows the last space.
    return QStringView(row).sliced(space + 1).toInt();
}

qsizetype SelectSequenceRow(const QStringList& rows, qint32 position) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (RowPosition(rows[i]) == position)
            return i;
    }
    return -1;
}

} // namespace tapwise
