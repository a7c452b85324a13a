#include "store/ExchangeFile.h"
#include "store/StoreTexts.h"

#include "StoreTestSupport.h"

#include <cerrno>
#include <ctime>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>

using namespace tapwise;
using namespace tapwise::test;

namespace {

const Lines SomeLines = {{":Zoë & Co", "10"}, {"Ctrl+s", "50"}, {"*Pause*", "0"}};

class Exchange : public StoreFolder {
protected:
    QTemporaryDir other;
    SequenceStore otherStore{other.path()};

    QString tpw(const char* name) const { return QDir(other.path()).filePath(name); }
};

} // namespace

TEST_F(Exchange, ExportThenImportCopiesTheRecordByteForByte) {
    appendOfLength(30);
    const qint32 position = store.AppendSequence("Ordini €\r\nweekly", SomeLines).value();
    ASSERT_TRUE(ExportSequence(store, position, tpw("orders.tpw")).ok());
    const StoredSequence exported = store.ReadSequence(position).value();
    EXPECT_EQ(fileBytes(tpw("orders.tpw")), exported.rawRecord);

    ASSERT_EQ(ImportSequence(otherStore, tpw("orders.tpw")).value(), 5);
    ASSERT_EQ(ImportSequence(otherStore, tpw("orders.tpw")).value(), 5 + exported.rawRecord.size());
    EXPECT_EQ(fileBytes(otherStore.DataFilePath()),
              int32le(2) + exported.rawRecord + exported.rawRecord);
}

TEST_F(Exchange, AnInvalidFileIsRefusedAndChangesNothing) {
    const QByteArray good = EncodeRecord("d", {{"x", "1"}}, {}).value();
    const qint32 big = std::numeric_limits<qint32>::max();
    const QByteArray invalid[] = {
        good + 'z',
        good.chopped(1),
        good.left(11),
        QByteArray(),
        int32le(-1) + int32le(2) + int32le(1) + "ab",
        int32le(big) + int32le(big) + int32le(6) + "abcd",
        // Two Keys texts but one WaitTime.
        int32le(0) + int32le(3) + int32le(1) + ScrambleText("a,b", DataFileKey, 1) +
            ScrambleText("1", DataFileKey, 1),
    };
    appendOfLength(30);
    const QByteArray before = data();
    for (const QByteArray& bytes : invalid) {
        writeBytes(tpw("bad.tpw"), bytes);
        Result<qint32> imported = ImportSequence(store, tpw("bad.tpw"));
        ASSERT_FALSE(imported.ok()) << bytes.toHex().toStdString();
        EXPECT_EQ(imported.error().message, QStringLiteral("Invalid '.tpw' file!"));
        EXPECT_FALSE(ImportSequence(otherStore, tpw("bad.tpw")).ok());
    }
    EXPECT_EQ(data(), before);
    EXPECT_FALSE(otherStore.DataFileExists());
    SequenceStore italian(dir.path(), QStringLiteral("I"));
    EXPECT_EQ(ImportSequence(italian, tpw("bad.tpw")).error().message,
              QStringLiteral("Il file '.tpw' non e' valido!"));
    EXPECT_EQ(ImportSequence(store, tpw("missing.tpw")).error().code, ReadFailed);
}

TEST_F(Exchange, ExportReplacesAnExistingFileOnlyWhenComplete) {
    const qint32 position = store.AppendSequence("one", SomeLines).value();
    writeBytes(tpw("old.tpw"), "previous export");
    auto failHalfWay = [](int fd, QByteArrayView bytes) {
        writeAllBytes(fd, bytes.first(bytes.size() / 2));
        errno = EIO;
        return false;
    };
    SequenceStore failing(dir.path(), {}, FileOptions{failHalfWay});
    EXPECT_EQ(ExportSequence(failing, position, tpw("old.tpw")).error().code, WriteFailed);
    EXPECT_EQ(fileBytes(tpw("old.tpw")), QByteArray("previous export"));
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"old.tpw"}));

    // Copies that killed exports left: without a lock only old ones go.
    writeBytes(tpw(".old.tpw.0000abcd.tmp"), "killed long ago");
    writeBytes(tpw(".old.tpw.0000beef.tmp"), "being written by another program");
    const struct timespec longAgo[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(tpw(".old.tpw.0000abcd.tmp")).constData(),
                          longAgo, 0),
              0);
    ASSERT_TRUE(ExportSequence(store, position, tpw("old.tpw")).ok());
    EXPECT_EQ(fileBytes(tpw("old.tpw")), store.ReadSequence(position).value().rawRecord);
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".old.tpw.0000beef.tmp", "old.tpw"}));
    EXPECT_EQ(ExportSequence(store, position + 1, tpw("x.tpw")).error().code, NoRecordAtPosition);
}
