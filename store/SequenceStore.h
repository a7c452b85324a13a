#pragma once

#include "common/Result.h"
#include "language/Line.h"
#include "store/DataFileLayout.h"
#include "store/FileAccess.h"
#include "store/MainList.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tapwise {

inline constexpr char DataFileName[] = "TapwiseData.dtk";

// A Key sequence as read from the data file.
struct StoredSequence {
    qint32 position = 0;
    QString description;
    Lines lines;
    // The record's bytes as stored (header and scrambled fields): what an
    // exchange file holds.
    QByteArray rawRecord;
};

// What an integrity check found in a sound data file.
struct DataFileReport {
    bool exists = false;
    qint64 fileLength = 0;
    qint32 recordCount = 0;
    qint32 usedLength = EmptyUsedLength;
    // Whole records behind the used length: the count may be damaged.
    RecordsPastEnd pastEnd;
};

// Records that lay behind the used length and that a change was about to cut
// off or overwrite, kept in a file of their own beside the data file (a data
// file itself: the count, then the records).
struct KeptRecords {
    QString file;
    RecordsPastEnd records;
};

// The Key sequences of one data folder, kept in its file "TapwiseData.dtk".
//
// Every operation opens the file, locks it, and closes it before returning;
// nothing is kept open in between. Changes replace the file as a whole (see
// FileAccess) with exactly the bytes an in-place change would leave. A
// damaged file is never changed: reads report the damage with the file's name
// and the record position, and the records before it can still be listed and
// read. A missing file holds no records.
//
// Errors come back as values with a message for the user in the language
// given to the constructor ("I" Italian, anything else English).
class SequenceStore {
public:
    explicit SequenceStore(QString dataFolder, QString lang = QString(), FileOptions options = {});

    const QString& DataFolder() const { return dataFolder_; }
    QString DataFilePath() const;
    bool DataFileExists() const;

    // Creates the data file of an empty store, a record count of 0, when the
    // folder has none (an existing file is an error and stays as it is).
    Status CreateDataFile();

    // The description, lines and raw record at a record position.
    Result<StoredSequence> ReadSequence(qint32 position);

    // List mode: the main list's rows in file order. Compacts the file when it
    // has grown to more than twice its used length. A damaged file gives the
    // rows before the damage together with the damage.
    Result<MainList> ScanSequences();

    // Find mode: the position of the first record, in file order, whose name
    // equals name without regard to letter case; nothing when there is none.
    Result<std::optional<qint32>> ScanSequences(const QString& name);

    // Appends a record; its position becomes CurrentPosition(). Texts that
    // cannot be stored are refused before the file is touched.
    Result<qint32> AppendSequence(const QString& description, const Lines& lines);

    // Appends a raw record as it is (import); refused unless its header
    // matches its length and it holds as many Keys texts as WaitTimes.
    Result<qint32> AppendSequence(const QByteArray& rawRecord);

    // Removes the record at a position; the records behind it move down.
    Status DeleteSequence(qint32 position);

    // Deletes the record at a position and appends the new content, as one
    // change: a crash leaves the old Key sequence or the new one, never none.
    Result<qint32> ReplaceSequence(qint32 position, const QString& description, const Lines& lines);

    // Walks the whole file and decodes every record.
    Result<DataFileReport> CheckDataFile();

    // Takes the whole records behind the used length back into the file by
    // raising the record count over them (the repair of a damaged count);
    // gives how many.
    Result<qint32> RecoverRecordsPastEnd();

    // Appends every record of another data file (such as the file that
    // KeptRecords names) as one change; gives how many.
    Result<qint32> AppendRecordsOf(const QString& dataFile);

    // Set when the last change, or the compaction of the last list load, had
    // to keep records that lay behind the used length: the caller says so.
    const std::optional<KeptRecords>& LastKept() const { return lastKept_; }
    // The text that says so, in the store's language.
    QString KeptMessage(const KeptRecords& kept) const;

    // The record count as last read or written.
    qint32 RecordCount() const { return recordCount_; }
    // The offset just past the last record, as last read or written.
    qint32 UsedLength() const { return usedLength_; }
    // The record being edited, exported or run; set by every append.
    qint32 CurrentPosition() const { return currentPosition_; }
    void SetCurrentPosition(qint32 position) { currentPosition_ = position; }

    const QString& lang() const { return lang_; }
    const FileAccess& files() const { return files_; }

private:
    struct Snapshot {
        QByteArray bytes;
        RecordWalk walk;
    };
    // Runs a change under the lock; records behind the used length that it
    // would cut off or overwrite are kept in a side file first, or, when that
    // cannot be written, the change is not made.
    Status changeDataFile(bool create, const FileAccess::Change& change);
    Status keepRecordsPastEnd(const QByteArray& current, const QByteArray& next);
    Result<Snapshot> readSnapshot();
    Result<qint32> appendRecord(const QByteArray& record);
    // The walk of the current bytes, or why the record at position cannot be changed.
    Result<RecordWalk> walkToChange(const QByteArray& current, qint32 position) const;
    Result<StoredSequence> decodeAt(const Snapshot& snapshot, qint32 position) const;
    void compact();
    Error damageError(const Damage& damage) const;
    Error noRecord(qint32 position) const;
    Error tooLarge() const;
    void remember(const RecordWalk& walk);

    QString dataFolder_;
    QString lang_;
    FileAccess files_;
    qint32 recordCount_ = 0;
    qint32 usedLength_ = EmptyUsedLength;
    qint32 currentPosition_ = 0;
    std::optional<KeptRecords> lastKept_;
};

} // namespace tapwise
