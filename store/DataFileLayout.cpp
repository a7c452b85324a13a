#include "store/DataFileLayout.h"

#include "store/SequenceRecord.h"

#include <algorithm>
#include <cstring>

namespace tapwise {

namespace {

qint32 recordLengthAt(QByteArrayView file, qint32 position) {
    return qint32(readRecordHeader(file, position - 1).recordLength());
}

// Checks the record at offset against the file's end; gives its length.
std::optional<DamageKind> checkRecord(QByteArrayView file, qint64 offset, qint64& length) {
    if (offset == file.size())
        return DamageKind::CountTooLarge;
    if (offset + RecordHeaderSize > file.size())
        return DamageKind::HeaderPastEnd;
    const RecordHeader header = readRecordHeader(file, offset);
    if (header.hasNegativeLength())
        return DamageKind::LengthNegative;
    length = header.recordLength();
    if (offset + length > file.size())
        return DamageKind::RecordPastEnd;
    return std::nullopt;
}

Damage damageAt(QByteArrayView file, const RecordWalk& walk, qint64 offset, DamageKind kind) {
    return {qint32(offset + 1), kind, file.size(), walk.recordCount, qint32(walk.positions.size())};
}

} // namespace

bool RecordWalk::contains(qint32 position) const {
    return std::binary_search(positions.cbegin(), positions.cend(), position);
}

RecordWalk WalkRecords(QByteArrayView file) {
    RecordWalk walk;
    if (file.size() > MaxDataFileLength) {
        walk.damage = damageAt(file, walk, 0, DamageKind::FileTooLong);
        return walk;
    }
    if (file.size() < 4)
        return walk;
    walk.recordCount = readInt32(file, 0);
    if (walk.recordCount < 0) {
        walk.damage = damageAt(file, walk, 0, DamageKind::CountNegative);
        return walk;
    }
    qint64 offset = EmptyUsedLength;
    walk.positions.reserve(std::min<qint64>(walk.recordCount, file.size() / RecordHeaderSize));
    for (qint32 n = 0; n < walk.recordCount; ++n) {
        qint64 length = 0;
        if (const auto kind = checkRecord(file, offset, length)) {
            walk.damage = damageAt(file, walk, offset, *kind);
            break;
        }
        walk.positions.append(qint32(offset + 1));
        offset += length;
    }
    walk.usedLength = qint32(offset);
    return walk;
}

QByteArrayView RecordAt(QByteArrayView file, qint32 position) {
    return file.sliced(position - 1, recordLengthAt(file, position));
}

QByteArray AppendedFile(QByteArrayView file, const RecordWalk& walk, QByteArrayView record) {
    const qsizetype end = walk.usedLength + record.size();
    QByteArray out(std::max<qsizetype>(file.size(), end), '\0');
    std::memcpy(out.data(), file.data(), std::size_t(file.size()));
    writeInt32(out, 0, walk.recordCount + 1);
    std::memcpy(out.data() + walk.usedLength, record.data(), std::size_t(record.size()));
    return out;
}

QByteArray DeletedFile(QByteArrayView file, const RecordWalk& walk, qint32 position) {
    QByteArray out(file.data(), file.size());
    writeInt32(out, 0, walk.recordCount - 1);
    const qint32 length = recordLengthAt(file, position);
    const qint32 tail = walk.usedLength - (position + length - 1);
    if (tail > 0)
        std::memmove(out.data() + position - 1, out.data() + position - 1 + length,
                     std::size_t(tail));
    std::memset(out.data() + walk.usedLength - length, 0, std::size_t(length));
    return out;
}

RecordWalk WalkAfterDelete(QByteArrayView file, const RecordWalk& walk, qint32 position) {
    const qint32 length = recordLengthAt(file, position);
    RecordWalk after = walk;
    after.recordCount = walk.recordCount - 1;
    after.usedLength = walk.usedLength - length;
    const qsizetype index = after.positions.indexOf(position);
    after.positions.remove(index);
    for (qsizetype i = index; i < after.positions.size(); ++i)
        after.positions[i] -= length;
    return after;
}

RecordsPastEnd FindRecordsPastEnd(QByteArrayView file, const RecordWalk& walk) {
    RecordsPastEnd found;
    if (walk.damage)
        return found;
    qint64 offset = walk.usedLength;
    while (offset + RecordHeaderSize <= file.size()) {
        const RecordHeader header = readRecordHeader(file, offset);
        if (header.hasNegativeLength() || header.descriptionLength == 0 ||
            offset + header.recordLength() > file.size() ||
            !IsSoundRecord(file.sliced(offset, header.recordLength())))
            break;
        offset += header.recordLength();
        ++found.count;
    }
    found.length = qint32(offset - walk.usedLength);
    return found;
}

bool NeedsCompaction(qint64 fileLength, const RecordWalk& walk) {
    return !walk.damage && fileLength > 2 * qint64(walk.usedLength);
}

} // namespace tapwise
