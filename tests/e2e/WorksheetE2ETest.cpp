// A worksheet run on a workbook written by openpyxl and read back by it.
#include "TapwiseSession.h"

#include "Wait.h"
#include "app/Startup.h"
#include "common/NativePath.h"
#include "store/SequenceStore.h"

#include <QFile>

#include <sys/stat.h>

namespace tapwise::test {
namespace {

// Headers, a group of three rows, a blank row, a group of two rows; a second
// sheet that the run must leave alone.
const char MakeWorkbook[] = R"(
import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = "Orders"
rows = [["Name", "Amount", "Note"], ["Rossi", 12, "first"], ["Bianchi", "7.5", None],
        ["Verdi", 300, "x"], [None, None, None], ["Neri", 4, None], ["Gialli", "5", "last"]]
for r, values in enumerate(rows, start=1):
    for c, value in enumerate(values, start=1):
        if value is not None:
            ws.cell(row=r, column=c, value=value)
wb.create_sheet("Other")["A1"] = "keep me"
wb.save(sys.argv[1])
)";

// One line per row 1 to 9: its values, then "green" or "plain".
const char ReadWorkbook[] = R"(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb["Orders"]
def green(cell):
    fill = cell.fill
    if fill is None or fill.fill_type != "solid":
        return False
    colour = fill.fgColor
    return (colour.type == "indexed" and colour.indexed == 50) or \
           (colour.type == "rgb" and str(colour.rgb).upper().endswith("99CC00"))
for r in range(1, 10):
    cells = [ws.cell(row=r, column=c) for c in range(1, 4)]
    values = "|".join("" if c.value is None else str(c.value) for c in cells)
    filled = [c for c in cells if c.value is not None]
    state = "green" if filled and all(green(c) for c in filled) else "plain"
    print(values, state)
print("Other", wb["Other"]["A1"].value, wb.sheetnames)
)";

const QStringList ExpectedRows = {"Name|Amount|Note plain",
                                  "Rossi|12|first green",
                                  "Bianchi|7.5| green",
                                  "Verdi|300|x green",
                                  "|| plain",
                                  "Neri|4| green",
                                  "Gialli|5|last green",
                                  "|| plain",
                                  "|| plain",
                                  "Other keep me ['Orders', 'Other']"};

