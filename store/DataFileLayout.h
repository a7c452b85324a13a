#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <limits>
#include <optional>

namespace tapwise {

// The data file: a 32-bit record count at offset 0, then the records back to
// back. A record is known by its record position, the 1-based byte position of
// its header. The used length is the offset just past the last record; bytes
// behind it are leftovers of deleted records that every reader ignores.
//
// The functions here work on the file's bytes in memory. The changes compute
// exactly the bytes that writing into the file in place would leave, leftover
// bytes included, so that the result can be written to a new file at once.

inline constexpr qint32 FirstRecordPosition = 5;
inline constexpr qint32 EmptyUsedLength = 4;
inline constexpr qint64 MaxDataFileLength = std::numeric_limits<qint32>::max();

enum class DamageKind {
    CountNegative,  // the record count is below 0
    CountTooLarge,  // the file ends where a further record should begin
    HeaderPastEnd,  // a record header is cut short by the file's end
    LengthNegative, // a record header holds a negative length
    RecordPastEnd,  // a record's fields run past the file's end
    FileTooLong,    // the file is beyond what 32-bit positions can reach
};

struct Damage {
    qint32 position = 1; // the record position where reading stopped
    DamageKind kind = DamageKind::CountNegative;
    qint64 fileLength = 0;
    qint32 recordCount = 0; // the count at offset 0
    qint32 recordsRead = 0; // the records before the damage
};

// The records of a data file as far as they can be read soundly.
struct RecordWalk {
    // The count at offset 0; 0 for a file shorter than 4 bytes.
    qint32 recordCount = 0;
    // Positions of the records read, in file order; the count's worth when
    // the file is sound, those before the damage otherwise.
    QList<qint32> positions;
    // Offset just past the last record read.
    qint32 usedLength = EmptyUsedLength;
    // Where and why reading stopped early.
    std::optional<Damage> damage;

    bool contains(qint32 position) const;
};

// Walks the records, checking every length against the file's end: a count or
// header that runs past the end, or a negative length, is damage.
RecordWalk WalkRecords(QByteArrayView file);

// The bytes of the record at a position the walk found.
QByteArrayView RecordAt(QByteArrayView file, qint32 position);

// The file after appending a record: count + 1 at offset 0, the record at the
// used length; leftover bytes beyond the new record stay.
QByteArray AppendedFile(QByteArrayView file, const RecordWalk& walk, QByteArrayView record);

// The file after deleting the record at position: count - 1, the used bytes
// behind the record moved down onto it; the file keeps its length. The bytes
// freed at the end of the used part are zeroed, so that they can never be
// taken for records (see FindRecordsPastEnd).
QByteArray DeletedFile(QByteArrayView file, const RecordWalk& walk, qint32 position);

// The walk of the file DeletedFile gives, without walking it again.
RecordWalk WalkAfterDelete(QByteArrayView file, const RecordWalk& walk, qint32 position);

// Whole records lying back to back from the used length on. The format has
// no way to tell leftovers from records that a damaged count has cut off, so
// these are bytes that may be data: nothing may destroy them unseen. Zeroed
// leftovers never count, nor does a record with an empty description (the
// editor never saves one) or with fewer WaitTimes than Keys texts.
struct RecordsPastEnd {
    qint32 count = 0;
    qint32 length = 0; // bytes from the used length to the last one's end
};
RecordsPastEnd FindRecordsPastEnd(QByteArrayView file, const RecordWalk& walk);

// The file is compacted to its used length once it has grown to more than
// twice that length.
bool NeedsCompaction(qint64 fileLength, const RecordWalk& walk);

} // namespace tapwise
