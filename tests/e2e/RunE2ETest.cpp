// Key sequences named on the command line, run into real X clients.
#include "TapwiseSession.h"

#include "Wait.h"
#include "app/PauseWindow.h"
#include "app/Startup.h"
#include "gui/Twips.h"

namespace tapwise::test {
namespace {

// The middle of an answer of the pause and message window, in its pixels.
QPoint answerCentre(int left, int top) {
    return {TwipsToPixels(pauseWindow::FrameLeft + left + pauseWindow::AnswerWidth / 2),
            TwipsToPixels(pauseWindow::FrameTop + top + pauseWindow::AnswerHeight / 2)};
}

QPoint okCentre() {
    return {TwipsToPixels(pauseWindow::Width / 2),
            TwipsToPixels(pauseWindow::OkTop + pauseWindow::AnswerHeight / 2)};
}

class RunE2ETest : public TapwiseSession {};

const Lines TypingLines = {
    {"a", "1"},       {"B", "1"},
    {"7", "1"},       {":Hello World+%{}~", "1"},
    {"{TAB}", "1"},   {"{SPACE}", "1"},
    {"{PLUS}", "1"},  {"{COMMA}", "1"},
    {"Ctrl+i", "1"},  {"*Chk(0;0;5;tapwise-cat)*", "0"},
    {":x", "1"},      {"*Label(1)*", "0"},
    {":y", "1"},      {"*If(Counter;<;3;1)*", "0"},
    {"{ENTER}", "1"},
};
const QByteArray TypedText = "aB7Hello World+%{}~\t +,\txyyy\n";

TEST_F(RunE2ETest, KeysStringsNamedKeysCombinationTitleCheckAndCounterReachTheTerminal) {
    addSequence("Typing\r\nall kinds of keys", TypingLines);
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, false)) << term.error().toStdString();
    ASSERT_TRUE(startTapwise({folder() + ",Typing,,NoMsg"}));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    ASSERT_TRUE(term.waitForSize(TypedText.size()));
    // Nothing is left unsent in the terminal's line either.
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(term.waitForSize(TypedText.size() + 1));
    EXPECT_EQ(term.content(), TypedText + "\n");
}

// A pause answered with Resume gives the focus back to the terminal: the
// window manager's doing, which must not pick the minimised status window.
TEST_F(RunE2ETest, UnderAWindowManagerTheRunTypesTheSameAfterAPause) {
    WindowManager wm;
    ASSERT_TRUE(wm.start(server_));
    Lines lines = TypingLines;
    lines.insert(4, {"*Pause*", "0"});
    addSequence("Typing", lines);
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, true)) << term.error().toStdString();
    // The folder's name has a blank: the words of the command line are joined.
    ASSERT_TRUE(startTapwise(folder().split(u' ') + QStringList{",", "typing", ",", ",", "nomsg"}));
    const QString pause = waitForWindow(
        "Tapwise 2.1", TwipsToPixels(pauseWindow::FullHeight - pauseWindow::LessWithoutWorksheet));
    ASSERT_FALSE(pause.isEmpty()) << "no pause window";
    ASSERT_TRUE(clickInWindow(pause, answerCentre(pauseWindow::LeftColumn, pauseWindow::FirstRow)));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    ASSERT_TRUE(term.waitForSize(TypedText.size()));
    EXPECT_EQ(term.content(), TypedText);
}

TEST_F(RunE2ETest, PointerPositionIsReadBackByXdotool) {
    addSequence("Pointer", {{"[PosMouse(100;200)]", "1"}});
    ASSERT_TRUE(startTapwise({folder() + ",Pointer,,NoMsg"}));
    EXPECT_EQ(waitForExit(), ExitDone) << errorOutput().toStdString();
    EXPECT_TRUE(runCommand({"xdotool", "getmouselocation"}, server_.env())
                    .text()
                    .startsWith("x:100 y:200 "));
}

TEST_F(RunE2ETest, PauseKeyDuringALongWaitThenCancelEndsWithTheCancelledReport) {
    addSequence("Long wait", {{":a", "0"}, {"{ENTER}", "6000"}, {":b", "0"}, {"{ENTER}", "0"}});
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, false)) << term.error().toStdString();
    ASSERT_TRUE(startTapwise({folder() + ",Long wait,,NoMsg"}));
    ASSERT_TRUE(term.waitForSize(2)); // "a" and the line end: the long wait has begun
    ASSERT_TRUE(pressKeys({"Pause"}));

    // The pause window of a run without worksheet: Resume and Cancel only.
    const int pauseHeight =
        TwipsToPixels(pauseWindow::FullHeight - pauseWindow::LessWithoutWorksheet);
    const QString pause = waitForWindow("Tapwise 2.1", pauseHeight);
    ASSERT_FALSE(pause.isEmpty()) << "no pause window";
    ASSERT_TRUE(
        clickInWindow(pause, answerCentre(pauseWindow::RightColumn, pauseWindow::FirstRow)));

    // The cancelled report, also in a run without messages, closed with OK.
    const QString report = waitForWindow("Tapwise 2.1", TwipsToPixels(pauseWindow::MessageHeight));
    ASSERT_FALSE(report.isEmpty()) << "no report";
    ASSERT_TRUE(clickInWindow(report, okCentre()));
    EXPECT_EQ(waitForExit(), ExitCancelled) << errorOutput().toStdString();

    ASSERT_TRUE(term.refocus());
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(term.waitForSize(3));
    EXPECT_EQ(term.content(), "a\n\n");
}

TEST_F(RunE2ETest, ClickingTheStatusWindowEndsTheRun) {
    addSequence("Long wait", {{":a", "0"}, {"{ENTER}", "6000"}, {":b", "0"}, {"{ENTER}", "0"}});
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, false)) << term.error().toStdString();
    ASSERT_TRUE(startTapwise({folder() + ",Long wait,,NoMsg"}));
    ASSERT_TRUE(term.waitForSize(2));
    const QString status =
        waitForWindow("Tapwise 2.1 is running... Use 'Pause' key to pause/ cancel!");
    ASSERT_FALSE(status.isEmpty()) << "no status window";
    EXPECT_EQ(windowSize(status), QSize(165, 90));
    ASSERT_TRUE(clickInWindow(status, {80, 45}));
    EXPECT_EQ(waitForExit(), ExitAbandoned) << errorOutput().toStdString();

    ASSERT_TRUE(term.refocus());
    ASSERT_TRUE(pressKeys({"Return"}));
    ASSERT_TRUE(term.waitForSize(3));
    EXPECT_EQ(term.content(), "a\n\n");
}

} // namespace
} // namespace tapwise::test
