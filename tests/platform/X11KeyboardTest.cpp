// Keys typed through the X11 desktop into real X clients under Xvfb.
#include "X11TestSupport.h"

#include "Wait.h"
#include "platform/PlatformTexts.h"

#include <X11/keysym.h>
#undef Status

#include <thread>

namespace tapwise::test {
namespace {

// Types `text` line by line (one call per line, as a check sends it) and,
// for every fourth line, character by character (as a string line does).
void typeText(X11Desktop& desktop, const QString& text) {
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    for (int i = 0; i < lines.size(); ++i) {
        if (i % 4 == 3) {
            for (const char32_t c : lines[i].toUcs4()) {
                ASSERT_TRUE(desktop.sendKeys(notationFor(QString::fromUcs4(&c, 1)), true));
            }
            ASSERT_TRUE(desktop.sendKeys(QStringLiteral("~"), true));
        } else {
            const Status status = desktop.sendKeys(notationFor(lines[i] + u'\n'), true);
            ASSERT_TRUE(status) << status.error().message.toStdString();
        }
    }
}

void expectTyped(CatTerminal& term, const QByteArray& expected) {
    EXPECT_TRUE(term.waitForSize(expected.size()))
        << "got " << term.content().size() << " of " << expected.size() << " bytes";
    const QByteArray got = term.content();
    qsizetype first = 0;
    while (first < got.size() && first < expected.size() && got[first] == expected[first]) {
        ++first;
    }
    EXPECT_EQ(got, expected) << "first difference at byte " << first << ": got \""
                             << got.mid(first, 40).toStdString() << "\"";
}

TEST_F(X11DesktopTest, TextArrivesExactlyInXterm) {
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, false)) << term.error().toStdString();
    const QString text = mixedText(2000);
    typeText(desktop(), text);
    // Repeated and unmapped characters in one call at full speed, with more
    // distinct characters than there are spare key codes: these are reused,
    // but never while a program may still read the old character.
    QString burst = QString(200, u'l') + u'\n' + QString::fromUtf8("äöüäöüéèêëł€").repeated(20);
    for (char32_t c = 0x4e00; c < 0x4e00 + 300; ++c) {
        burst += QString::fromUcs4(&c, 1);
    }
    const Status status = desktop().sendKeys(notationFor(burst + u'\n'), true);
    ASSERT_TRUE(status) << status.error().message.toStdString();
    // {CAPSLOCK} in the text toggles the lock, not the case typed.
    ASSERT_TRUE(desktop().sendKeys(QStringLiteral("a{CAPSLOCK}bC~"), true));
    EXPECT_TRUE(capsLockOn(server_.display()));
    ASSERT_TRUE(desktop().sendKeys(QStringLiteral("dE{CAPSLOCK}f~"), true));
    EXPECT_FALSE(capsLockOn(server_.display()));
    expectTyped(term, (text + burst + QStringLiteral("\nabC\ndEf\n")).toUtf8());
    EXPECT_TRUE(keysDown(server_.display()).isEmpty());
}

// Our desktop stays open across the layout changes and must follow them.
// Each layout gets an xterm started after the change: an xterm that was
// running when setxkbmap changed the layout can go on reading later keys
// with the old layout once a spare key code is mapped.
TEST_F(X11DesktopTest, SameTextUnderAGermanMapASecondGroupAndCapsLock) {
    const QString text = mixedText(500);
    ASSERT_EQ(runCommand({"setxkbmap", "de"}, server_.env()).exitCode, 0);
    CatTerminal german;
    ASSERT_TRUE(german.start(server_, false, "german")) << german.error().toStdString();
    typeText(desktop(), text);
    expectTyped(german, text.toUtf8());
    german.stop();

    ASSERT_EQ(runCommand({"setxkbmap", "-layout", "us,de"}, server_.env()).exitCode, 0);
    CatTerminal groups;
    ASSERT_TRUE(groups.start(server_, false, "groups")) << groups.error().toStdString();
    lockGroup(server_.display(), 1);
    typeText(desktop(), text);
    lockGroup(server_.display(), 0);
    lockCapsLock(server_.display(), true);
    typeText(desktop(), text);
    EXPECT_TRUE(capsLockOn(server_.display())); // given back as it was
    expectTyped(groups, text.repeated(2).toUtf8());
    EXPECT_TRUE(keysDown(server_.display()).isEmpty());
}

