#include "store/SequenceStore.h"

#include "store/SequenceRecord.h"
#include "store/StoreTexts.h"

#include "common/NativePath.h"

#include <QDateTime>
#include <QDir>

#include <sys/stat.h>

namespace tapwise {

namespace {

QString damageReason(const Damage& damage, const QString& lang) {
    switch (damage.kind) {
    case DamageKind::CountNegative:
        return StoreText::CountNegative.in(lang).arg(damage.recordCount);
    case DamageKind::CountTooLarge:
        return StoreText::CountTooLarge.in(lang).arg(damage.recordCount).arg(damage.recordsRead);
    case DamageKind::HeaderPastEnd:
        return StoreText::HeaderPastEnd.in(lang).arg(damage.fileLength);
    case DamageKind::LengthNegative:
        return StoreText::LengthNegative.in(lang);
    case DamageKind::RecordPastEnd:
        return StoreText::RecordPastEnd.in(lang).arg(damage.fileLength);
    case DamageKind::FileTooLong:
        break;
    }
    return StoreText::FileTooLong.in(lang);
}

// What a change gives: the file's new bytes, nothing, or why it cannot be made.
using NextContent = Result<std::optional<QByteArray>>;

// A record fits when the file stays within what 32-bit positions reach.
bool fits(const RecordWalk& walk, qsizetype recordLength) {
    return walk.usedLength + qint64(recordLength) <= MaxDataFileLength;
}

} // namespace

SequenceStore::SequenceStore(QString dataFolder, QString lang, FileOptions options)
    : dataFolder_(std::move(dataFolder)), lang_(std::move(lang)),
      files_(std::move(options), lang_) {}

QString SequenceStore::DataFilePath() const {
    return QDir(dataFolder_).filePath(QLatin1String(DataFileName));
}

bool SequenceStore::DataFileExists() const {
    struct stat info {};
    return ::stat(encodePath(DataFilePath()).constData(), &info) == 0;
}

Status SequenceStore::CreateDataFile() {
    Status created = files_.createNew(DataFilePath(), QByteArray(4, '\0'));
    if (created) {
        recordCount_ = 0;
        usedLength_ = EmptyUsedLength;
    }
    return created;
}

Result<StoredSequence> SequenceStore::ReadSequence(qint32 position) {
    Result<Snapshot> snapshot = readSnapshot();
    if (!snapshot)
        return snapshot.error();
    return decodeAt(snapshot.value(), position);
}

Result<MainList> SequenceStore::ScanSequences() {
    Result<Snapshot> snapshot = readSnapshot();
    if (!snapshot)
        return snapshot.error();
    const auto& [bytes, walk] = snapshot.value();
    lastKept_.reset();
    MainList list;
    TextBuffer buffer;
    for (const qint32 position : walk.positions)
        list.append(DecodeDescriptionInto(RecordAt(bytes, position), buffer), position);
    if (walk.damage)
        list.setDamage(damageError(*walk.damage));
    else if (NeedsCompaction(bytes.size(), walk))
        compact();
    if (lastKept_)
        list.setNotice(KeptMessage(*lastKept_));
    return list;
}

Result<std::optional<qint32>> SequenceStore::ScanSequences(const QString& name) {
    Result<Snapshot> snapshot = readSnapshot();
    if (!snapshot)
        return snapshot.error();
    const auto& [bytes, walk] = snapshot.value();
    for (const qint32 position : walk.positions) {
        if (RecordHasName(RecordAt(bytes, position), name))
            return std::optional<qint32>(position);
    }
    if (walk.damage)
        return damageError(*walk.damage);
    return std::optional<qint32>();
}

Result<qint32> SequenceStore::AppendSequence(const QString& description, const Lines& lines) {
    Result<QByteArray> record = EncodeRecord(description, lines, lang_);
    if (!record)
        return record.error();
    return appendRecord(record.value());
}

Result<qint32> SequenceStore::AppendSequence(const QByteArray& rawRecord) {
    if (!IsSoundRecord(rawRecord))
        return Error{InvalidExchangeFile, StoreText::InvalidTpwFile.in(lang_)};
    return appendRecord(rawRecord);
}

Status SequenceStore::DeleteSequence(qint32 position) {
    RecordWalk after;
    Status changed = changeDataFile(false, [&](const QByteArray& current) {
        const Result<RecordWalk> walk = walkToChange(current, position);
        if (!walk)
            return NextContent(walk.error());
        after = WalkAfterDelete(current, walk.value(), position);
        return NextContent(DeletedFile(current, walk.value(), position));
    });
    if (changed)
        remember(after);
    return changed;
}

Result<qint32> SequenceStore::ReplaceSequence(qint32 position, const QString& description,
                                              const Lines& lines) {
    Result<QByteArray> record = EncodeRecord(description, lines, lang_);
    if (!record)
        return record.error();
    RecordWalk after;
    Status changed = changeDataFile(false, [&](const QByteArray& current) {
        const Result<RecordWalk> walk = walkToChange(current, position);
        if (!walk)
            return NextContent(walk.error());
        const QByteArray deleted = DeletedFile(current, walk.value(), position);
        after = WalkAfterDelete(current, walk.value(), position);
        if (!fits(after, record.value().size()))
            return NextContent(tooLarge());
        return NextContent(AppendedFile(deleted, after, record.value()));
    });
    if (!changed)
        return changed.error();
    currentPosition_ = after.usedLength + 1;
    recordCount_ = after.recordCount + 1;
    usedLength_ = after.usedLength + qint32(record.value().size());
    return currentPosition_;
}

Result<DataFileReport> SequenceStore::CheckDataFile() {
    Result<Snapshot> snapshot = readSnapshot();
    if (!snapshot)
        return snapshot.error();
    const auto& [bytes, walk] = snapshot.value();
    if (walk.damage)
        return damageError(*walk.damage);
    for (const qint32 position : walk.positions) {
        if (Result<StoredSequence> read = decodeAt(snapshot.value(), position); !read)
            return read.error();
    }
    return DataFileReport{DataFileExists(), bytes.size(), walk.recordCount, walk.usedLength,
                          FindRecordsPastEnd(bytes, walk)};
}

Result<qint32> SequenceStore::RecoverRecordsPastEnd() {
    RecordWalk after;
    qint32 recovered = 0;
    Status changed = changeDataFile(false, [&](const QByteArray& current) {
        const RecordWalk walk = WalkRecords(current);
        if (walk.damage)
            return NextContent(damageError(*walk.damage));
        recovered = FindRecordsPastEnd(current, walk).count;
        if (recovered == 0)
            return NextContent(std::nullopt);
        QByteArray next = current;
        writeInt32(next, 0, walk.recordCount + recovered);
        after = WalkRecords(next);
        return NextContent(std::move(next));
    });
    if (!changed)
        return changed.error();
    if (recovered > 0)
        remember(after);
    return recovered;
}

Result<qint32> SequenceStore::AppendRecordsOf(const QString& dataFile) {
    Result<QByteArray> other = files_.readLocked(dataFile, FileAccess::Missing::IsAnError);
    if (!other)
        return other.error();
    const RecordWalk records = WalkRecords(other.value());
    if (records.damage)
        return Error{DataFileDamaged, StoreText::Damaged.in(lang_).arg(
                                          dataFile, QString::number(records.damage->position),
                                          damageReason(*records.damage, lang_))};
    QByteArray added;
    for (const qint32 position : records.positions) {
        const QByteArrayView record = RecordAt(other.value(), position);
        if (!IsSoundRecord(record))
            return Error{InvalidExchangeFile, StoreText::InvalidTpwFile.in(lang_)};
        added += record;
    }
    RecordWalk after;
    Status changed = changeDataFile(true, [&](const QByteArray& current) {
        const RecordWalk walk = WalkRecords(current);
        if (walk.damage)
            return NextContent(damageError(*walk.damage));
        if (!fits(walk, added.size()))
            return NextContent(tooLarge());
        QByteArray next = AppendedFile(current, walk, added);
        writeInt32(next, 0, walk.recordCount + qint32(records.positions.size()));
        after = WalkRecords(next);
        return NextContent(std::move(next));
    });
    if (!changed)
        return changed.error();
    remember(after);
    return qint32(records.positions.size());
}

QString SequenceStore::KeptMessage(const KeptRecords& kept) const {
    return StoreText::KeptRecords.in(lang_).arg(QString::number(kept.records.length),
                                                DataFilePath(), QString::number(kept.records.count),
                                                kept.file);
}

Status SequenceStore::changeDataFile(bool create, const FileAccess::Change& change) {
    lastKept_.reset();
    return files_.changeLocked(DataFilePath(), create, [&](const QByteArray& current) {
        NextContent next = change(current);
        if (next && next.value()) {
            if (Status kept = keepRecordsPastEnd(current, *next.value()); !kept)
                return NextContent(kept.error());
        }
        return next;
    });
}

Status SequenceStore::keepRecordsPastEnd(const QByteArray& current, const QByteArray& next) {
    const RecordWalk walk = WalkRecords(current);
    const RecordsPastEnd past = FindRecordsPastEnd(current, walk);
    // Unchanged bytes (a delete, or a count raised over them) need no copy.
    if (past.count == 0 ||
        next.mid(walk.usedLength, past.length) == current.mid(walk.usedLength, past.length))
        return {};
    QByteArray side(4, '\0');
    writeInt32(side, 0, past.count);
    side += current.mid(walk.usedLength, past.length);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 100; ++n) {
        const QString name = QStringLiteral("TapwiseData-kept-") + stamp +
                             (n > 1 ? u'-' + QString::number(n) : QString()) +
                             QStringLiteral(".dtk");
        const QString file = QDir(dataFolder_).filePath(name);
        Status written = files_.createNew(file, side);
        if (written) {
            lastKept_ = KeptRecords{file, past};
            return {};
        }
        if (written.error().code != tapwise::DataFileExists)
            return written;
    }
    return Error{WriteFailed, StoreText::CannotWrite.in(lang_).arg(dataFolder_, QString())};
}

