// The program started on a folder alone: its main window under a window
// manager, driven with xdotool, running Key sequences into real X clients.
#include "TapwiseSession.h"

#include "Wait.h"
#include "app/MainWindow.h"
#include "app/PauseWindow.h"
#include "app/Startup.h"
#include "gui/Twips.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

namespace tapwise::test {
namespace {

// The middle of a button of the column beside the list (New to Print
// format), by its top in twips.
QPoint sideButtonCentre(int top) {
    return {TwipsToPixels(mainWindow::SideColumn + mainWindow::SideWidth / 2),
            TwipsToPixels(top + mainWindow::ButtonHeight / 2)};
}

// The records of a data file as the file layout defines them, read here
// without the store: a count, then records of a 12-byte header (three
// little-endian lengths) and the three fields.
QList<QByteArray> recordsOf(const QByteArray& file) {
    const auto number = [&](qsizetype at) {
        return qFromLittleEndian<qint32>(file.constData() + at);
    };
    QList<QByteArray> records;
    qsizetype at = 4;
    for (qint32 i = 0; file.size() >= 4 && i < number(0) && at + 12 <= file.size(); ++i) {
        const qsizetype length = 12 + number(at) + number(at + 4) + number(at + 8);
        records << file.mid(at, length);
        at += length;
    }
    return records;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QPoint runCentre() {
    return {TwipsToPixels(mainWindow::RunLeft + mainWindow::RunWidth / 2),
            TwipsToPixels(mainWindow::BottomRow + mainWindow::ButtonHeight / 2)};
}

// A point inside the list's first row.
QPoint firstRow() {
    return {TwipsToPixels(mainWindow::ListLeft) + 30, TwipsToPixels(mainWindow::ListTop) + 8};
}

class MainWindowE2ETest : public TapwiseSession {
protected:
    void SetUp() override {
        TapwiseSession::SetUp();
        ASSERT_TRUE(wm_.start(server_));
    }

    // Starts the program on the data folder and gives its main window.
    QString openMainWindow() {
        if (!startTapwise({folder()}))
            return {};
        return waitForWindow("Tapwise 2.1", TwipsToPixels(mainWindow::Height));
    }

    // Answers the message box that opens next with Enter.
    bool confirmMessage() {
        const QString box = waitForWindow("Tapwise");
        return !box.isEmpty() && focusWindow(server_, box, true) && pressKeys({"Return"});
    }
    // Clicks a button of the main window and types a name into the
    // exchange file picker it opens.
    bool pickExchangeFile(const QString& main, QPoint button, const QString& caption,
                          const QString& name) {
        if (!focusWindow(server_, main, true) || !clickInWindow(main, button))
            return false;
        const QString picker = waitForWindow(caption);
        return !picker.isEmpty() && focusWindow(server_, picker, true) && typeText(name) &&
               pressKeys({"Return"});
    }
    bool closeMainWindow(const QString& main) {
        return focusWindow(server_, main, true) && pressKeys({"alt+F4"});
    }

    WindowManager wm_;
};

TEST_F(MainWindowE2ETest, RunButtonSendsTheSelectedSequenceAfterTheStartWindow) {
    addSequence("Other", {{":zzz", "1"}});
    addSequence("Typing", {{":abc", "1"}, {"{ENTER}", "1"}});
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, true)) << term.error().toStdString();
    const QString main = openMainWindow();
    ASSERT_FALSE(main.isEmpty()) << "no main window";
    ASSERT_TRUE(focusWindow(server_, main, true));
    ASSERT_TRUE(pressKeys({"Down"})); // the list has the focus: the second row
    ASSERT_TRUE(clickInWindow(main, runCentre()));

    const QString start = waitForOtherWindow("Tapwise 2.1", main);
    ASSERT_FALSE(start.isEmpty()) << "no start window";
    ASSERT_TRUE(focusWindow(server_, start, true));
    ASSERT_TRUE(pressKeys({"Return"})); // Go
    ASSERT_TRUE(term.waitForSize(4));
    EXPECT_EQ(term.content(), "abc\n");

    const QString report = waitForWindow("Tapwise 2.1", TwipsToPixels(pauseWindow::MessageHeight));
    ASSERT_FALSE(report.isEmpty()) << "no end report";
    ASSERT_TRUE(clickInWindow(
        report, {TwipsToPixels(pauseWindow::Width / 2), TwipsToPixels(pauseWindow::OkTop + 180)}));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
}

TEST_F(MainWindowE2ETest, DoubleClickRunsWithoutMessagesAndEndsTheProgram) {
    addSequence("Typing", {{":hello", "1"}, {"{ENTER}", "1"}});
    addSequence("Other", {{":zzz", "1"}});
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, true)) << term.error().toStdString();
    const QString main = openMainWindow();
    ASSERT_FALSE(main.isEmpty()) << "no main window";
    ASSERT_EQ(runCommand({"xdotool", "mousemove", "--window", main, "--sync",
                          QString::number(firstRow().x()), QString::number(firstRow().y()), "click",
                          "--repeat", "2", "--delay", "80", "1"},
                         server_.env())
                  .exitCode,
              0);
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    ASSERT_TRUE(term.waitForSize(6));
    EXPECT_EQ(term.content(), "hello\n");
}