TEST_F(X11DesktopTest, EveryKeyNameGivesItsKey) {
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    QString names = QStringLiteral("{BACKSPACE}{BREAK}{CAPSLOCK}{DELETE}{DOWN}{END}{ENTER}{ESC}"
                                   "{HOME}{INSERT}{LEFT}{NUMLOCK}{PGDN}{PGUP}{PRTSC}{RIGHT}"
                                   "{SCROLLLOCK}{TAB}{UP}");
    QStringList expected = {"BackSpace", "Pause",       "Caps_Lock", "Delete", "Down",
                            "End",       "Return",      "Escape",    "Home",   "Insert",
                            "Left",      "Num_Lock",    "Next",      "Prior",  "Print",
                            "Right",     "Scroll_Lock", "Tab",       "Up"};
    for (int n = 1; n <= 16; ++n) { // F13 to F16 are not on the map: spare key codes
        names += QStringLiteral("{F%1}").arg(n);
        expected << QStringLiteral("F%1").arg(n);
    }
    ASSERT_TRUE(desktop().sendKeys(names, true));
    QStringList pressed;
    EXPECT_TRUE(waitUntil([&] {
        pressed.clear();
        for (const QString& line : recorder.lines().filter(QStringLiteral("KeyPress "))) {
            pressed << line.section(u' ', 1, 1);
        }
        return pressed.size() >= expected.size();
    }));
    EXPECT_EQ(pressed, expected);
}

TEST_F(X11DesktopTest, ModifierCombinationsReachAClientAsCombinations) {
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    const std::pair<const char*, const char*> cases[] = {
        {"^c", "KeyPress c Control"},
        {"%x", "KeyPress x Mod1"},
        {"+b", "KeyPress B Shift"},
        {"^A", "KeyPress A Shift+Control"},
        {"^{+}", "KeyPress plus Shift+Control"},
        {"+{TAB}", "KeyPress ISO_Left_Tab Shift"},
        {"+^%{HOME}", "KeyPress Home Shift+Control+Mod1"},
        {"%{F4}", "KeyPress F4 Mod1"},
        {"+{F16}", "KeyPress F16 Shift"}, // not on the map: typed through a spare key code
        {"^é", "KeyPress eacute Control"},
        {"^", "KeyRelease Control_L Control"},
    };
    for (const auto& [notation, line] : cases) {
        const Status status = desktop().sendKeys(QString::fromUtf8(notation), true);
        ASSERT_TRUE(status) << notation << ": " << status.error().message.toStdString();
        EXPECT_TRUE(recorder.waitForLine(QString::fromUtf8(line)))
            << notation << " did not give " << line << "; got:\n"
            << recorder.lines().join(u'\n').toStdString();
        EXPECT_TRUE(keysDown(server_.display()).isEmpty()) << notation;
    }
    // A modifier holds for the next key only.
    EXPECT_TRUE(recorder.lines().contains("KeyPress Control_L -"));
    EXPECT_FALSE(recorder.lines().contains("KeyPress F4 Mod1+Control"));
}

TEST_F(X11DesktopTest, CallAbortedHalfWayLeavesNoKeyDownAndMalformedTextTypesNothing) {
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    Status status = desktop().sendKeys(QStringLiteral("ab{ENTR}"), true);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().code, kBadKeyNotation);

    desktop().failAfterKeyPresses(4); // Shift and three Lefts go down, the fourth Left fails
    status = desktop().sendKeys(QStringLiteral("+{LEFT 10}"), true);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().code, kDisplayFailed);
    EXPECT_TRUE(keysDown(server_.display()).isEmpty());
    EXPECT_TRUE(recorder.waitForLine("KeyRelease Shift_L Shift"));
    EXPECT_EQ(recorder.lines().count("KeyPress Left Shift"), 3);

    desktop().failAfterKeyPresses(-1);
    ASSERT_TRUE(desktop().sendKeys(QStringLiteral("q"), true));
    EXPECT_TRUE(recorder.waitForLine("KeyPress q -"));
    EXPECT_FALSE(recorder.lines().contains("KeyPress a -"));
}

