#include "store/SequenceRecord.h"
#include "store/SequenceName.h"
#include "store/StoreTexts.h"
#include "store/Windows1252.h"

#include "StoreTestSupport.h"

#include <cmath>
#include <limits>

using namespace tapwise;
using tapwise::test::int32le;

namespace {

// The scrambling value for position i, by the floating-point formula.
int scrambleValue(qint64 i, qint64 key) {
    const double x = double(i) * double(key - 271849);
    return int(x - std::floor(x / 256) * 256);
}

} // namespace

TEST(ScrambleText, MatchesTheFormulaAtAnyPositionAndKeyZeroChangesNothing) {
    const qint64 starts[] = {1, 200, 65536, std::numeric_limits<qint32>::max() - 20};
    const QByteArray zeros(40, '\0');
    for (const qint64 key : {DataFileKey, qint64(100), qint64(-7)}) {
        for (const qint64 start : starts) {
            const QByteArray scrambled = ScrambleText(zeros, key, start);
            for (qsizetype p = 0; p < zeros.size(); ++p)
                ASSERT_EQ(quint8(scrambled[p]), scrambleValue(start + p, key))
                    << "key " << key << " start " << start << " position " << p;
        }
    }
    const QByteArray text("Tapwise \x80\xE9,{ENTER}\0\xFF", 18);
    EXPECT_EQ(ScrambleText(text, 0, 1), text);
}

TEST(SequenceRecord, HasTheByteLayoutOfTheDataFile) {
    const Lines lines = {{"x", "10"}, {"{ENTER}", "5"}};
    Result<QByteArray> record = EncodeRecord(QStringLiteral("A"), lines, {});
    ASSERT_TRUE(record.ok());
    const QByteArray expected = int32le(1) + int32le(9) + int32le(4) +
                                QByteArray::fromHex("50"
                                                    "690e48011b3232dae4"
                                                    "20121f71");
    EXPECT_EQ(record.value(), expected);
    EXPECT_TRUE(IsSoundRecord(record.value()));
}

TEST(SequenceRecord, DecodesWhatItEncodes) {
    const QString description = QStringLiteral("Café €5\r\nsecond, line");
    const Lines lines = {{":Zoë", "10"}, {"*Pause*", "0"}, {"{COMMA}", "5"}};
    const RecordFields fields = DecodeRecord(EncodeRecord(description, lines, {}).value());
    EXPECT_EQ(fields.description, description);
    EXPECT_EQ(fields.keys, QStringList({":Zoë", "*Pause*", "{COMMA}"}));
    EXPECT_EQ(fields.waitTimes, QStringList({"10", "0", "5"}));
    // Every byte, in fields longer than the 256 positions after which
    // scrambling repeats.
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString everything = decodeWindows1252(all.repeated(3)).remove(',');
    const Lines longLine = {{everything, everything}};
    const RecordFields whole = DecodeRecord(EncodeRecord(everything, longLine, {}).value());
    EXPECT_EQ(whole.description, everything);
    EXPECT_EQ(whole.keys, QStringList(everything));
}

TEST(SequenceRecord, KnowsItsNameAsTheNameRuleGivesIt) {
    const QString descriptions[] = {"  Daily  \r\nsecond",       "\r\nrest", " Ünïcode ", "É\r\n",
                                    QString(300, 'a') + "\r\nb", QString(),  "a\r"};
    for (const QString& description : descriptions) {
        const QByteArray record = EncodeRecord(description, {}, {}).value();
        const QString name = SequenceName(description);
        EXPECT_TRUE(RecordHasName(record, name.toLower())) << description.toStdString();
        EXPECT_TRUE(RecordHasName(record, name.toUpper())) << description.toStdString();
        EXPECT_FALSE(RecordHasName(record, name + "x")) << description.toStdString();
        if (!name.isEmpty()) {
            QString other = name;
            other[name.size() - 1] = name.back() == u'#' ? u'$' : u'#';
            EXPECT_FALSE(RecordHasName(record, other)) << description.toStdString();
        }
    }
}

TEST(SequenceRecord, RefusesTextsItCannotStore) {
    Result<QByteArray> greek = EncodeRecord(QStringLiteral("Ωmega"), {}, {});
    ASSERT_FALSE(greek.ok());
    EXPECT_EQ(greek.error().code, UnencodableText);
    EXPECT_TRUE(
        greek.error().message.startsWith("The description holds the character \"Ω\" (U+03A9)"));

    Result<QByteArray> italian = EncodeRecord("ok", {{"a", "1"}, {"b✓", "2"}}, "I");
    ASSERT_FALSE(italian.ok());
    EXPECT_TRUE(italian.error().message.startsWith("La riga 2 contiene il carattere \"✓\""));

    Result<QByteArray> comma = EncodeRecord("ok", {{"a,b", "1"}}, {});
    ASSERT_FALSE(comma.ok());
    EXPECT_EQ(comma.error().code, CommaInLine);
    // A line with nothing on one side would not read back as a line.
    EXPECT_EQ(EncodeRecord("ok", {{"", "5"}}, {}).error().code, EmptyLineText);
    EXPECT_EQ(EncodeRecord("ok", {{"x", "1"}, {"y", ""}}, {}).error().code, EmptyLineText);
}
