// The data file as any bytes: the walk, the list load with its compaction,
// reading every record, an append and a delete. Oracles: the walk stays
// inside the file; nothing sound is lost (records cut by a compaction are in
// the side file); a damaged file is never changed; what is appended reads
// back; a delete leaves every other record as it was.
#include "FuzzSupport.h"

#include "store/DataFileLayout.h"
#include "store/SequenceRecord.h"
#include "store/SequenceStore.h"

#include <QDirIterator>

using namespace tapwise;
using namespace tapwise::fuzz;

namespace {

const Lines Appended = {{"x", "10"}, {"{ENTER}", "5"}, {"*Pause*", "0"}};

QString freshFolder() {
    const QString folder = scratchFile(QStringLiteral("data"));
    QDir(folder).removeRecursively();
    require(QDir().mkpath(folder), "cannot make the data folder");
    return folder;
}

void checkWalk(const QByteArray& bytes, const RecordWalk& walk) {
    require(walk.usedLength <= qMax<qsizetype>(bytes.size(), EmptyUsedLength), "used length");
    qint64 end = EmptyUsedLength;
    for (const qint32 position : walk.positions) {
        require(position - 1 == end, "records back to back");
        end += RecordAt(bytes, position).size();
        require(end <= bytes.size(), "record inside the file");
    }
    require(end == walk.usedLength, "used length is the last record's end");
    const RecordsPastEnd past = FindRecordsPastEnd(bytes, walk);
    require(qint64(walk.usedLength) + past.length <= qMax<qsizetype>(bytes.size(), 4), "past end");
}

struct Content {
    QString description;
    Lines lines;
    bool operator==(const Content&) const = default;
};

QList<Content> readAll(SequenceStore& store, const QList<qint32>& positions) {
    QList<Content> all;
    for (const qint32 position : positions) {
        Result<StoredSequence> read = store.ReadSequence(position);
        if (read)
            all.append({read.value().description, read.value().lines});
        else
            all.append({QStringLiteral("<unreadable>"), {}});
    }
    return all;
}

QList<qint32> listed(SequenceStore& store) {
    QList<qint32> positions;
    Result<MainList> list = store.ScanSequences();
    require(list.ok() && !list.value().damage(), "a sound file lists");
    for (qsizetype row = 0; row < list.value().size(); ++row)
        positions << list.value().position(row);
    return positions;
}

void checkListLoad(SequenceStore& store, const QByteArray& bytes, const RecordWalk& walk) {
    Result<MainList> list = store.ScanSequences();
    require(list.ok(), "a file within 2 GB lists");
    require(list.value().size() == walk.positions.size(), "every record before damage listed");
    const QByteArray after = readFile(store.DataFilePath());
    if (walk.damage) {
        require(after == bytes, "a damaged file is never written");
        return;
    }
    require(after == bytes.left(after.size()), "a list load changes nothing but the length");
    const RecordsPastEnd past = FindRecordsPastEnd(bytes, walk);
    if (after.size() < bytes.size() && past.count > 0) {
        require(store.LastKept().has_value(), "cut records are kept");
        const QByteArray kept = readFile(store.LastKept()->file);
        require(kept.mid(4) == bytes.mid(walk.usedLength, past.length), "kept bytes");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const RecordWalk walk = WalkRecords(bytes);
    checkWalk(bytes, walk);

    SequenceStore store(freshFolder());
    writeFile(store.DataFilePath(), bytes);
    checkListLoad(store, bytes, walk);
    if (walk.damage) {
        require(!store.AppendSequence("x", Appended).ok(), "no append to a damaged file");
        require(readFile(store.DataFilePath()) == bytes, "a damaged file is never written");
        return 0;
    }

    QList<qint32> positions = listed(store);
    const QList<Content> before = readAll(store, positions.mid(0, 50));
    Result<qint32> added = store.AppendSequence("fuzz\r\nappended", Appended);
    if (added) {
        Result<StoredSequence> back = store.ReadSequence(added.value());
        require(back && back.value().lines == Appended, "an append reads back");
        require(readAll(store, positions.mid(0, 50)) == before, "an append changes no record");
    }
    if (!positions.isEmpty() && store.DeleteSequence(positions[0]).ok()) {
        positions = listed(store);
        require(readAll(store, positions.mid(0, before.size() - 1)) == before.mid(1),
                "a delete moves records");
    }
    return 0;
}
