#include "language/ColumnLetters.h"

namespace tapwise {

namespace {

constexpr int LetterCount = 26;

QChar letter(int value) {
    return QChar(u'A' + value - 1);
}

int letterValue(QChar c) {
    if (c < u'A' || c > u'Z')
        return 0;
    return c.unicode() - u'A' + 1;
}

} // namespace

QString ColumnLetters(int column) {
    if (column < 1 || column > MaxColumnNumber)
        return {};
    int first = column / LetterCount;
    int last = column % LetterCount;
    if (last == 0) {
        first -= 1;
        last = LetterCount;
    }
    QString letters;
    if (first != 0)
        letters += letter(first);
    letters += letter(last);
    return letters;
}

int ColumnNumber(QStringView text) {
    const qsizetype semicolon = text.indexOf(u';');
    const QStringView letters = semicolon < 0 ? text : text.left(semicolon);
    if (letters.isEmpty() || letters.size() > 2)
        return 0;
    const int first = letterValue(letters[0]);
    if (letters.size() == 1)
        return first;
    const int second = letterValue(letters[1]);
    if (first == 0 || second == 0)
        return 0;
    return first * LetterCount + second;
}

} // namespace tapwise
