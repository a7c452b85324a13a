#include "store/StoreTexts.h"

#include "StoreTestSupport.h"

using namespace tapwise;
using namespace tapwise::test;

namespace {

const QByteArray Leftovers(500, 'L');

struct DamageCase {
    const char* name;
    // Damages a file of three records at positions 5, 45 and 75.
    QByteArray (*damage)(QByteArray sound);
    qint32 position;
    qsizetype recordsBefore;
    const char* reason;
};

const DamageCase Cases[] = {
    {"TruncatedRecord", [](QByteArray f) { return f.chopped(1); }, 75, 2,
     "the record runs past the end of the file (103 bytes)"},
    {"CutInsideAHeader", [](QByteArray f) { return f.left(80); }, 75, 2,
     "the record header runs past the end of the file (80 bytes)"},
    {"CountTooLarge", [](QByteArray f) { return f.replace(0, 4, int32le(4)); }, 105, 3,
     "the record count 4 is larger than the 3 records the file holds"},
    // Leftover bytes behind these two would be compacted away if the file were sound.
    {"NegativeLength", [](QByteArray f) { return f.replace(48, 4, int32le(-20)) + Leftovers; }, 45,
     1, "a length in the record header is negative"},
    {"NegativeCount", [](QByteArray f) { return f.replace(0, 4, int32le(-1)) + Leftovers; }, 1, 0,
     "the record count -1 is negative"},
};

class DamagedFile : public StoreFolder, public ::testing::WithParamInterface<DamageCase> {
protected:
    void SetUp() override {
        appendOfLength(40, 'a');
        appendOfLength(30, 'b');
        appendOfLength(30, 'c');
        writeBytes(dataFile(), GetParam().damage(data()));
        damaged = data();
    }
    QByteArray damaged;
};

} // namespace

TEST_P(DamagedFile, ListsTheRecordsBeforeTheDamageAndNamesIt) {
    Result<MainList> list = store.ScanSequences();
    ASSERT_TRUE(list.ok());
    EXPECT_EQ(list.value().size(), GetParam().recordsBefore);
    ASSERT_TRUE(list.value().damage().has_value());
    EXPECT_EQ(list.value().damage()->code, DataFileDamaged);
    EXPECT_EQ(list.value().damage()->message,
              QStringLiteral("The data file %1 is damaged at position %2: %3. The file has been "
                             "left unchanged.")
                  .arg(dataFile())
                  .arg(GetParam().position)
                  .arg(GetParam().reason));
    EXPECT_EQ(data(), damaged);
}

TEST_P(DamagedFile, RecordsBeforeTheDamageCanStillBeReadAndFoundButNothingIsWritten) {
    const bool firstIsSound = GetParam().recordsBefore > 0;
    EXPECT_EQ(store.ReadSequence(5).ok(), firstIsSound);
    EXPECT_EQ(store.ScanSequences(QString(26, 'a')).ok(), firstIsSound);
    EXPECT_EQ(store.ScanSequences("not there").error().code, DataFileDamaged);
    EXPECT_EQ(store.AppendSequence("new", {{"x", "1"}}).error().code, DataFileDamaged);
    EXPECT_EQ(store.DeleteSequence(5).error().code, DataFileDamaged);
    EXPECT_EQ(store.ReplaceSequence(5, "new", {}).error().code, DataFileDamaged);
    EXPECT_EQ(store.CheckDataFile().error().code, DataFileDamaged);
    EXPECT_EQ(data(), damaged);
}

INSTANTIATE_TEST_SUITE_P(Store, DamagedFile, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreFolder, DamageIsReportedInItalian) {
    writeBytes(dataFile(), int32le(1) + int32le(-3));
    SequenceStore italian(dir.path(), QStringLiteral("I"));
    EXPECT_EQ(italian.ScanSequences().value().damage()->message,
              QStringLiteral("Il file dati %1 e' danneggiato alla posizione 5: l'intestazione del "
                             "record va oltre la fine del file (8 byte). Il file non e' stato "
                             "modificato.")
                  .arg(dataFile()));
}

TEST_F(StoreFolder, ARecordWithUnequalListsIsRefusedOnReading) {
    const QByteArray keys = ScrambleText("a,b", DataFileKey, 1);
    const QByteArray waits = ScrambleText("1", DataFileKey, 1);
    writeBytes(dataFile(), int32le(1) + int32le(0) + int32le(3) + int32le(1) + keys + waits);
    EXPECT_EQ(store.ScanSequences().value().size(), 1);
    EXPECT_EQ(store.ReadSequence(5).error().code, RecordMismatch);
    EXPECT_EQ(store.CheckDataFile().error().code, RecordMismatch);
}
