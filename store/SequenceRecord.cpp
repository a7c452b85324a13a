#include "store/SequenceRecord.h"

#include "store/SequenceName.h"
#include "store/StoreTexts.h"
#include "store/Windows1252.h"

#include <QtEndian>

#include <algorithm>
#include <array>

namespace tapwise {

namespace {

// (i * m) mod 256 depends only on i mod 256 and m mod 256, so one table of
// 256 values serves every position of a field.
constexpr std::array<unsigned char, 256> scrambleTable(qint64 key) {
    const qint64 m = ((key - ScrambleOffset) % 256 + 256) % 256;
    std::array<unsigned char, 256> table{};
    for (qint64 i = 0; i < 256; ++i)
        table[std::size_t(i)] = static_cast<unsigned char>((i * m) % 256);
    return table;
}

constexpr std::array<unsigned char, 256> DataFileTable = scrambleTable(DataFileKey);

// The values for the first 256 positions of a field, in order; every further
// block of 256 positions repeats them.
constexpr std::array<unsigned char, 256> fieldPattern() {
    std::array<unsigned char, 256> pattern{};
    for (std::size_t p = 0; p < pattern.size(); ++p)
        pattern[p] = DataFileTable[(p + 1) & 255];
    return pattern;
}

constexpr std::array<unsigned char, 256> FieldPattern = fieldPattern();

QString decodeField(QByteArrayView record, qsizetype offset, qint32 length) {
    QString text(length, Qt::Uninitialized);
    DecodeFieldInto(record.sliced(offset, length), text.data());
    return text;
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
        // Either would come back as a different number of lines.
        if (line.keys.contains(QLatin1Char(',')) || line.waitTime.contains(QLatin1Char(',')))
            return Error{CommaInLine, StoreText::Comma.in(lang).arg(n + 1)};
        if (line.keys.isEmpty() || line.waitTime.isEmpty())
            return Error{EmptyLineText, StoreText::EmptyText.in(lang).arg(n + 1)};
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
    return {decodeField(record, RecordHeaderSize, h.descriptionLength),
            splitField(decodeField(record, keysAt, h.keysLength)),
            splitField(decodeField(record, waitsAt, h.waitTimeLength))};
}

QStringView DecodeDescriptionInto(QByteArrayView record, TextBuffer& buffer) {
    const qint32 length = readInt32(record, 0);
    buffer.resize(length);
    DecodeFieldInto(record.sliced(RecordHeaderSize, length), buffer.data());
    return QStringView(buffer.data(), length);
}

void DecodeFieldInto(QByteArrayView bytes, QChar* out, qsizetype firstIndex) {
    const std::array<char16_t, 256>& characters = windows1252Characters();
    for (qsizetype p = 0; p < bytes.size(); ++p) {
        const auto byte = static_cast<unsigned char>(bytes[p]);
        out[p] = QChar(characters[byte ^ FieldPattern[std::size_t((firstIndex + p) & 255)]]);
    }
}

bool RecordHasName(QByteArrayView record, QStringView name, TextBuffer& buffer) {
    const QByteArrayView description = record.sliced(RecordHeaderSize, readInt32(record, 0));
    const NameExtent extent = FindNameExtent(description.size(), [description](qsizetype i) {
        return static_cast<unsigned char>(description[i] ^ FieldPattern[std::size_t(i & 255)]);
    });
    if (extent.length != name.size())
        return false;
    buffer.resize(extent.length);
    DecodeFieldInto(description.sliced(extent.start, extent.length), buffer.data(), extent.start);
    return QStringView(buffer.data(), extent.length).compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace tapwise
