// The program started on a folder alone: its main window under a window
// manager, driven with xdotool, running Key sequences into real X clients.
#include "TapwiseSession.h"

#include "Wait.h"
#include "app/MainWindow.h"
#include "app/PauseWindow.h"
#include "app/Startup.h"
#include "gui/Twips.h"

namespace tapwise::test {
namespace {

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

    // A visible window titled title other than the window except.
    QString waitForOtherWindow(const QString& title, const QString& except) {
        QString found;
        waitUntil(
            [&] {
                const CommandResult r =
                    runCommand({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"},
                               server_.env());
                for (const QString& id : r.text().split(u'\n', Qt::SkipEmptyParts))
                    if (id != except)
                        found = id;
                return !found.isEmpty();
            },
            std::chrono::seconds(60), std::chrono::milliseconds(50));
        return found;
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

    const QString start = waitForOtherWindow("Tapwise 2\\.1", main);
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
    EXPECT_EQ(waitForExit(std::chrono::seconds(30)), ExitDone) << errorOutput().toStdString();
}

} // namespace
} // namespace tapwise::test
