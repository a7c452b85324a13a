#pragma once

#include <QString>
#include <QStringView>

namespace tapwise {

// The name of a Key sequence is the first line of its description. Without a
// CR LF it is the whole description, untrimmed; before a CR LF further on, the
// text before it with the blanks at both ends removed; a description that
// starts with CR LF is named by those two characters.
QString SequenceName(const QString& description);
QStringView SequenceNameOf(QStringView description);

// Where the name lies in a description.
struct NameExtent {
    qsizetype start = 0;
    qsizetype length = 0;
};

// The name rule over a description of size characters whose i-th character
// code is charAt(i), so that it applies alike to texts and to stored bytes;
// lineEnd is the index of its first CR LF, or -1.
template <typename CharAt>
NameExtent NameExtentBefore(qsizetype size, qsizetype lineEnd, CharAt charAt) {
    if (lineEnd < 0)
        return {0, size};
    if (lineEnd == 0)
        return {0, 2};
    qsizetype first = 0;
    qsizetype last = lineEnd;
    while (first < last && charAt(first) == ' ')
        ++first;
    while (last > first && charAt(last - 1) == ' ')
        --last;
    return {first, last - first};
}

// The same, finding the first CR LF by charAt.
template <typename CharAt>
NameExtent FindNameExtent(qsizetype size, CharAt charAt) {
    qsizetype lineEnd = -1;
    for (qsizetype i = 0; i + 1 < size && lineEnd < 0; ++i) {
        if (charAt(i) == '\r' && charAt(i + 1) == '\n')
            lineEnd = i;
    }
    return NameExtentBefore(size, lineEnd, charAt);
}

} // namespace tapwise