TEST_F(X11DesktopTest, KeysTheUserStillHoldsAreWaitedForWithATimeLimit) {
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    ASSERT_EQ(runCommand({"xdotool", "keydown", "ctrl"}, server_.env()).exitCode, 0);
    Subprocess user; // lets go of Ctrl a moment after the keys are due
    Subprocess::Options options;
    options.env = server_.env();
    ASSERT_TRUE(user.start({"sh", "-c", "sleep 0.5; xdotool keyup ctrl"}, options));
    ASSERT_TRUE(desktop().sendKeys(QStringLiteral("x"), true));
    EXPECT_TRUE(recorder.waitForLine("KeyPress x -"));
    EXPECT_FALSE(recorder.lines().contains("KeyPress x Control"));

    ASSERT_EQ(runCommand({"xdotool", "keydown", "alt"}, server_.env()).exitCode, 0);
    const Status status = desktop().sendKeys(QStringLiteral("y"), true);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().code, kKeysHeldDown);
    EXPECT_TRUE(status.error().message.contains("Alt_L")) << status.error().message.toStdString();
    EXPECT_FALSE(recorder.lines().join(u'\n').contains("KeyPress y"));
    runCommand({"xdotool", "keyup", "alt"}, server_.env());
}

TEST_F(X11DesktopTest, SpareKeyCodesArePutBackWhenIdleAndAtTheEnd) {
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    ASSERT_TRUE(desktop().sendKeys(QString::fromUtf8("ł"), true));
    EXPECT_TRUE(recorder.waitForLine("KeyPress lstroke -"));
    EXPECT_TRUE(allLevelOneKeysyms(server_.display()).contains(XK_lstroke));
    // Polling the Pause key, as every wait does, puts idle ones back.
    EXPECT_TRUE(waitUntil([&] {
        desktop().pauseKeyPressed();
        return !allLevelOneKeysyms(server_.display()).contains(XK_lstroke);
    }));

    // At the end the program does not wait for them: a process of its own
    // puts them back a second after their last key, also when that key came
    // long after the call mapped them: "ŧ" is mapped before the first "a" of
    // a call that takes about two seconds.
    recorder.stop(); // the keys go to no window
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    ASSERT_TRUE(desktop().sendKeys(QStringLiteral("{a 9999}"), true));
    const auto repeats = std::min<qsizetype>(std::chrono::seconds(2) / (Clock::now() - start), 99);
    const QString text = QStringLiteral("{a 9999}").repeated(repeats + 1) + QString::fromUtf8("ŧ");
    ASSERT_TRUE(desktop().sendKeys(text, true));
    const auto lastKey = Clock::now();
    desktop().pauseKeyPressed(); // takes the queued events, as a run's wait would
    const auto ending = Clock::now();
    desktop_.reset();
    EXPECT_LT(Clock::now() - ending, std::chrono::milliseconds(250));
    EXPECT_TRUE(allLevelOneKeysyms(server_.display()).contains(XK_tslash)); // for slow readers
    EXPECT_TRUE(
        waitUntil([&] { return !allLevelOneKeysyms(server_.display()).contains(XK_tslash); },
                  std::chrono::seconds(5)));
    EXPECT_GE(Clock::now() - lastKey, std::chrono::milliseconds(900));
}

// A program that finds our keysym on the spare key code and types through
// it after we ended (xdotool does, so would the next run) keeps it mapped
// until it has been left alone as long as after our own last key.
TEST_F(X11DesktopTest, SpareKeyCodeTypedThroughByAnotherProgramGoesBackOnlyWhenLeftAlone) {
    EventRecorder recorder;
    ASSERT_TRUE(recorder.start(server_, false)) << recorder.error().toStdString();
    ASSERT_TRUE(desktop().sendKeys(QString::fromUtf8("ŧ"), true));
    using Clock = std::chrono::steady_clock;
    const auto lastKey = Clock::now();
    desktop_.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    ASSERT_EQ(runCommand({"xdotool", "key", "tslash"}, server_.env()).exitCode, 0);
    const auto otherKey = Clock::now();
    ASSERT_LT(otherKey - lastKey, std::chrono::milliseconds(950))
        << "ending took too long, or the machine is too slow";
    EXPECT_TRUE(
        waitUntil([&] { return !allLevelOneKeysyms(server_.display()).contains(XK_tslash); },
                  std::chrono::seconds(5)));
    EXPECT_GE(Clock::now() - otherKey, std::chrono::milliseconds(900));
    EXPECT_EQ(recorder.lines().count("KeyPress tslash -"), 2);
}

} // namespace
} // namespace tapwise::test
