// Mouse, Pause key and window titles of the X11 desktop under Xvfb.
#include "X11TestSupport.h"

#include "Wait.h"
#include "platform/PlatformTexts.h"

namespace tapwise::test {
namespace {

QStringList buttonLines(const EventRecorder& recorder) {
    return recorder.lines().filter(QStringLiteral("Button"));
}

TEST_F(X11DesktopTest, PointerSetIsReadBackByXdotool) {
    ASSERT_TRUE(desktop().setPointer({100, 200}));
    EXPECT_TRUE(runCommand({"xdotool", "getmouselocation"}, server_.env())
                    .text()
                    .startsWith("x:100 y:200 "));
    EXPECT_EQ(desktop().pointer(), QPoint(100, 200));

    ASSERT_TRUE(desktop().movePointerBy(-4, 0));
    EXPECT_LE(desktop().pointer().x(), 100 - 4 * kPixelsPerMouseUnit);
    EXPECT_EQ(desktop().pointer().y(), 200);
    ASSERT_TRUE(desktop().movePointerBy(1, 1));
    EXPECT_GT(desktop().pointer().y(), 200);

    ASSERT_TRUE(desktop().setPointer({-50, 99999})); // kept on the screen
    EXPECT_EQ(desktop().pointer(), QPoint(0, 1023));
    EXPECT_EQ(desktop().screenSize(), QSize(1280, 1024));
}

TEST_F(X11DesktopTest, ClicksAndTheWheelReachTheWindowUnderThePointer) {
    EventRecorder recorder; // at the top left corner, 400 x 300
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    ASSERT_TRUE(desktop().setPointer({50, 50}));
    ASSERT_TRUE(desktop().click(MouseButton::Left));
    ASSERT_TRUE(desktop().click(MouseButton::Right));
    ASSERT_TRUE(desktop().click(MouseButton::Middle));
    ASSERT_TRUE(desktop().turnWheel(120));
    ASSERT_TRUE(desktop().turnWheel(-240));
    ASSERT_TRUE(desktop().turnWheel(60)); // half a notch: nothing yet
    ASSERT_TRUE(desktop().turnWheel(60)); // the second half makes one
    ASSERT_TRUE(desktop().doubleClick());
    ASSERT_TRUE(desktop().buttonDown(MouseButton::Right));
    ASSERT_TRUE(desktop().buttonUp(MouseButton::Right));
    const QStringList expected = {
        "ButtonPress 1", "ButtonRelease 1", "ButtonPress 3", "ButtonRelease 3",
        "ButtonPress 2", "ButtonRelease 2", "ButtonPress 4", "ButtonRelease 4",
        "ButtonPress 5", "ButtonRelease 5", "ButtonPress 5", "ButtonRelease 5",
        "ButtonPress 4", "ButtonRelease 4", "ButtonPress 1", "ButtonRelease 1",
        "ButtonPress 1", "ButtonRelease 1", "ButtonPress 3", "ButtonRelease 3",
    };
    EXPECT_TRUE(waitUntil([&] { return buttonLines(recorder).size() >= expected.size(); }));
    EXPECT_EQ(buttonLines(recorder), expected);
}

TEST_F(X11DesktopTest, PauseKeyFromAnotherProgramIsSeenWhileAnotherWindowHasTheFocus) {
    ASSERT_TRUE(desktop().seesPauseTaps());
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    const auto pausePresses = [&](int n) {
        return waitUntil([&] { return recorder.lines().count("KeyPress Pause -") == n; });
    };
    EXPECT_FALSE(desktop().pauseKeyPressed());
    // Our own {BREAK} keys are not the user's.
    ASSERT_TRUE(desktop().sendKeys(QStringLiteral("{BREAK}a{BREAK 3}"), true));
    EXPECT_TRUE(pausePresses(4));
    EXPECT_FALSE(desktop().pauseKeyPressed());

    // A tap that begins and ends between two queries: released before the
    // next query, so only the latch can report it.
    ASSERT_EQ(runCommand({"xdotool", "key", "Pause"}, server_.env()).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return desktop().pauseKeyPressed(); }));
    EXPECT_FALSE(desktop().pauseKeyPressed()); // seen once
    EXPECT_TRUE(pausePresses(5));              // and not taken from the window

    // A tap while keys go out one call each, as fast as a string line types
    // them, with a query after each key as the run's wait makes (the key
    // state itself is read only every 10 ms): seen at the query after the
    // key that followed it, and seen once.
    Subprocess tapper;
    Subprocess::Options options;
    options.env = server_.env();
    ASSERT_TRUE(tapper.start({"sh", "-c", "sleep 0.3; xdotool key Pause"}, options));
    bool seen = false;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!seen && std::chrono::steady_clock::now() < limit) {
        ASSERT_TRUE(desktop().sendKeys(QStringLiteral("b"), true));
        seen = desktop().pauseKeyPressed();
    }
    EXPECT_TRUE(seen);
    ASSERT_TRUE(tapper.wait(std::chrono::seconds(10))); // the key is up again
    EXPECT_FALSE(desktop().pauseKeyPressed());
    ASSERT_TRUE(pausePresses(6));
    const QStringList keys = recorder.lines().filter(QStringLiteral("KeyPress "));
    const auto tap = keys.lastIndexOf(QStringLiteral("KeyPress Pause -"));
    EXPECT_LE(keys.size() - 1 - tap, 2) << "keys typed after the Pause press before it was seen";

    // Held down: seen at every query until released.
    ASSERT_EQ(runCommand({"xdotool", "keydown", "Pause"}, server_.env()).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return desktop().pauseKeyPressed(); }));
    EXPECT_TRUE(desktop().pauseKeyPressed());
    ASSERT_EQ(runCommand({"xdotool", "keyup", "Pause"}, server_.env()).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !desktop().pauseKeyPressed(); }));

    // A tap while another program has grabbed the keyboard.
    KeyboardGrab grab(server_.display());
    ASSERT_TRUE(grab.active());
    ASSERT_EQ(runCommand({"xdotool", "key", "Pause"}, server_.env()).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return desktop().pauseKeyPressed(); }));
}