class WorksheetE2ETest : public TapwiseSession {
protected:
    // "Orders": each row's columns A and B, a Tab between them, Enter after.
    void addOrdersSequence() {
        addSequence("Orders", {{"*BeginExcelLoop*", "0"},
                               {"ExcelSheetCol#A", "0"},
                               {"{TAB}", "0"},
                               {"ExcelSheetCol#B", "0"},
                               {"{ENTER}", "1"},
                               {"*EndExcelLoop*", "0"}});
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString workbookScripts() {
        return qEnvironmentVariable("TAPWISE_SOURCE_DIR") + "/tests/workbook/";
    }
    // The Orders workbook at book, encrypted with password (by the Python
    // encryptor of the workbook tests).
    void makeEncryptedOrders(const QString& book, const QString& password) {
        const QString plain = pathInFolder("plain.xlsx");
        const CommandResult made =
            runCommand({"/usr/bin/python3", "-c", QString::fromLatin1(MakeWorkbook), plain});
        ASSERT_EQ(made.exitCode, 0) << made.errors.toStdString();
        const CommandResult encrypted = runCommand(
            {"/usr/bin/python3", workbookScripts() + "encrypt.py", "agile", plain, book, password});
        ASSERT_EQ(encrypted.exitCode, 0) << encrypted.errors.toStdString();
        QFile::remove(plain);
    }
    // The rows of the encrypted workbook at book, decrypted by msoffcrypto-tool.
    QStringList readBackEncrypted(const QString& book, const QString& password) {
        const QString decrypted = pathInFolder("decrypted.xlsx");
        const CommandResult opened = runCommand(
            {"/usr/bin/python3", workbookScripts() + "decrypt.py", book, decrypted, password});
        EXPECT_EQ(opened.exitCode, 0) << opened.errors.toStdString();
        return readBack(decrypted);
    }
    QStringList readBack(const QString& book) {
        const CommandResult r =
            runCommand({"/usr/bin/python3", "-c", QString::fromLatin1(ReadWorkbook), book});
        EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
        return r.text().split(u'\n');
    }
};

TEST_F(WorksheetE2ETest, RowsAreTypedColouredGreenAndSkippedNextTime) {
    const QString book = pathInFolder("Orders 2024.xlsx");
    const CommandResult made =
        runCommand({"/usr/bin/python3", "-c", QString::fromLatin1(MakeWorkbook), book});
    ASSERT_EQ(made.exitCode, 0) << made.errors.toStdString();
    addOrdersSequence();

    CatTerminal first;
    ASSERT_TRUE(first.start(server_, false)) << first.error().toStdString();
    ASSERT_TRUE(startTapwise({folder() + ",Orders," + book + ",NoMsg"}));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    const QByteArray typed = "Rossi\t12\nBianchi\t7.5\nVerdi\t300\nNeri\t4\nGialli\t5\n";
    ASSERT_TRUE(first.waitForSize(typed.size()));
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(first.waitForSize(typed.size() + 1));
    EXPECT_EQ(first.content(), typed + "\n");
    EXPECT_EQ(readBack(book), ExpectedRows);
    first.stop();

    // Every row is green now: a second run types nothing and changes nothing.
    CatTerminal second;
    ASSERT_TRUE(second.start(server_, false)) << second.error().toStdString();
    ASSERT_TRUE(startTapwise({folder() + ",Orders," + book + ",NoMsg"}));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(second.waitForSize(1));
    EXPECT_EQ(second.content(), "\n");
    EXPECT_EQ(readBack(book), ExpectedRows);
}

// A folder named on a Latin-1 system ("caf\xE9", not UTF-8): the program
// finds the data file and the workbook by the name's own bytes, types the
// rows and saves the workbook in place, leaving no temporary file behind.
TEST_F(WorksheetE2ETest, FolderWhoseNameIsNotUtf8) {
    const QByteArray native = encodePath(folder()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(native.constData(), 0700), 0);
    const QString cafe = decodePath(native);
    SequenceStore store(cafe);
    ASSERT_TRUE(store
                    .AppendSequence("Orders", {{"*BeginExcelLoop*", "0"},
                                               {"ExcelSheetCol#A", "0"},
                                               {"{ENTER}", "1"},
                                               {"*EndExcelLoop*", "0"}})
                    .ok());
    const QString book = cafe + "/Orders.xlsx";
    const CommandResult made =
        runCommand({"/usr/bin/python3", "-c", QString::fromLatin1(MakeWorkbook), book});
    ASSERT_EQ(made.exitCode, 0) << made.errors.toStdString();

    CatTerminal terminal;
    ASSERT_TRUE(terminal.start(server_, false)) << terminal.error().toStdString();
    ASSERT_TRUE(startTapwise({cafe + ",Orders," + book + ",NoMsg"}));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    const QByteArray typed = "Rossi\nBianchi\nVerdi\nNeri\nGialli\n";
    ASSERT_TRUE(terminal.waitForSize(typed.size()));
    EXPECT_EQ(terminal.content(), typed);
    EXPECT_EQ(readBack(book), ExpectedRows);
    const CommandResult left = runCommand({"/bin/ls", "-A", cafe});
    EXPECT_EQ(left.text(), "Orders.xlsx\nTapwiseData.dtk") << left.errors.toStdString();
}

// The same run on the workbook encrypted with a password (by the Python
// encryptor of the workbook tests): a wrong or missing password types
// nothing and leaves the file alone; the right one types the rows, and the
// saved file, still encrypted, decrypts in msoffcrypto-tool with the same
// password to the green rows.
TEST_F(WorksheetE2ETest, EncryptedWorkbookNeedsItsPasswordAndStaysEncrypted) {
    const QString book = pathInFolder("Orders secret.xlsx");
    const QString password = "Segreto 42";
    ASSERT_NO_FATAL_FAILURE(makeEncryptedOrders(book, password));
    addOrdersSequence();
    const QByteArray before = readFile(book);

    CatTerminal terminal;
    ASSERT_TRUE(terminal.start(server_, false)) << terminal.error().toStdString();
    for (const QString& field : {book + "|segreto 42", book}) {
        ASSERT_TRUE(terminal.refocus());
        ASSERT_TRUE(startTapwise({folder() + ",Orders," + field + ",NoMsg"}));
        const QString box = waitForWindow("Tapwise");
        ASSERT_FALSE(box.isEmpty());
        focusWindow(server_, box, false);
        pressKeys({"Return"});
        EXPECT_NE(waitForExit(), -1);
        EXPECT_TRUE(errorOutput().contains("is not correct")) << errorOutput().toStdString();
        EXPECT_FALSE(errorOutput().contains("egreto")) << errorOutput().toStdString();
        EXPECT_EQ(readFile(book), before);
    }
    // Nothing was typed: the terminal holds only the line end pressed here.
    ASSERT_TRUE(terminal.refocus());
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(terminal.waitForSize(1));

    ASSERT_TRUE(startTapwise({folder() + ",Orders," + book + "|" + password + ",NoMsg"}));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    const QByteArray typed = "\nRossi\t12\nBianchi\t7.5\nVerdi\t300\nNeri\t4\nGialli\t5\n";
    ASSERT_TRUE(terminal.waitForSize(typed.size()))
        << terminal.content().toStdString() << errorOutput().toStdString();
    EXPECT_EQ(terminal.content(), typed);
    EXPECT_TRUE(readFile(book).startsWith("\xD0\xCF\x11\xE0"));
    EXPECT_EQ(readBackEncrypted(book, password), ExpectedRows);
}

// Without a workbook on the command line the run opens the file dialog; an
// encrypted workbook chosen there (typed, with the keys) has no command line
// to carry its password, so the run asks for it. Under a window manager the
// terminal has the focus again when the prompt closes, and gets the rows.
TEST_F(WorksheetE2ETest, EncryptedWorkbookChosenInTheDialogAsksForItsPassword) {
    WindowManager wm;
    ASSERT_TRUE(wm.start(server_));
    const QString book = pathInFolder("Orders secret.xlsx");
    const QString password = "Segreto 42";
    ASSERT_NO_FATAL_FAILURE(makeEncryptedOrders(book, password));
    addOrdersSequence();

    CatTerminal terminal;
    ASSERT_TRUE(terminal.start(server_, true)) << terminal.error().toStdString();
    ASSERT_TRUE(startTapwise({folder() + ",Orders,,NoMsg"}));
    const QString dialog = waitForWindow("Tapwise 2.1");
    ASSERT_FALSE(dialog.isEmpty()) << "no file dialog";
    ASSERT_TRUE(focusWindow(server_, dialog, true));
    ASSERT_TRUE(typeText(book));
    ASSERT_TRUE(pressKeys({"Return"}));
    const QString prompt = waitForOtherWindow("Tapwise 2.1", dialog);
    ASSERT_FALSE(prompt.isEmpty()) << "no password prompt";
    ASSERT_TRUE(focusWindow(server_, prompt, true));
    ASSERT_TRUE(typeText(password));
    ASSERT_TRUE(pressKeys({"Return"}));

    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    const QByteArray typed = "Rossi\t12\nBianchi\t7.5\nVerdi\t300\nNeri\t4\nGialli\t5\n";
    ASSERT_TRUE(terminal.waitForSize(typed.size()))
        << terminal.content().toStdString() << errorOutput().toStdString();
    EXPECT_EQ(terminal.content(), typed);
    EXPECT_EQ(readBackEncrypted(book, password), ExpectedRows);
}

// A run ended under its feet keeps the green colour of the rows it had sent:
// row 2 is typed and coloured, the run is paused in row 3, then the program
// is ended from outside.
class InterruptedRunTest : public WorksheetE2ETest {
protected:
    void startAndPauseInRowThree(CatTerminal& terminal, const QString& book) {
        const CommandResult made =
            runCommand({"/usr/bin/python3", "-c", QString::fromLatin1(MakeWorkbook), book});
        ASSERT_EQ(made.exitCode, 0) << made.errors.toStdString();
        addSequence("Slow", {{"ExcelSheetCol#A", "30"}, {"{ENTER}", "0"}});
        ASSERT_TRUE(terminal.start(server_, false)) << terminal.error().toStdString();
        ASSERT_TRUE(startTapwise({folder() + ",Slow," + book + ",NoMsg"}));
        ASSERT_TRUE(terminal.waitForSize(QByteArray("Rossi\n").size()));
        ASSERT_TRUE(pressKeys({"Pause"}));
        ASSERT_FALSE(waitForWindow("Tapwise 2.1   (Excel Row N.: 3)").isEmpty());
    }
    QStringList firstRows(const QString& book) { return readBack(book).mid(1, 3); }
};

TEST_F(InterruptedRunTest, LosingTheDisplaySavesTheRowsAlreadySent) {
    const QString book = pathInFolder("Orders.xlsx");
    CatTerminal terminal;
    startAndPauseInRowThree(terminal, book);
    server_.stop();
    EXPECT_NE(waitForExit(), -1);
    EXPECT_EQ(firstRows(book),
              QStringList({"Rossi|12|first green", "Bianchi|7.5| plain", "Verdi|300|x plain"}))
        << errorOutput().toStdString();
}

TEST_F(InterruptedRunTest, TerminationSignalSavesTheRowsAlreadySent) {
    const QString book = pathInFolder("Orders.xlsx");
    CatTerminal terminal;
    startAndPauseInRowThree(terminal, book);
    tapwise_.stop();
    EXPECT_EQ(firstRows(book),
              QStringList({"Rossi|12|first green", "Bianchi|7.5| plain", "Verdi|300|x plain"}))
        << errorOutput().toStdString();
}

} // namespace
} // namespace tapwise::test
