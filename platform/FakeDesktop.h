#pragma once

// A desktop for tests: nothing reaches a screen, every action is recorded as
// a line of text, and time is virtual.
//
//     FakeDesktop desktop;                       // clock at 0, 2024-01-02 09:00:00
//     desktop.setForegroundWindow({"Invoice 12 - Sheet", "calc"});
//     desktop.putClipboardText("ABC");
//     desktop.pressPauseAt(std::chrono::milliseconds(250));
//     desktop.at(std::chrono::seconds(2), [](FakeDesktop& d) { d.putPointer({5, 5}); });
//     desktop.onKeys([](const QString& keys, FakeDesktop& d) {   // the target app
//         if (keys == "^c") d.putClipboardText("Total 12");
//     });
//     ... run the code under test with `desktop` as its Desktop ...
//     EXPECT_EQ(desktop.events(), QStringList({"keys ^c", "sleep 30ms", "click left"}));
//
// The record, one line per action, in order:
//   "keys N"            sendKeys(N, true), N the notation as given
//   "keys-nowait N"     sendKeys(N, false)
//   "click left|right|middle", "doubleclick"
//   "button-down B", "button-up B"       B left, right or middle
//   "pointer X,Y"       setPointer (the pointer is kept inside the screen)
//   "move DX,DY"        movePointerBy in mouse units (kPixelsPerMouseUnit each)
//   "wheel N"           turnWheel(N), N as given (120 = one notch)
//   "minimize T"        minimizeForegroundWindow, T the foreground title
//   "clipboard-set T", "clipboard-clear", "clipboard-restore text T",
//   "clipboard-restore image N bytes", "clipboard-restore empty"
//   "beep"
//   "sleep Nms"         consecutive sleeps are merged into one line; shown in
//                       "us" when not a whole number of milliseconds
// Queries (pointer, titles, clipboard reads, the Pause key, clocks) are not
// recorded. A keystroke text that does not parse is refused with the same
// error as on the real desktop and is not recorded.
//
// Time: monotonicTime() starts at 0 and moves only through sleep() and
// advance(); currentDateTime() is the start date-time plus that. Actions
// scheduled with at() (and Pause presses scheduled with pressPauseAt()) take
// effect when the clock reaches their time.

#include "platform/Desktop.h"
#include "platform/KeyNotation.h"

#include <QStringList>

#include <functional>
#include <map>
#include <optional>

namespace tapwise {

class FakeDesktop : public Desktop {
public:
    using Action = std::function<void(FakeDesktop&)>;
    using KeysHandler = std::function<void(const QString& notation, FakeDesktop&)>;

    FakeDesktop();

    // --- What the test reads back ---
    const QStringList& events() const { return events_; }
    // The record without the lines of one operation (e.g. "sleep").
    QStringList eventsExcept(const QString& operation) const;
    void clearEvents() {
        events_.clear();
        merging_ = false;
    }
    // The characters typed so far by all sendKeys calls, in order; named keys
    // appear as "{ENTER}" and the like, and modifiers as in the notation.
    const QString& typedText() const { return typed_; }
    int pauseQueries() const { return pauseQueries_; }

    // --- What the test scripts ---
    void setLang(const QString& lang) { lang_ = lang; }
    void setForegroundWindow(const ForegroundWindow& window) { foreground_ = window; }
    // The clipboard as another program left it (not recorded).
    void putClipboardText(const QString& text);
    void putClipboardImage(const QByteArray& png);
    void setScreenSize(QSize size) { screen_ = size; }
    // The pointer as the user moved it (not recorded), kept on the screen.
    void putPointer(QPoint position) { pointer_ = clamped(position); }
    void setStartDateTime(const QDateTime& start) { start_ = start; }
    // The Pause key: pressed once when the clock reaches `time`; pressed at
    // the n-th query of pauseKeyPressed() (1 = the next one from now);
    // held down (seen by every query) until released.
    void pressPauseAt(std::chrono::nanoseconds time);
    void pressPauseAtQuery(int n);
    void holdPauseKey(bool down) { pauseHeld_ = down; }
    // Runs `action` once when the clock reaches `time` (at once if it has).
    void at(std::chrono::nanoseconds time, Action action);
    // Called after every accepted sendKeys, as the focused program would react.
    void onKeys(KeysHandler handler) { keysHandler_ = std::move(handler); }
    // The next call of `operation` (the first word of its record line:
    // "keys", "click", "pointer", "clipboard-set"...) fails with `error`.
    void failNext(const QString& operation, Error error);
    // Moves the clock on without recording a sleep.
    void advance(std::chrono::nanoseconds duration);

    // --- Desktop ---
    Status sendKeys(const QString& notation, bool wait) override;
    Status click(MouseButton button) override;
    Status doubleClick() override;
    Status buttonDown(MouseButton button) override;
    Status buttonUp(MouseButton button) override;
    Status setPointer(QPoint position) override;
    Status movePointerBy(int dx, int dy) override;
    Status turnWheel(int amount) override;
    QPoint pointer() override { return pointer_; }
    bool pauseKeyPressed() override;
    ForegroundWindow foregroundWindow() override { return foreground_; }
    Status minimizeForegroundWindow() override;
    bool clipboardHasText() override { return clipboard_.hasText; }
    QString clipboardText() override { return clipboard_.text; }
    Status setClipboardText(const QString& text) override;
    Status clearClipboard() override;
    ClipboardContent saveClipboard() override { return clipboard_; }
    Status restoreClipboard(const ClipboardContent& content) override;
    QSize screenSize() override { return screen_; }
    void beep() override;
    std::chrono::nanoseconds monotonicTime() override { return now_; }
    QDateTime currentDateTime() override;
    void sleep(std::chrono::microseconds duration) override;

private:
    Status record(const QString& line);
    void runDueActions();
    QPoint clamped(QPoint p) const;

    QString lang_;
    QStringList events_;
    QString typed_;
    std::chrono::nanoseconds now_{0};
    std::chrono::nanoseconds sleepRun_{0}; // length of the last sleep line
    bool merging_ = false;                 // the last line is a sleep to extend
    QDateTime start_;
    std::multimap<std::chrono::nanoseconds, Action> scheduled_;
    KeysHandler keysHandler_;
    std::map<QString, Error> failures_;
    ForegroundWindow foreground_;
    ClipboardContent clipboard_;
    QPoint pointer_{0, 0};
    QSize screen_{1920, 1080};
    bool pauseLatched_ = false;
    bool pauseHeld_ = false;
    int pauseQueries_ = 0;
    std::optional<int> pauseAtQuery_;
};

} // namespace tapwise