Result<SequenceStore::Snapshot> SequenceStore::readSnapshot() {
    Result<QByteArray> bytes = files_.readLocked(DataFilePath());
    if (!bytes)
        return bytes.error();
    Snapshot snapshot{std::move(bytes).value(), {}};
    snapshot.walk = WalkRecords(snapshot.bytes);
    remember(snapshot.walk);
    return snapshot;
}

Result<qint32> SequenceStore::appendRecord(const QByteArray& record) {
    RecordWalk before;
    Status changed = changeDataFile(true, [&](const QByteArray& current) {
        before = WalkRecords(current);
        if (before.damage)
            return NextContent(damageError(*before.damage));
        if (!fits(before, record.size()))
            return NextContent(tooLarge());
        return NextContent(AppendedFile(current, before, record));
    });
    if (!changed)
        return changed.error();
    currentPosition_ = before.usedLength + 1;
    recordCount_ = before.recordCount + 1;
    usedLength_ = before.usedLength + qint32(record.size());
    return currentPosition_;
}

Result<RecordWalk> SequenceStore::walkToChange(const QByteArray& current, qint32 position) const {
    RecordWalk walk = WalkRecords(current);
    if (walk.damage)
        return damageError(*walk.damage);
    if (!walk.contains(position))
        return noRecord(position);
    return walk;
}