TEST_F(MainWindowE2ETest, CloseBoxEndsTheProgram) {
    addSequence("Other", {{":zzz", "1"}});
    const QString main = openMainWindow();
    ASSERT_FALSE(main.isEmpty()) << "no main window";
    ASSERT_TRUE(focusWindow(server_, main, true));
    ASSERT_TRUE(pressKeys({"alt+F4"})); // the window manager's close
    const int exitCode = waitForExit(std::chrono::seconds(30));
    // Whether the close reached the window or the program did not end after it.
    const bool stillShown =
        exitCode < 0 && !waitForWindow("Tapwise 2.1", -1, std::chrono::milliseconds(200)).isEmpty();
    EXPECT_EQ(exitCode, ExitDone) << (stillShown ? "the window is still shown\n" : "")
                                  << errorOutput().toStdString();
}

// A launcher made with the main window's button: the question answered
// Yes (no messages), the workbook chosen with the keys in the picker, the
// launcher on the desktop of the program's home.
TEST_F(MainWindowE2ETest, ShortcutButtonPutsALauncherWithoutMessagesOnTheDesktop) {
    addSequence("Weekly orders", {{"ExcelSheetCol#A", "1"}});
    QFile book(pathInFolder("orders.xlsx"));
    ASSERT_TRUE(book.open(QIODevice::WriteOnly)); // only listed, never opened
    book.close();
    const QString main = openMainWindow();
    ASSERT_FALSE(main.isEmpty()) << "no main window";
    ASSERT_TRUE(focusWindow(server_, main, true));
    ASSERT_TRUE(clickInWindow(
        main, {TwipsToPixels(mainWindow::ShortcutLeft + mainWindow::ShortcutWidth / 2),
               TwipsToPixels(mainWindow::ShortcutTop + mainWindow::ButtonHeight / 2)}));
    const QString question = waitForWindow("Tapwise");
    ASSERT_FALSE(question.isEmpty()) << "no question";
    // No has the focus; Yes is the button before it.
    ASSERT_TRUE(focusWindow(server_, question, true) && pressKeys({"shift+Tab", "space"}));
    // The picker opens on the data folder with its folder list focused: the
    // file list is next, its first file the workbook, Enter selects it.
    const QString picker =
        waitForWindow("Select an Excel file (if 'Exit', 'Key sequence' will ask it)");
    ASSERT_FALSE(picker.isEmpty()) << "no workbook picker";
    ASSERT_TRUE(focusWindow(server_, picker, true) && pressKeys({"Tab", "Home", "Return"}));
    ASSERT_TRUE(confirmMessage()); // the launcher has been created
    ASSERT_TRUE(closeMainWindow(main));
    ASSERT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();

    const QString text =
        QString::fromUtf8(readAll(home() + "/Desktop/Tapwise 2.1 (Weekly orders).desktop"));
    EXPECT_TRUE(text.contains("Name=Tapwise 2.1 (Weekly orders)\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(",Weekly orders," + pathInFolder("orders.xlsx") + "|,NoMsg\"\n"))
        << text.toStdString();
}

// Export through the picker by typing a name, then import the file into
// another data folder: the record arrives with the same bytes.
TEST_F(MainWindowE2ETest, ExportedSequenceImportsIntoAnotherFolderByteForByte) {
    addSequence("Other", {{":zzz", "1"}});
    addSequence("Orders\r\nweekly", {{"Ctrl+s", "10"}, {"*Pause*", "0"}, {"{ENTER}", "5"}});
    QString main = openMainWindow();
    ASSERT_FALSE(main.isEmpty()) << "no main window";
    ASSERT_TRUE(focusWindow(server_, main, true));
    ASSERT_TRUE(pressKeys({"Down"}));
    ASSERT_TRUE(pickExchangeFile(main, sideButtonCentre(mainWindow::ExportTop), "Export", "moved"));
    ASSERT_TRUE(confirmMessage()); // Export done!
    ASSERT_TRUE(closeMainWindow(main));
    ASSERT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();

    const QString exchange = pathInFolder("moved.tpw");
    const QList<QByteArray> source = recordsOf(readAll(pathInFolder("TapwiseData.dtk")));
    ASSERT_EQ(source.size(), 2);
    EXPECT_EQ(readAll(exchange), source[1]);

    QTemporaryDir other;
    ASSERT_TRUE(QFile::copy(exchange, other.filePath("moved.tpw")));
    ASSERT_TRUE(startTapwise({other.path()}));
    ASSERT_TRUE(confirmMessage()); // the data file has been created
    main = waitForWindow("Tapwise 2.1", TwipsToPixels(mainWindow::Height));
    ASSERT_FALSE(main.isEmpty()) << "no main window";
    ASSERT_TRUE(pickExchangeFile(main, sideButtonCentre(mainWindow::ImportTop), "Import", "moved"));
    ASSERT_TRUE(confirmMessage()); // Import done!
    ASSERT_TRUE(closeMainWindow(main));
    ASSERT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    EXPECT_EQ(recordsOf(readAll(other.filePath("TapwiseData.dtk"))), QList<QByteArray>{source[1]});
}

} // namespace
} // namespace tapwise::test
