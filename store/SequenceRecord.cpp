#include "store/SequenceRecord.h"

#include "store/SequenceName.h"
#include "store/StoreTexts.h"
#include "store/Windows1252.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

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

namespace {

// Decodes eight bytes at once when none of them is one of the 32 bytes that
// the table maps elsewhere (0x80 to 0x9F), as in most text: the pattern is
// removed as one word and the bytes widened together. False otherwise.
bool decodeEightPlain(const unsigned char* in, const unsigned char* pattern, char16_t* out) {
    constexpr std::uint64_t High = 0x8080808080808080;
    constexpr std::uint64_t Ones = 0x0101010101010101;
    std::uint64_t bytes = 0;
    std::uint64_t mask = 0;
    std::memcpy(&bytes, in, 8);
    std::memcpy(&mask, pattern, 8);
    bytes ^= mask;
    // A zero byte here marks a byte from 0x80 to 0x9F.
    const std::uint64_t tagged = (bytes & 0xE0E0E0E0E0E0E0E0) ^ High;
    if ((tagged - Ones) & ~tagged & High)
        return false;
    using Eight = unsigned char __attribute__((vector_size(8)));
    using Units = std::uint16_t __attribute__((vector_size(16)));
    Eight narrow;
    std::memcpy(&narrow, &bytes, 8);
    const Units wide = __builtin_convertvector(narrow, Units);
    std::memcpy(out, &wide, 16);
    return true;
}

} // namespace

// The pattern repeats every 256 positions: each block of 256 bytes reads it
// straight on, without wrapping its index byte by byte.
void DecodeFieldInto(QByteArrayView bytes, QChar* out) {
    const std::array<char16_t, 256>& characters = windows1252Characters();
    const unsigned char* pattern = FieldPattern.data();
    for (qsizetype block = 0; block < bytes.size(); block += 256) {
        const auto* in = reinterpret_cast<const unsigned char*>(bytes.data()) + block;
        auto* to = reinterpret_cast<char16_t*>(out) + block;
        const qsizetype size = std::min<qsizetype>(bytes.size() - block, 256);
        const auto decodeOne = [&](qsizetype i) { to[i] = characters[in[i] ^ pattern[i]]; };
        qsizetype i = 0;
        for (; i + 8 <= size; i += 8) {
            if (!decodeEightPlain(in + i, pattern + i, to + i)) {
                for (qsizetype k = i; k < i + 8; ++k)
                    decodeOne(k);
            }
        }
        for (; i < size; ++i)
            decodeOne(i);
    }
}

bool RecordHasName(QByteArrayView record, QStringView name) {
    const QByteArrayView description = record.sliced(RecordHeaderSize, readInt32(record, 0));
    const NameExtent extent = FindNameExtent(description.size(), [description](qsizetype i) {
        return static_cast<unsigned char>(description[i] ^ FieldPattern[std::size_t(i & 255)]);
    });
    if (extent.length != name.size())
        return false;
    // Character by character, so that most names are told apart at their
    // first differing character; letter case is folded only where it matters.
    const std::array<char16_t, 256>& characters = windows1252Characters();
    for (qsizetype i = 0; i < extent.length; ++i) {
        const qsizetype at = extent.start + i;
        const char16_t stored = characters[static_cast<unsigned char>(description[at]) ^
                                           FieldPattern[std::size_t(at & 255)]];
        const char16_t wanted = name[i].unicode();
        if (stored != wanted && QChar::toCaseFolded(stored) != QChar::toCaseFolded(wanted))
            return false;
    }
    return true;
}

} // namespace tapwise
