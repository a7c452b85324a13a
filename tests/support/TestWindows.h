#pragma once

#include "Subprocess.h"
#include "XvfbServer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tapwise::test {

// Gives the keyboard focus to a window: `xdotool windowactivate` when a
// window manager runs, `xdotool windowfocus` otherwise; then waits until the
// server reports that window (or one inside it) as focused.
bool focusWindow(const XvfbServer& server, const QString& windowId, bool windowManager,
                 std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The id (decimal, as xdotool prints it) of the first visible window whose
// name is exactly `title`, waiting for it to appear; "" on timeout.
QString findWindow(const XvfbServer& server, const QString& title,
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));

// A window of a program the test starts, which writes what it receives to a
// file of its own; stopped with the object.
class TestWindow {
public:
    void stop() { process_.stop(); }
    // Gives it the focus again (after another window took it).
    bool refocus();
    QString windowId() const { return windowId_; }
    QString error() const { return error_; }

protected:
    explicit TestWindow(const QString& fileName);
    // Starts `argv`, waits for its window named `title` and focuses it;
    // `what` names the program in errors.
    bool launch(const XvfbServer& server, bool windowManager, const QStringList& argv,
                const QStringList& env, const QString& title, const QString& what);
    QByteArray fileContent() const;

    QTemporaryDir dir_;
    const QString file_;
    QString error_;

private:
    const XvfbServer* server_ = nullptr;
    bool windowManager_ = false;
    Subprocess process_;
    QString windowId_;
};

// An xterm running `cat > FILE`, focused and ready for keys.
//
//     CatTerminal term;
//     ASSERT_TRUE(term.start(x, false)) << term.error();
//     ... type "abc~" into the focused window ...
//     ASSERT_TRUE(term.waitForSize(4));
//     EXPECT_EQ(term.content(), "abc\n");
class CatTerminal : public TestWindow {
public:
    CatTerminal() : TestWindow(QStringLiteral("typed.txt")) {}
    bool start(const XvfbServer& server, bool windowManager,
               const QString& title = QStringLiteral("tapwise-cat"));
    QByteArray content() const { return fileContent(); }
    bool waitForSize(qsizetype bytes, std::chrono::milliseconds timeout = std::chrono::seconds(60));
};

// A small X client of the tests' own that writes one line per key or button
// event it receives:
//   "KeyPress <keysym> <modifiers>"   e.g. "KeyPress c Control", "KeyPress A Shift"
//   "KeyRelease <keysym> <modifiers>"
//   "ButtonPress <n>", "ButtonRelease <n>"
// <keysym> is the keysym the event's state selects (XLookupString), its
// X name; <modifiers> the state's modifiers joined by "+" ("Shift",
// "Lock", "Control", "Mod1" to "Mod5", "Button1"...), "-" when none.
class EventRecorder : public TestWindow {
public:
    EventRecorder() : TestWindow(QStringLiteral("events.txt")) {}
    bool start(const XvfbServer& server, bool windowManager,
               const QString& title = QStringLiteral("tapwise-recorder"));
    QStringList lines() const;
    // Waits until a recorded line equals `line`.
    bool waitForLine(const QString& line,
                     std::chrono::milliseconds timeout = std::chrono::seconds(30));
};

} // namespace tapwise::test
