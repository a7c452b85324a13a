#include "store/SequenceRecord.h"

#include "store/StoreTexts.h"
#include "store/Windows1252.h"

#include <QtEndian>

#include <array>

namespace tapwise {

namespace {

// (i * m) mod 256 depends only on i mod 256 and m mod 256, so one table of
// 256 values serves every position of a field.
std::array<unsigned char, 256> scrambleTable(qint64 key) {
    const qint64 m = ((key - ScrambleOffset) % 256 + 256) % 256;
    std::array<unsigned char, 256> table{};
    for (qint64 i = 0; i < 256; ++i)
        table[std::size_t(i)] = static_cast<unsigned char>((i * m) % 256);
    return table;
}

QByteArray unscrambleField(QByteArrayView record, qsizetype offset, qint32 length) {
    return ScrambleText(record.sliced(offset, length), DataFileKey, 1);
}

QStringList splitField(const QString& field) {
    if (field.isEmpty())
        return {};
    return field.split(QLatin1Char(','));
}

Error unencodable(const QString& where, const QString& text, qsizetype index, const QString& lang) {
    return {UnencodableText, StoreText::Unencodable.in(lang).arg(where, characterAt(text, index),
                                                                 codePointAt(text, index))};
}

// Checks every text of the record before anything is built from it.
Status checkTexts(const QString& description, const Lines& lines, const QString& lang) {
    if (const qsizetype bad = firstUnencodable(description); bad >= 0)
        return unencodable(StoreText::TheDescription.in(lang), description, bad, lang);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const Line& line = lines[n];
        const QString where = StoreText::TheLine.in(lang).arg(n + 1);
        if (line.keys.contains(QLatin1Char(',')) || line.waitTime.contains(QLatin1Char(',')))
            return Error{CommaInLine, StoreText::Comma.in(lang).arg(n + 1)};
        if (const qsizetype bad = firstUnencodable(line.keys); bad >= 0)
            return unencodable(where, line.keys, bad, lang);
        if (const qsizetype bad = firstUnencodable(line.waitTime); bad >= 0)
            return unencodable(where, line.waitTime, bad, lang);
    }
    return {};
}

} // namespace

QByteArray ScrambleText(QByteArrayView text, qint64 key, qint64 start) {
    QByteArray out(text.data(), text.size());
    if (key == 0)
        return out;
    const std::array<unsigned char, 256> table = scrambleTable(key);
    const qint64 first = ((start % 256) + 256) % 256;
    for (qsizetype p = 0; p < out.size(); ++p)
        out[p] = static_cast<char>(out[p] ^ table[std::size_t((first + p) & 255)]);
    return out;
}

qint32 readInt32(QByteArrayView bytes, qsizetype offset) {
    return qFromLittleEndian<qint32>(bytes.data() + offset);
}

void writeInt32(QByteArray& bytes, qsizetype offset, qint32 value) {
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

bool RecordHeader::hasNegativeLength() const {
    return descriptionLength < 0 || keysLength < 0 || waitTimeLength < 0;
}

qint64 RecordHeader::recordLength() const {
    return RecordHeaderSize + qint64(descriptionLength) + keysLength + waitTimeLength;
}

RecordHeader readRecordHeader(QByteArrayView bytes, qsizetype offset) {
    return {readInt32(bytes, offset), readInt32(bytes, offset + 4), readInt32(bytes, offset + 8)};
}

Result<QByteArray> EncodeRecord(const QString& description, const Lines& lines,
                                const QString& lang) {
    if (Status checked = checkTexts(description, lines, lang); !checked)
        return checked.error();
    QStringList keys;
    QStringList waitTimes;
    for (const Line& line : lines) {
        keys << line.keys;
        waitTimes << line.waitTime;
    }
    const QByteArray fields[] = {encodeWindows1252(description),
                                 encodeWindows1252(keys.join(QLatin1Char(','))),
                                 encodeWindows1252(waitTimes.join(QLatin1Char(',')))};
    QByteArray record(RecordHeaderSize, '\0');
    for (int f = 0; f < 3; ++f) {
        writeInt32(record, 4 * f, qint32(fields[f].size()));
        record += ScrambleText(fields[f], DataFileKey, 1);
    }
    return record;
}

bool IsSoundRecord(QByteArrayView record) {
    if (record.size() < RecordHeaderSize)
        return false;
    const RecordHeader header = readRecordHeader(record, 0);
    if (header.hasNegativeLength() || header.recordLength() != record.size())
        return false;
    const RecordFields fields = DecodeRecord(record);
    return fields.keys.size() == fields.waitTimes.size();
}

RecordFields DecodeRecord(QByteArrayView record) {
    const RecordHeader h = readRecordHeader(record, 0);
    const qsizetype keysAt = RecordHeaderSize + h.descriptionLength;
    const qsizetype waitsAt = keysAt + h.keysLength;
    return {decodeWindows1252(unscrambleField(record, RecordHeaderSize, h.descriptionLength)),
            splitField(decodeWindows1252(unscrambleField(record, keysAt, h.keysLength))),
            splitField(decodeWindows1252(unscrambleField(record, waitsAt, h.waitTimeLength)))};
}

QString DecodeDescription(QByteArrayView record) {
    const qint32 length = readInt32(record, 0);
    return decodeWindows1252(unscrambleField(record, RecordHeaderSize, length));
}

} // namespace tapwise
