#include "common/NativePath.h"
#include "common/StaleTemporaries.h"
#include "store/ExchangeFile.h"
#include "store/StoreTexts.h"

#include "StoreTestSupport.h"

#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tapwise;
using namespace tapwise::test;

namespace {

const Lines TwoLines = {{"x", "10"}, {"{ENTER}", "5"}};

QStringList descriptions(SequenceStore& store) {
    QStringList names;
    const MainList list = store.ScanSequences().value();
    for (qsizetype row = 0; row < list.size(); ++row)
        names << list.name(row);
    return names;
}

// A store of 60 sequences whose record count has lost records: a flipped bit
// turns 60 into 20 (0b111100 into 0b010100).
class DamagedCount : public StoreFolder {
protected:
    void SetUp() override {
        for (int n = 0; n < 60; ++n) {
            store
                .AppendSequence(QStringLiteral("Sequence %1").arg(n, 2, 10, QLatin1Char('0')),
                                TwoLines)
                .value();
            all << QStringLiteral("Sequence %1").arg(n, 2, 10, QLatin1Char('0'));
        }
        sound = data();
        writeBytes(dataFile(), QByteArray(sound).replace(0, 4, int32le(20)));
    }
    QStringList keptFiles() const {
        return QDir(dir.path()).entryList({"TapwiseData-kept-*.dtk"}, QDir::Files);
    }
    QByteArray sound;
    QStringList all;
};

} // namespace

TEST_F(DamagedCount, RecoverTakesTheRecordsBack) {
    EXPECT_EQ(store.RecoverRecordsPastEnd().value(), 40);
    EXPECT_EQ(data(), sound);
    EXPECT_EQ(store.RecoverRecordsPastEnd().value(), 0);
}

TEST_F(DamagedCount, CompactionKeepsTheRecordsItCutsInASideFile) {
    const MainList list = store.ScanSequences().value();
    EXPECT_EQ(list.size(), 20);
    ASSERT_EQ(keptFiles().size(), 1);
    const QString kept = QDir(dir.path()).filePath(keptFiles()[0]);
    EXPECT_EQ(list.notice(),
              StoreText::KeptRecords.in({}).arg(QString::number(sound.size() - store.UsedLength()),
                                                dataFile(), "40", kept));
    EXPECT_EQ(store.AppendRecordsOf(kept).value(), 40);
    EXPECT_EQ(data(), sound);
    EXPECT_TRUE(store.ScanSequences().value().notice().isEmpty());
}

TEST_F(DamagedCount, AnAppendOverTheRecordsKeepsThemFirst) {
    writeBytes(dataFile(), QByteArray(sound).replace(0, 4, int32le(50)));
    store.AppendSequence("new", TwoLines).value();
    ASSERT_TRUE(store.LastKept().has_value());
    EXPECT_EQ(store.LastKept()->records.count, 10);
    EXPECT_EQ(store.AppendRecordsOf(store.LastKept()->file).value(), 10);
    QStringList expected = all.mid(0, 50) << "new";
    EXPECT_EQ(descriptions(store), expected + all.mid(50));
}

TEST_F(StoreFolder, DeletedRecordsAreNeverTakenForLostOnes) {
    for (int n = 0; n < 6; ++n)
        appendOfLength(40 + n);
    for (qint32 position : {45, 5})
        ASSERT_TRUE(store.DeleteSequence(position).ok());
    while (store.RecordCount() > 1) {
        const MainList list = store.ScanSequences().value();
        ASSERT_TRUE(store.DeleteSequence(list.position(list.size() - 1)).ok());
    }
    const MainList list = store.ScanSequences().value();
    EXPECT_TRUE(list.notice().isEmpty());
    EXPECT_EQ(store.CheckDataFile().value().pastEnd.count, 0);
    EXPECT_EQ(folderEntries(), QStringList({"TapwiseData.dtk"}));
}

