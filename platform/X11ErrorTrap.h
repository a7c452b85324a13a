#pragma once

#include "common/Result.h"

#include <QString>

struct _XDisplay;

namespace tapwise {

// Catches the X protocol errors of one connection for as long as it lives,
// so that a window destroyed while we read it, or a refused request, becomes
// a value instead of Xlib's default of ending the program. The loss of the
// connection (the X server ended) is caught too: from then on every call on
// it fails. Errors of other connections go on to the handlers that were
// installed before.
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
    // sync() as a Status, with a message in `lang` when it failed.
    Status syncStatus(const QString& lang);
    // The connection is gone; Xlib calls on it do nothing any more and their
    // replies must not be read.
    bool lost() const { return lost_; }
    Error lostError(const QString& lang) const;

    // Called by the error handlers for this trap's connection.
    void noteError(int code) { pendingError_ = code; }
    void noteLost() { lost_ = true; }

private:
    _XDisplay* display_;
    int pendingError_ = 0;
    int lastError_ = 0;
    bool lost_ = false;
};

} // namespace tapwise
