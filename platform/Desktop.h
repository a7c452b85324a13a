#pragma once

#include "common/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QPoint>
#include <QSize>
#include <QString>

#include <chrono>

namespace tapwise {

enum class MouseButton { Left, Right, Middle };

// One unit of a relative pointer movement ("[MoveMouse(x;y)]") is this many
// pixels before the desktop's pointer acceleration applies.
inline constexpr int kPixelsPerMouseUnit = 4;
// The wheel amount of one notch; positive amounts turn forward (scroll up).
inline constexpr int kWheelNotch = 120;

// What the clipboard held, kept so that a check can put it back after using
// the clipboard itself: its text, or a picture when it held no text.
struct ClipboardContent {
    bool hasText = false;
    QString text;
    QByteArray image; // PNG bytes of the picture; empty when there was none
};

// The window that has the keyboard focus, as far as the desktop tells.
struct ForegroundWindow {
    QString title;     // at most 259 characters, "" when there is none
    QString className; // WM_CLASS class (or instance) name, "" when unknown
};

// Everything a run asks of the desktop. The engine reaches keyboard, mouse,
// clipboard, windows, screen and clock only through this interface, so that
// a run can be tested against a fake desktop with a virtual clock.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Keystrokes in the notation produced by KeysToSend: "+", "^", "%" hold
    // Shift, Ctrl, Alt for the next key (alone at the end: tap the modifier),
    // "{NAME}" and "{NAME n}" named keys, "{c}" a literal special character,
    // "~" Enter, any other character typed as itself (parseKeyNotation).
    // Malformed text is refused before anything is typed. With wait, returns
    // only once the display server has processed the events. Every key
    // pressed is released again, also when the call fails half-way.
    virtual Status sendKeys(const QString& notation, bool wait) = 0;

    virtual Status click(MouseButton button) = 0;
    // Two left clicks in immediate succession.
    virtual Status doubleClick() = 0;
    virtual Status buttonDown(MouseButton button) = 0;
    virtual Status buttonUp(MouseButton button) = 0;
    virtual Status setPointer(QPoint position) = 0;
    // Relative movement in mouse units (kPixelsPerMouseUnit pixels each),
    // subject to the desktop's pointer acceleration.
    virtual Status movePointerBy(int dx, int dy) = 0;
    // 120 is one notch; positive turns the wheel forward (away from the user).
    // Amounts short of a notch add up over calls.
    virtual Status turnWheel(int amount) = 0;
    virtual QPoint pointer() = 0;

    // True when the Pause key was pressed since the last query or is down
    // now, whichever window has the focus; the program's own {BREAK}
    // keystrokes do not count.
    virtual bool pauseKeyPressed() = 0;

    virtual ForegroundWindow foregroundWindow() = 0;
    virtual Status minimizeForegroundWindow() = 0;

    virtual bool clipboardHasText() = 0;
    virtual QString clipboardText() = 0;
    virtual Status setClipboardText(const QString& text) = 0;
    virtual Status clearClipboard() = 0;
    virtual ClipboardContent saveClipboard() = 0;
    virtual Status restoreClipboard(const ClipboardContent& content) = 0;

    // Size of the primary screen in pixels.
    virtual QSize screenSize() = 0;
    virtual void beep() = 0;

    // Time that only moves forward, for measuring waits.
    virtual std::chrono::nanoseconds monotonicTime() = 0;
    // Local date and time of day, with milliseconds.
    virtual QDateTime currentDateTime() = 0;
    virtual void sleep(std::chrono::microseconds duration) = 0;
};

} // namespace tapwise