Result<StoredSequence> SequenceStore::decodeAt(const Snapshot& snapshot, qint32 position) const {
    if (!snapshot.walk.contains(position))
        return snapshot.walk.damage ? damageError(*snapshot.walk.damage) : noRecord(position);
    const QByteArrayView raw = RecordAt(snapshot.bytes, position);
    RecordFields fields = DecodeRecord(raw);
    if (fields.keys.size() != fields.waitTimes.size())
        return Error{RecordMismatch,
                     StoreText::Mismatch.in(lang_).arg(QString::number(position), DataFilePath(),
                                                       QString::number(fields.keys.size()),
                                                       QString::number(fields.waitTimes.size()))};
    StoredSequence sequence{position, std::move(fields.description), {}, raw.toByteArray()};
    sequence.lines.reserve(fields.keys.size());
    for (qsizetype i = 0; i < fields.keys.size(); ++i)
        sequence.lines.append({fields.keys[i], fields.waitTimes[i]});
    return sequence;
}

// Housekeeping during a list load: it runs as a change of its own, on the
// file as it is by then, and a failure (a read-only folder) leaves the file
// as it was, which every reader handles.
void SequenceStore::compact() {
    RecordWalk walk;
    const Status compacted = changeDataFile(false, [&](const QByteArray& current) {
        walk = WalkRecords(current);
        if (!NeedsCompaction(current.size(), walk))
            return NextContent(std::nullopt);
        return NextContent(current.left(walk.usedLength));
    });
    if (compacted)
        remember(walk);
}

Error SequenceStore::damageError(const Damage& damage) const {
    // One substitution for all: a path may hold "%2".
    return {DataFileDamaged,
            StoreText::Damaged.in(lang_).arg(DataFilePath(), QString::number(damage.position),
                                             damageReason(damage, lang_))};
}

Error SequenceStore::tooLarge() const {
    return {DataFileTooLarge, StoreText::TooLarge.in(lang_).arg(DataFilePath())};
}

Error SequenceStore::noRecord(qint32 position) const {
    return {NoRecordAtPosition,
            StoreText::NoRecord.in(lang_).arg(QString::number(position), DataFilePath())};
}

void SequenceStore::remember(const RecordWalk& walk) {
    recordCount_ = walk.recordCount;
    usedLength_ = walk.usedLength;
}

} // namespace tapwise
