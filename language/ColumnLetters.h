#pragma once

#include <QString>
#include <QStringView>

namespace tapwise {

// Worksheet columns are written as upper-case letters: "A" to "Z", then "AA"
// to "ZZ". The editor offers columns 1 to EditorColumnCount ("A" to "IV").
inline constexpr int EditorColumnCount = 256;
// The highest column that two letters can name ("ZZ").
inline constexpr int MaxColumnNumber = 702;

// The letters of a column number: 1 "A", 26 "Z", 27 "AA", 256 "IV", 702 "ZZ".
// "" for a number outside 1..MaxColumnNumber.
QString ColumnLetters(int column);

// The column number of the letters, read up to the first ";" if there is one
// (so "C;St;X;4)*" gives 3). The letters must be one or two upper-case letters
// "A" to "Z"; anything else, including "" and lower-case letters, gives 0,
// which callers treat as "no valid column".
int ColumnNumber(QStringView text);

} // namespace tapwise