TEST_F(StoreFolder, OnlyRegularFilesAreReadOrReplaced) {
    const QByteArray fifo = encodePath(dataFile());
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // A FIFO without a writer would block a plain open for ever.
    auto listed = std::async(std::launch::async, [&] { return store.ScanSequences(); });
    ASSERT_EQ(listed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(listed.get().error().code, NotRegularFile);
    EXPECT_EQ(store.AppendSequence("x", TwoLines).error().code, NotRegularFile);
    ASSERT_EQ(::unlink(fifo.constData()), 0);

    const QString zero = QDir(dir.path()).filePath("zero.tpw");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    EXPECT_EQ(ImportSequence(store, zero).error().code, NotRegularFile);
    EXPECT_EQ(ImportSequence(store, dir.path()).error().code, NotRegularFile);
    EXPECT_EQ(ImportSequence(store, zero + ".missing").error().code, ReadFailed);

    store.AppendSequence("x", TwoLines).value();
    const QString pipe = QDir(dir.path()).filePath("out.tpw");
    ASSERT_EQ(::mkfifo(encodePath(pipe).constData(), 0600), 0);
    EXPECT_EQ(ExportSequence(store, 5, pipe).error().code, NotRegularFile);
    EXPECT_TRUE(QFileInfo(pipe).isFile() == false && QFileInfo::exists(pipe));
}

TEST(NativePath, BytesThatAreNotUtf8SurviveTheRoundTrip) {
    const QByteArray names[] = {"caf\xE9",      "\xC3\xA9t\xC3\xA9", "\xF0\x9F\x98\x80", "\xC0\xAF",
                                "\xED\xA0\x80", "a\xFF\xFE",         "\xE2\x82"};
    for (const QByteArray& name : names)
        EXPECT_EQ(encodePath(decodePath(name)), name) << name.toHex().constData();
    EXPECT_EQ(decodePath("\xC3\xA9t\xC3\xA9"), QStringLiteral("été"));
    EXPECT_EQ(decodePath("caf\xE9"), QStringLiteral("caf") + QChar(0xDCE9));

    EXPECT_TRUE(hasEscapedBytes(decodePath("/home/caf\xE9/x")));
    EXPECT_FALSE(hasEscapedBytes(decodePath("/home/\xF0\x9F\x98\x80 caf\xC3\xA9/x")));
    EXPECT_EQ(localFileUrl(decodePath("/tmp/caf\xE9 #1/a.txt")).toEncoded(),
              "file:///tmp/caf%E9%20%231/a.txt");
    EXPECT_EQ(localFileUrl(QStringLiteral("/tmp/caf\u00e9")).toLocalFile(),
              QStringLiteral("/tmp/caf\u00e9"));
}

// The data file in such a folder is covered by the tapwise-store tests.
TEST(NativePath, ExchangeFilesWorkInAFolderWhoseNameIsLatin1) {
    QTemporaryDir parent;
    const QByteArray folder = encodePath(parent.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    SequenceStore store(decodePath(folder));
    const QByteArray record = EncodeRecord("one", TwoLines, {}).value();
    ASSERT_EQ(store.AppendSequence("one", TwoLines).value(), 5);
    const QString tpw = decodePath(folder + "/one.tpw");
    ASSERT_TRUE(ExportSequence(store, 5, tpw).ok());
    EXPECT_EQ(ImportSequence(store, tpw).value(), 5 + record.size());
}

TEST(StaleTemporaries, RemovesOnlyOldRegularFilesNamedAsOurs) {
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const auto ours = [](const QString& name) { return name.startsWith(".~ours-"); };
    writeBytes(folder.filePath(".~ours-old"), "x");
    writeBytes(folder.filePath(".~ours-new"), "x");
    writeBytes(folder.filePath("theirs"), "x");
    ASSERT_TRUE(folder.mkdir(".~ours-folder"));
    ASSERT_TRUE(QFile::link(folder.filePath("theirs"), folder.filePath(".~ours-link")));
    const struct timespec times[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(
        ::utimensat(AT_FDCWD, encodePath(folder.filePath(".~ours-old")).constData(), times, 0), 0);

    EXPECT_EQ(removeStaleTemporaries(dir.path(), ours, std::chrono::minutes(10)), 1);
    EXPECT_EQ(
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System),
        QStringList({".~ours-folder", ".~ours-link", ".~ours-new", "theirs"}));
    EXPECT_EQ(removeStaleTemporaries(dir.path(), ours), 1);
}
