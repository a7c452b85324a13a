#include "store/StoreTexts.h"

#include "StoreTestSupport.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tapwise;
using namespace tapwise::test;

namespace {

const Lines TwoLines = {{"x", "10"}, {"{ENTER}", "5"}};

QList<qint32> listedPositions(SequenceStore& store) {
    QList<qint32> positions;
    const MainList list = store.ScanSequences().value();
    for (qsizetype row = 0; row < list.size(); ++row)
        positions << list.position(row);
    return positions;
}

// How many descriptors of this process have the file open.
int openCount(const QString& path) {
    int count = 0;
    const QFileInfoList links =
        QDir("/proc/self/fd").entryInfoList(QDir::AllEntries | QDir::System);
    for (const QFileInfo& link : links)
        count += link.symLinkTarget() == path;
    return count;
}

bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace

TEST_F(StoreFolder, MissingFileListsEmptyAndIsNotCreatedByReading) {
    EXPECT_TRUE(store.ScanSequences().value().rows().isEmpty());
    EXPECT_FALSE(store.ScanSequences("anything").value().has_value());
    EXPECT_EQ(store.ReadSequence(5).error().code, NoRecordAtPosition);
    EXPECT_EQ(store.DeleteSequence(5).error().code, NoRecordAtPosition);
    EXPECT_FALSE(store.DataFileExists());
}

TEST_F(StoreFolder, NewAndEmptyDataFilesListEmptyAndTakeTheFirstRecordAtFive) {
    ASSERT_TRUE(store.CreateDataFile().ok());
    EXPECT_EQ(data(), QByteArray(4, '\0'));
    EXPECT_TRUE(store.ScanSequences().value().rows().isEmpty());
    EXPECT_EQ(store.UsedLength(), 4);
    EXPECT_EQ(store.CreateDataFile().error().code, DataFileExists);

    writeBytes(dataFile(), {});
    EXPECT_TRUE(store.ScanSequences().value().rows().isEmpty());
    EXPECT_EQ(store.AppendSequence("A", TwoLines).value(), 5);
    EXPECT_EQ(data(), int32le(1) + EncodeRecord("A", TwoLines, {}).value());
    EXPECT_EQ(store.CurrentPosition(), 5);
    EXPECT_EQ(store.RecordCount(), 1);
}

TEST_F(StoreFolder, AppendedSequencesReadBackUnchanged) {
    const QString description = QStringLiteral("Fattura n° 5 – €\r\nsecond line");
    const Lines lines = {{":Müller", "10"}, {"*Pause*", "0"}, {"*", "25"}};
    const qint32 first = store.AppendSequence(description, lines).value();
    // A second append without a list load in between must not overwrite it.
    const qint32 second = store.AppendSequence("empty", {}).value();
    EXPECT_EQ(second, first + EncodeRecord(description, lines, {}).value().size());
    EXPECT_EQ(store.RecordCount(), 2);

    const StoredSequence read = store.ReadSequence(first).value();
    EXPECT_EQ(read.description, description);
    EXPECT_EQ(read.lines, lines);
    EXPECT_EQ(read.rawRecord, data().mid(first - 1, read.rawRecord.size()));
    EXPECT_TRUE(store.ReadSequence(second).value().lines.isEmpty());
    EXPECT_EQ(store.ReadSequence(first + 1).error().code, NoRecordAtPosition);
}

TEST_F(StoreFolder, RefusedTextLeavesTheFolderUntouched) {
    Result<qint32> refused = store.AppendSequence("Ωmega", TwoLines);
    EXPECT_EQ(refused.error().code, UnencodableText);
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(StoreFolder, ListRowsAndFindByName) {
    store.AppendSequence("Sample", TwoLines).value();
    store.AppendSequence("daily\r\nfirst copy", TwoLines).value();
    store.AppendSequence("Daily\r\nsecond copy", TwoLines).value();
    const MainList list = store.ScanSequences().value();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.rows()[0], MainListRow(u"Sample", 5));
    EXPECT_EQ(list.name(2), QStringLiteral("Daily"));

    const qint32 firstDaily = list.position(1);
    EXPECT_EQ(store.ScanSequences("DAILY").value(), firstDaily);
    EXPECT_EQ(store.ScanSequences("sample").value(), 5);
    EXPECT_FALSE(store.ScanSequences("Daily\r\nsecond copy").value().has_value());
}

TEST_F(StoreFolder, DeleteMovesTheRecordsBehindDown) {
    ASSERT_EQ(appendOfLength(35, 'a'), 5);
    ASSERT_EQ(appendOfLength(50, 'b'), 40);
    ASSERT_EQ(appendOfLength(30, 'c'), 90);
    const QByteArray before = data();
    ASSERT_EQ(before.size(), 119);

    ASSERT_TRUE(store.DeleteSequence(40).ok());
    QByteArray expected = before;
    expected.replace(0, 4, int32le(2));
    expected.replace(39, 30, before.mid(89, 30));
    // The freed bytes are zeroed: no stale copy of a record stays behind.
    expected.replace(69, 50, QByteArray(50, '\0'));
    EXPECT_EQ(data(), expected);
    EXPECT_EQ(store.UsedLength(), 69);
    EXPECT_EQ(store.RecordCount(), 2);
    EXPECT_EQ(store.ReadSequence(40).value().description, QString(16, 'c'));
}

TEST_F(StoreFolder, DeletingTheLastRecordZeroesItsBytesForTheNextAppend) {
    appendOfLength(35, 'a');
    appendOfLength(50, 'b');
    const QByteArray before = data();
    ASSERT_TRUE(store.DeleteSequence(40).ok());
    EXPECT_EQ(data(), int32le(1) + before.mid(4, 35) + QByteArray(50, '\0'));
    EXPECT_EQ(store.UsedLength(), 39);

    EXPECT_EQ(appendOfLength(30, 'c'), 40);
    const QByteArray after = data();
    EXPECT_EQ(after.size(), 89);
    EXPECT_EQ(after.mid(69), QByteArray(20, '\0'));
    EXPECT_EQ(listedPositions(store), QList<qint32>({5, 40}));
}

TEST_F(StoreFolder, ListLoadCompactsOnlyBeyondTwiceTheUsedLength) {
    appendOfLength(40);
    const QByteArray sound = data();
    ASSERT_EQ(sound.size(), 44);
    writeBytes(dataFile(), sound + QByteArray(44, 'L'));
    store.ScanSequences().value();
    EXPECT_EQ(data().size(), 88);

    writeBytes(dataFile(), sound + QByteArray(45, 'L'));
    store.ScanSequences("no such name").value();
    EXPECT_EQ(data().size(), 89);
    store.ScanSequences().value();
    EXPECT_EQ(data(), sound);
}

TEST_F(StoreFolder, ReplaceGivesTheBytesOfDeleteThenAppend) {
    appendOfLength(35, 'a');
    appendOfLength(50, 'b');
    appendOfLength(30, 'c');
    const QByteArray before = data();
    ASSERT_EQ(store.ReplaceSequence(5, "new", TwoLines).value(), 85);
    const QByteArray replaced = data();

    writeBytes(dataFile(), before);
    ASSERT_TRUE(store.DeleteSequence(5).ok());
    store.AppendSequence("new", TwoLines).value();
    EXPECT_EQ(data(), replaced);
    EXPECT_EQ(store.ReplaceSequence(6, "x", TwoLines).error().code, NoRecordAtPosition);
}

TEST_F(StoreFolder, FollowsASymbolicLinkAndKeepsPermissions) {
    QTemporaryDir elsewhere;
    const QString target = QDir(elsewhere.path()).filePath("real.dtk");
    writeBytes(target, QByteArray(4, '\0'));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(target, dataFile()));
    store.AppendSequence("linked", TwoLines).value();
    EXPECT_TRUE(QFileInfo(dataFile()).isSymLink());
    EXPECT_EQ(fileBytes(target).size(), 4 + EncodeRecord("linked", TwoLines, {}).value().size());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(StoreFolder, WaitsForAnotherProgramsLockThenGivesUp) {
    appendOfLength(40);
    const QByteArray before = data();
    SequenceStore impatient(dir.path(), {},
                            FileOptions{writeAllBytes, std::chrono::milliseconds(50)});
    const int other = ::open(QFile::encodeName(dataFile()).constData(), O_RDONLY);
    ASSERT_GE(other, 0);

    ASSERT_EQ(::flock(other, LOCK_SH), 0);
    EXPECT_TRUE(impatient.ScanSequences().ok());
    EXPECT_EQ(impatient.AppendSequence("x", TwoLines).error().code, FileInUse);

    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_EQ(impatient.ScanSequences().error().code, FileInUse);
    EXPECT_EQ(data(), before);

    ::close(other);
    EXPECT_TRUE(impatient.AppendSequence("x", TwoLines).ok());
}

TEST_F(StoreFolder, ALockWaitedForOnAFileReplacedMeanwhileMovesToTheNewFile) {
    appendOfLength(40);
    const QString path = QFileInfo(dataFile()).canonicalFilePath();
    const int holder = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    std::optional<Result<MainList>> listed;
    std::thread reader([&] { listed = store.ScanSequences(); });
    // Once the reader waits on the old file, another program replaces it.
    const bool waiting = waitUntil([&] { return openCount(path) >= 2; });
    QByteArray updated = data() + EncodeRecord("two", TwoLines, {}).value();
    updated.replace(0, 4, int32le(2));
    const QString replacement = QDir(dir.path()).filePath("replacement");
    writeBytes(replacement, updated);
    ::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData());
    ::close(holder);
    reader.join();
    ASSERT_TRUE(waiting);
    ASSERT_TRUE(listed && listed->ok());
    EXPECT_EQ(listed->value().size(), 2);
}

