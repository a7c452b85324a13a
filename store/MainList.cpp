#include "store/MainList.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace tapwise {

namespace {

// The index of the first CR LF, or -1; a search for the CR alone is the
// fast one.
qsizetype firstLineEnd(QStringView text) {
    for (qsizetype at = text.indexOf(u'\r'); at >= 0; at = text.indexOf(u'\r', at + 1)) {
        if (at + 1 < text.size() && text[at + 1] == u'\n')
            return at;
    }
    return -1;
}

// The blanks between a row's description and its record position.
constexpr std::array<char16_t, RowDescriptionWidth + RowGap> Blanks = [] {
    std::array<char16_t, RowDescriptionWidth + RowGap> blanks{};
    blanks.fill(u' ');
    return blanks;
}();

} // namespace

QStringView SequenceNameOf(QStringView description) {
    const NameExtent extent =
        NameExtentBefore(description.size(), firstLineEnd(description),
                         [description](qsizetype i) { return description[i].unicode(); });
    return description.sliced(extent.start, extent.length);
}

QString SequenceName(const QString& description) {
    return SequenceNameOf(description).toString();
}

// Built in place: a list load makes one row per record.
QString MainListRow(QStringView description, qint32 position) {
    std::array<char, 16> digits{};
    char* digitsEnd = std::to_chars(digits.data(), digits.data() + digits.size(), position).ptr;
    const qsizetype shown = std::min(description.size(), RowDescriptionWidth);
    constexpr qsizetype numberAt = RowDescriptionWidth + RowGap;
    QString row(numberAt + (digitsEnd - digits.data()), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(row.data());
    std::memcpy(out, description.utf16(), std::size_t(shown) * sizeof(char16_t));
    std::memcpy(out + shown, Blanks.data(), std::size_t(numberAt - shown) * sizeof(char16_t));
    std::copy(digits.data(), digitsEnd, out + numberAt);
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
