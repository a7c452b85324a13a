#pragma once

#include <vector>

struct _XDisplay;

namespace tapwise {

// Catches the X protocol errors of one connection for as long as it lives,
// so that a window destroyed while we read it, or a refused request, becomes
// a value instead of Xlib's default of ending the program. Errors of other
// connections go on to the handler that was installed before.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(_XDisplay* display);
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;
    ~X11ErrorTrap();

    // Waits until the server has processed every request sent so far and
    // tells whether one of them failed since the last call (or since the
    // trap was made); the error code is then errorCode().
    bool sync();
    int errorCode() const { return lastError_; }

    // Called by the error handler for an error on this trap's connection.
    void noteError(int code) { pendingError_ = code; }

private:
    _XDisplay* display_;
    int pendingError_ = 0;
    int lastError_ = 0;
};

} // namespace tapwise
