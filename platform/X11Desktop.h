#pragma once

#include "platform/Desktop.h"

#include <chrono>
#include <functional>
#include <memory>

struct _XDisplay;

namespace tapwise {

class PauseKeyWatcher;
class X11ErrorTrap;
class X11Keyboard;
class X11WindowReader;

// The desktop of an X11 session, on an X connection of its own (not Qt's).
// Keys and mouse go out through XTest; the clipboard, and the screen size
// when there is a GUI application, come from Qt (QClipboard, QScreen).
// Made by makeX11Desktop(); see DesktopFactory.h.
class X11Desktop : public Desktop {
public:
    // Opens the display (empty: $DISPLAY); fails with a message in `lang`.
    static Result<std::unique_ptr<X11Desktop>> open(const QString& lang,
                                                    const QString& displayName = {});
    ~X11Desktop() override;

    // Whether a tap of the Pause key between two queries is seen (XInput 2).
    bool seesPauseTaps() const;
    // Test hook: the key press after `presses` more presses fails as if
    // refused by the display (-1: off), to prove that nothing stays down.
    void failAfterKeyPresses(int presses);

    Status sendKeys(const QString& notation, bool wait) override;
    Status click(MouseButton button) override;
    Status doubleClick() override;
    Status buttonDown(MouseButton button) override;
    Status buttonUp(MouseButton button) override;
    Status setPointer(QPoint position) override;
    Status movePointerBy(int dx, int dy) override;
    Status turnWheel(int amount) override;
    QPoint pointer() override;
    bool pauseKeyPressed() override;
    ForegroundWindow foregroundWindow() override;
    Status minimizeForegroundWindow() override;
    bool clipboardHasText() override;
    QString clipboardText() override;
    Status setClipboardText(const QString& text) override;
    Status clearClipboard() override;
    ClipboardContent saveClipboard() override;
    Status restoreClipboard(const ClipboardContent& content) override;
    QSize screenSize() override;
    void beep() override;
    std::chrono::nanoseconds monotonicTime() override;
    QDateTime currentDateTime() override;
    void sleep(std::chrono::microseconds duration) override;

private:
    X11Desktop(_XDisplay* display, const QString& lang);
    Status init();
    void pumpEvents();
    Status button(unsigned button, bool down);
    Status movePointer(QPoint target);
    Status synced();
    struct PointerState {
        QPoint position;      // from the root window's origin
        unsigned buttons = 0; // and modifiers, as XQueryPointer gives them
        bool onOurScreen = false;
    };
    PointerState queryPointer();
    bool waitForPointer(const std::function<bool(QPoint, unsigned)>& reached);
    Status notCarriedOut(const QString& what) const;
    void keepClipboard();

    _XDisplay* display_;
    QString lang_;
    std::unique_ptr<X11ErrorTrap> trap_;
    std::unique_ptr<X11Keyboard> keyboard_;
    std::unique_ptr<PauseKeyWatcher> pause_;
    std::unique_ptr<X11WindowReader> windows_;
    int wheelRest_ = 0; // wheel amount short of a whole notch, kept for the next turn
    // What pumpEvents() last saw of the connection: the last request the
    // server was known to have processed, and when our event queue last held
    // everything the server had sent.
    unsigned long seenProcessed_ = 0;
    std::chrono::steady_clock::time_point queueFreshAt_{};
};

} // namespace tapwise
