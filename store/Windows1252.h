#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

namespace tapwise {

// The data file, the exchange file and the print file hold one byte per
// character in Windows-1252, so that files move unchanged between this
// program and its Windows counterpart. Texts are Unicode in memory; the
// functions here hold the only mapping between the two.

// Every byte has a character: the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value, as
// Windows converts them, so any byte sequence survives decode then encode.
QString decodeWindows1252(QByteArrayView bytes);

// The character of each byte, for decoding in a loop of one's own.
const std::array<char16_t, 256>& windows1252Characters();

// The index of the first character of the text that has no Windows-1252 byte
// (a surrogate pair counts from its first half), or -1 when it has none.
qsizetype firstUnencodable(const QString& text);

// The bytes of a text that firstUnencodable() accepts; a character without a
// byte becomes "?" (callers check first and refuse such texts).
QByteArray encodeWindows1252(const QString& text);

// The character at index as the user sees it, and its code point as "U+20AC".
QString characterAt(const QString& text, qsizetype index);
QString codePointAt(const QString& text, qsizetype index);

} // namespace tapwise
