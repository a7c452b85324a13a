#pragma once

#include "common/Result.h"
#include "language/Line.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

namespace tapwise {

// One record of the data file, as stored and as exchanged in a ".tpw" file:
//   D, K, W          three 32-bit signed little-endian lengths (the header)
//   description      D bytes, scrambled
//   Keys field       K bytes, scrambled: the Keys texts of all lines joined with ","
//   WaitTime field   W bytes, scrambled: the WaitTimes of all lines joined with ","
// Texts are Windows-1252, one byte per character; each field is scrambled on
// its own with DataFileKey, counting positions from 1 at its first byte.

inline constexpr qint64 DataFileKey = 583162;
inline constexpr qint64 ScrambleOffset = 271849;
inline constexpr qsizetype RecordHeaderSize = 12;

// XORs each byte with a value derived from its position; applying it twice
// with the same key and start gives the input back. Key 0 leaves the text as
// it is. The value for position i is (i * (key - ScrambleOffset)) mod 256,
// taken exactly for any key and start.
QByteArray ScrambleText(QByteArrayView text, qint64 key, qint64 start);

qint32 readInt32(QByteArrayView bytes, qsizetype offset);
void writeInt32(QByteArray& bytes, qsizetype offset, qint32 value);

struct RecordHeader {
    qint32 descriptionLength = 0;
    qint32 keysLength = 0;
    qint32 waitTimeLength = 0;

    bool hasNegativeLength() const;
    // 12 + D + K + W, computed without wrapping.
    qint64 recordLength() const;
};

// The header at offset; the caller makes sure 12 bytes are there.
RecordHeader readRecordHeader(QByteArrayView bytes, qsizetype offset);

// The three fields of a record, unscrambled and decoded, the two lists split
// at ","; an empty field gives an empty list.
struct RecordFields {
    QString description;
    QStringList keys;
    QStringList waitTimes;
};

// The record holding a description and lines; refused when a text has a
// character without a Windows-1252 byte or a line holds ",".
Result<QByteArray> EncodeRecord(const QString& description, const Lines& lines,
                                const QString& lang);

// Whether the bytes are one whole record: no length in its header is
// negative, the lengths add up (without wrapping) to its size, and it holds
// as many Keys texts as WaitTimes.
bool IsSoundRecord(QByteArrayView record);

// The fields of a sound record (its length matches its header).
RecordFields DecodeRecord(QByteArrayView record);

// Unscrambles the bytes of a whole data-file field and decodes them into out,
// which has room for one character per byte.
void DecodeFieldInto(QByteArrayView bytes, QChar* out);

// Only the description of a sound record, decoded into a buffer that the caller
// keeps for the next record, for loops over many records.
using TextBuffer = QVarLengthArray<QChar, 1024>;
QStringView DecodeDescriptionInto(QByteArrayView record, TextBuffer& buffer);

// Whether a sound record's name equals name, letter case ignored. Most
// records are told apart by the name's length alone, before decoding.
bool RecordHasName(QByteArrayView record, QStringView name);

} // namespace tapwise