TEST_F(StoreFolder, AWriteThatFailsHalfWayLeavesTheOldFile) {
    appendOfLength(40);
    const QByteArray before = data();
    auto halfThenFull = [](int fd, QByteArrayView bytes) {
        writeAllBytes(fd, bytes.first(bytes.size() / 2));
        errno = ENOSPC;
        return false;
    };
    SequenceStore failing(dir.path(), {}, FileOptions{halfThenFull});
    Result<qint32> appended = failing.AppendSequence("new", TwoLines);
    ASSERT_FALSE(appended.ok());
    EXPECT_EQ(appended.error().code, WriteFailed);
    EXPECT_TRUE(appended.error().message.contains(dataFile()));
    EXPECT_EQ(failing.DeleteSequence(5).error().code, WriteFailed);
    EXPECT_EQ(data(), before);
    EXPECT_EQ(folderEntries(), QStringList({"TapwiseData.dtk"}));
}

TEST_F(StoreFolder, ACrashHalfWayThroughAChangeLeavesTheOldFile) {
    appendOfLength(40);
    appendOfLength(30);
    const QByteArray before = data();
    auto halfThenCrash = [](int fd, QByteArrayView bytes) {
        writeAllBytes(fd, bytes.first(bytes.size() / 2));
        ::_exit(7);
        return true;
    };
    SequenceStore crashing(dir.path(), {}, FileOptions{halfThenCrash});
    EXPECT_EXIT(crashing.AppendSequence("new", TwoLines).value(), testing::ExitedWithCode(7), "");
    EXPECT_EXIT(crashing.DeleteSequence(5).ok(), testing::ExitedWithCode(7), "");
    EXPECT_EQ(data(), before);
    EXPECT_EQ(listedPositions(store), QList<qint32>({5, 45}));

    // A crash leaves its temporary copy behind; the next change removes such
    // copies, and only them: the delete already removed the append's copy.
    EXPECT_EQ(folderEntries().size(), 2);
    const QStringList others = {".TapwiseData.dtk.mine.tmp", ".TapwisePrt.txt.0123abcd.tmp"};
    for (const QString& name : others)
        writeBytes(QDir(dir.path()).filePath(name), "x");
    store.AppendSequence("next", TwoLines).value();
    EXPECT_EQ(folderEntries(), QStringList({others[0], others[1], "TapwiseData.dtk"}));
}

TEST(SequenceStorePath, AFolderWhosePathHoldsPercentSignsIsUsedAsItIs) {
    QTemporaryDir parent;
    const QString folder = QDir(parent.path()).filePath("50%1 off %2");
    ASSERT_TRUE(QDir().mkpath(folder));
    SequenceStore store(folder);
    ASSERT_EQ(store.AppendSequence("one", TwoLines).value(), 5);
    const QString path = store.DataFilePath();
    writeBytes(path, fileBytes(path).chopped(1));
    EXPECT_EQ(store.ScanSequences().value().damage()->message,
              "The data file " + path +
                  " is damaged at position 5: the record runs past the end of the file (31 "
                  "bytes). The file has been left unchanged.");
}
