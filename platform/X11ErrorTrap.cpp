#include "platform/X11ErrorTrap.h"

#include <X11/Xlib.h>

// Xlib defines Status as a macro; ours is tapwise::Status.
#undef Status

#include <algorithm>

namespace tapwise {
namespace {

using Handler = int (*)(Display*, XErrorEvent*);

// Xlib's error callback carries no user data, so the live traps are kept
// here; they are made and destroyed on the one thread that uses X.
struct TrapRegistry {
    std::vector<X11ErrorTrap*> traps;
    std::vector<Display*> displays;
    Handler previous = nullptr;
};

TrapRegistry& registry() {
    static TrapRegistry r;
    return r;
}

int handleError(Display* display, XErrorEvent* error) {
    TrapRegistry& r = registry();
    for (std::size_t i = 0; i < r.traps.size(); ++i) {
        if (r.displays[i] == display) {
            r.traps[i]->noteError(error->error_code);
            return 0;
        }
    }
    return r.previous ? r.previous(display, error) : 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
    TrapRegistry& r = registry();
    if (r.traps.empty()) {
        r.previous = XSetErrorHandler(&handleError);
    }
    r.traps.push_back(this);
    r.displays.push_back(display);
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
        r.previous = nullptr;
    }
}

bool X11ErrorTrap::sync() {
    XSync(display_, False);
    lastError_ = pendingError_;
    pendingError_ = 0;
    return lastError_ == 0;
}

} // namespace tapwise
