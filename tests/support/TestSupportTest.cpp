// The helpers themselves, against the real programs they drive.
#include "Subprocess.h"
#include "TestWindows.h"
#include "Wait.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <csignal>

namespace tapwise::test {
namespace {

TEST(Subprocess, RunsACommandAndCapturesItsOutput) {
    const CommandResult r = runCommand({"sh", "-c", "cat; echo err >&2; exit 3"}, {"A=1"},
                                       std::chrono::seconds(30), "in");
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.output, "in");
    EXPECT_EQ(r.errors, "err\n");
    EXPECT_EQ(runCommand({"sh", "-c", "echo $A"}, {"A=x y"}).text(), "x y");
}

TEST(Subprocess, TimeLimitStopsTheCommandAndItsChildren) {
    const CommandResult r =
        runCommand({"sh", "-c", "sleep 60 & sleep 60"}, {}, std::chrono::milliseconds(300));
    EXPECT_FALSE(r.finished);
}

TEST(Subprocess, StopEndsALongRunningProcess) {
    Subprocess p;
    ASSERT_TRUE(p.start({"sleep", "60"}, {}));
    const pid_t pid = p.pid();
    EXPECT_TRUE(p.running());
    p.stop();
    EXPECT_NE(kill(pid, 0), 0);
}

TEST(TestWindows, TwoServersGetTwoDisplaysAndTheTerminalReceivesKeys) {
    XvfbServer a;
    XvfbServer b;
    ASSERT_TRUE(a.start()) << a.error().toStdString();
    ASSERT_TRUE(b.start()) << b.error().toStdString();
    EXPECT_NE(a.display(), b.display());
    b.stop();

    CatTerminal term;
    ASSERT_TRUE(term.start(a, false)) << term.error().toStdString();
    runCommand({"xdotool", "type", "--delay", "20", "hi"}, a.env());
    runCommand({"xdotool", "key", "Return"}, a.env());
    ASSERT_TRUE(term.waitForSize(3));
    EXPECT_EQ(term.content(), "hi\n");
}

TEST(TestWindows, RecorderSeesKeysAndButtonsUnderAWindowManager) {
    XvfbServer x;
    ASSERT_TRUE(x.start()) << x.error().toStdString();
    WindowManager wm;
    ASSERT_TRUE(wm.start(x));
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(x, true)) << recorder.error().toStdString();
    runCommand({"xdotool", "key", "ctrl+c"}, x.env());
    EXPECT_TRUE(recorder.waitForLine("KeyPress c Control"));
    runCommand({"xdotool", "mousemove", "--window", recorder.windowId(), "20", "20", "click", "3"},
               x.env());
    EXPECT_TRUE(recorder.waitForLine("ButtonPress 3"));
}

} // namespace
} // namespace tapwise::test
