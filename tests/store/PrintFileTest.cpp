#include "store/PrintFile.h"

#include "StoreTestSupport.h"

using namespace tapwise;
using namespace tapwise::test;

namespace {

QString keysColumn(const QString& keys) {
    return keys.leftJustified(44, ' ', true) + "   ";
}

} // namespace

TEST(PrintText, ListsTheSequenceInFixedColumns) {
    const Lines lines = {
        {"x", "10"}, {"*Pause*check the total", "0"}, {"#**log in first", "0"},
        {"#", "5"},  {"#[LeftClick]", "20"},          {QString(50, 'k'), "12345678901"},
        {"*", "7"},
    };
    const QString expected =
        "Tapwise 'Key Sequence'\r\n"
        "=====================\r\n"
        " \r\n"
        "Orders\r\nsecond line\r\n"
        " \r\n" +
        keysColumn("Keys") + "WaitTime(hSec)\r\n" + keysColumn("----") + "--------------\r\n" +
        keysColumn("x") + "10        \r\n" + keysColumn("*Pause*check the total") +
        QString(10, ' ') + "\r\n" + keysColumn("#**log in first") + QString(10, ' ') +
        "      *** NOT EXECUTABLE ***\r\n" + keysColumn("#") + "5         \r\n" +
        keysColumn("#[LeftClick]") + "20        " + "      *** NOT EXECUTABLE ***\r\n" +
        QString(44, 'k') + "   1234567890\r\n" + keysColumn("*") + "7         \r\n";
    EXPECT_EQ(PrintText("Orders\r\nsecond line", lines), expected);
}

TEST_F(StoreFolder, PrintFileIsWrittenInWindows1252IntoTheDataFolder) {
    const QString printFile = QDir(dir.path()).filePath("TapwisePrt.txt");
    writeBytes(printFile, QByteArray(5000, 'o'));
    const qint32 position = store.AppendSequence("Café", {{":€5", "10"}}).value();
    Result<QString> written = WritePrintFile(store, position);
    ASSERT_TRUE(written.ok()) << written.error().message.toStdString();
    EXPECT_EQ(written.value(), printFile);
    const QByteArray bytes = fileBytes(printFile);
    EXPECT_TRUE(bytes.contains("\r\nCaf\xE9\r\n"));
    EXPECT_TRUE(bytes.endsWith(":\x80"
                               "5" +
                               QByteArray(41, ' ') + "   10        \r\n"));
    EXPECT_LT(bytes.size(), 1000);
}