// Whether the foreground title becomes `title` (window managers and xprop
// change it a moment after the call that asked them to).
bool titleBecomes(X11Desktop& desktop, const QString& title) {
    return waitUntil([&] { return desktop.foregroundWindow().title == title; });
}

TEST_F(X11DesktopTest, TitleOfTheFocusedWindowWithoutAWindowManager) {
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, false, QString::fromUtf8("Fattura 12 – Übersicht €")))
        << term.error().toStdString();
    const ForegroundWindow window = desktop().foregroundWindow();
    EXPECT_EQ(window.title, QString::fromUtf8("Fattura 12 – Übersicht €"));
    EXPECT_EQ(window.className, "XTerm");

    const QString longTitle = QString(300, u'x');
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false, longTitle)) << recorder.error().toStdString();
    EXPECT_EQ(desktop().foregroundWindow().title, longTitle.left(259));

    // Focus following the pointer: the window under it.
    for (const bool rootFocused : {false, true}) {
        focusFollowsPointer(server_.display(), rootFocused);
        ASSERT_TRUE(desktop().setPointer({10, 10}));
        EXPECT_EQ(desktop().foregroundWindow().title, longTitle.left(259)) << rootFocused;
        ASSERT_TRUE(desktop().setPointer({1200, 1000}));
        EXPECT_EQ(desktop().foregroundWindow().title, "");
    }

    // Without a UTF-8 name: WM_NAME as Latin-1 bytes (STRING) or compound
    // text (converted from the locale's UTF-8 by xprop).
    ASSERT_TRUE(recorder.refocus());
    const QStringList xprop = {"xprop", "-id", recorder.windowId()};
    ASSERT_EQ(runCommand(xprop + QStringList{"-remove", "_NET_WM_NAME"}, server_.env()).exitCode,
              0);
    ASSERT_EQ(runCommand({"sh", "-c",
                          "xprop -id \"$1\" -f WM_NAME 8s -set WM_NAME \"$(printf "
                          "'Gr\\374\\337e')\"",
                          "sh", recorder.windowId()},
                         server_.env())
                  .exitCode,
              0);
    EXPECT_TRUE(titleBecomes(desktop(), QString::fromUtf8("Grüße")));
    ASSERT_EQ(runCommand(xprop + QStringList{"-f", "WM_NAME", "8t", "-set", "WM_NAME",
                                             QString::fromUtf8("Łódź ½")},
                         server_.env() + QStringList{"LC_ALL=C.UTF-8"})
                  .exitCode,
              0);
    EXPECT_TRUE(titleBecomes(desktop(), QString::fromUtf8("Łódź ½")));

    // The focused window goes away: no title, no crash.
    recorder.stop();
    EXPECT_TRUE(titleBecomes(desktop(), QString()));
}

TEST_F(X11DesktopTest, TitleOfTheActiveWindowWithAWindowManagerAndMinimising) {
    ASSERT_TRUE(startWindowManager());
    EventRecorder first;
    ASSERT_TRUE(first.start(server_, true, "first window")) << first.error().toStdString();
    EventRecorder second;
    ASSERT_TRUE(second.start(server_, true, "second window")) << second.error().toStdString();
    EXPECT_TRUE(titleBecomes(desktop(), QStringLiteral("second window")));
    ASSERT_TRUE(first.refocus());
    EXPECT_TRUE(titleBecomes(desktop(), QStringLiteral("first window")));

    ASSERT_TRUE(desktop().minimizeForegroundWindow());
    EXPECT_TRUE(waitUntil([&] {
        return runCommand({"xprop", "-id", first.windowId(), "WM_STATE"}, server_.env())
            .text()
            .contains("Iconic");
    }));
}

TEST_F(X11DesktopTest, LostDisplayFailsTheCallsInsteadOfEndingTheProgram) {
    ASSERT_TRUE(desktop().sendKeys(QString::fromUtf8("ł"), true)); // a spare key code to put back
    server_.stop();
    const Status keys = desktop().sendKeys(QStringLiteral("a"), true);
    ASSERT_FALSE(keys);
    EXPECT_EQ(keys.error().code, kDisplayFailed);
    EXPECT_EQ(keys.error().message, "The connection to the X display was lost.");
    EXPECT_FALSE(desktop().click(MouseButton::Left));
    EXPECT_FALSE(desktop().setPointer({1, 1}));
    EXPECT_FALSE(desktop().pauseKeyPressed());
    EXPECT_EQ(desktop().foregroundWindow().title, "");
    EXPECT_FALSE(desktop().minimizeForegroundWindow());
    desktop().beep();
    desktop_.reset();
}

} // namespace
} // namespace tapwise::test
