#include "platform/X11ErrorTrap.h"

#include "platform/PlatformTexts.h"

#include <X11/Xlib.h>

// Xlib defines Status as a macro; ours is tapwise::Status.
#undef Status

#include <algorithm>
#include <vector>

namespace tapwise {
namespace {

using Handler = int (*)(Display*, XErrorEvent*);
using IoHandler = int (*)(Display*);

// Xlib's error callbacks carry no user data, so the live traps are kept
// here; they are made and destroyed on the one thread that uses X.
struct TrapRegistry {
    std::vector<X11ErrorTrap*> traps;
    std::vector<Display*> displays;
    Handler previous = nullptr;
    IoHandler previousIo = nullptr;
};

TrapRegistry& registry() {
    static TrapRegistry r;
    return r;
}

X11ErrorTrap* trapOf(Display* display) {
    TrapRegistry& r = registry();
    const auto it = std::find(r.displays.begin(), r.displays.end(), display);
    return it == r.displays.end() ? nullptr : r.traps[std::size_t(it - r.displays.begin())];
}

int handleError(Display* display, XErrorEvent* error) {
    if (X11ErrorTrap* trap = trapOf(display)) {
        trap->noteError(error->error_code);
        return 0;
    }
    const Handler previous = registry().previous;
    return previous ? previous(display, error) : 0;
}

// Xlib calls this handler first and the connection's exit handler after it;
// the program ends only if one of them does not return.
int handleIoError(Display* display) {
    if (X11ErrorTrap* trap = trapOf(display)) {
        trap->noteLost();
        return 0;
    }
    const IoHandler previous = registry().previousIo;
    return previous ? previous(display) : 0;
}

void carryOnAfterIoError(Display*, void* trap) {
    static_cast<X11ErrorTrap*>(trap)->noteLost();
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
    TrapRegistry& r = registry();
    if (r.traps.empty()) {
        r.previous = XSetErrorHandler(&handleError);
        r.previousIo = XSetIOErrorHandler(&handleIoError);
    }
    r.traps.push_back(this);
    r.displays.push_back(display);
    XSetIOErrorExitHandler(display, &carryOnAfterIoError, this);
}

X11ErrorTrap::~X11ErrorTrap() {
    TrapRegistry& r = registry();
    const auto it = std::find(r.traps.begin(), r.traps.end(), this);
    if (it != r.traps.end()) {
        r.displays.erase(r.displays.begin() + (it - r.traps.begin()));
        r.traps.erase(it);
    }
    if (r.traps.empty()) {
        XSetErrorHandler(r.previous);
        XSetIOErrorHandler(r.previousIo);
        r.previous = nullptr;
        r.previousIo = nullptr;
    }
}

bool X11ErrorTrap::sync() {
    if (!lost_) {
        XSync(display_, False);
    }
    lastError_ = pendingError_;
    pendingError_ = 0;
    return lastError_ == 0 && !lost_;
}

Status X11ErrorTrap::syncStatus(const QString& lang) {
    if (sync()) {
        return {};
    }
    if (lost_) {
        return lostError(lang);
    }
    return Error{kDisplayFailed, platform_text::kDisplayError.in(lang).arg(lastError_)};
}

Error X11ErrorTrap::lostError(const QString& lang) const {
    return Error{kDisplayFailed, platform_text::kDisplayLost.in(lang)};
}

} // namespace tapwise
