#pragma once

#include "platform/Desktop.h"

namespace tapwise {

// A desktop with the real clock and real sleeps and nothing else: no keys,
// no pointer, no clipboard, the Pause key never pressed. Enough to measure
// how the run's waits keep time.
class RealClockDesktop : public Desktop {
public:
    Status sendKeys(const QString&, bool) override { return {}; }
    Status click(MouseButton) override { return {}; }
    Status doubleClick() override { return {}; }
    Status buttonDown(MouseButton) override { return {}; }
    Status buttonUp(MouseButton) override { return {}; }
    Status setPointer(QPoint) override { return {}; }
    Status movePointerBy(int, int) override { return {}; }
    Status turnWheel(int) override { return {}; }
    QPoint pointer() override { return {}; }
    bool pauseKeyPressed() override { return false; }
    ForegroundWindow foregroundWindow() override { return {}; }
    Status minimizeForegroundWindow() override { return {}; }
    bool clipboardHasText() override { return false; }
    QString clipboardText() override { return {}; }
    Status setClipboardText(const QString&) override { return {}; }
    Status clearClipboard() override { return {}; }
    ClipboardContent saveClipboard() override { return {}; }
    Status restoreClipboard(const ClipboardContent&) override { return {}; }
    QSize screenSize() override { return {1920, 1080}; }
    void beep() override {}
    std::chrono::nanoseconds monotonicTime() override;
    QDateTime currentDateTime() override { return QDateTime::currentDateTime(); }
    void sleep(std::chrono::microseconds duration) override;
};

} // namespace tapwise
