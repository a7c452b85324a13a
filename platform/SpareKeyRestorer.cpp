#include "platform/SpareKeyRestorer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace tapwise {
namespace {

using Clock = std::chrono::steady_clock;

// One key code on its way back, with the last time anybody pressed it.
struct Pending {
    SpareKey key;
    Clock::time_point lastPress;
    bool done = false;
};

int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

int leaveOnLostDisplay(Display*) {
    _exit(0); // nothing left to put back on a display that is gone
}

// The XInput 2 opcode once raw key presses are selected, or -1.
int watchKeyPresses(Display* display) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        return -1;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    return XISelectEvents(display, DefaultRootWindow(display), &mask, 1) == Success ? opcode : -1;
}

void takePresses(Display* display, int opcode, std::vector<Pending>& pending) {
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (opcode < 0 || event.type != GenericEvent || event.xcookie.extension != opcode ||
            !XGetEventData(display, &event.xcookie)) {
            continue;
        }
        if (event.xcookie.evtype == XI_RawKeyPress) {
            const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
            for (Pending& p : pending) {
                if (p.key.keycode == unsigned(raw->detail)) {
                    p.lastPress = Clock::now();
                }
            }
        }
        XFreeEventData(display, &event.xcookie);
    }
}

KeySym levelOneKeysym(Display* display, unsigned keycode) {
    int perKey = 0;
    KeySym* syms = XGetKeyboardMapping(display, KeyCode(keycode), 1, &perKey);
    const KeySym first = syms && perKey > 0 ? syms[0] : NoSymbol;
    if (syms) {
        XFree(syms);
    }
    return first;
}

// Waits until `until`, taking the key presses that arrive meanwhile.
void waitWatching(Display* display, int opcode, std::vector<Pending>& pending,
                  Clock::time_point until) {
    while (true) {
        takePresses(display, opcode, pending);
        const auto left = until - Clock::now();
        if (left <= Clock::duration::zero()) {
            return;
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
        poll(&fd, 1, int(std::min<long long>(ms, 1000)));
    }
}

// Puts back the key codes left alone for `quiet`, holding the server so that
// no program presses one between our last look and the change.
void putBackQuietKeys(Display* display, int opcode, std::vector<Pending>& pending,
                      std::chrono::milliseconds quiet) {
    XGrabServer(display);
    XSync(display, False);
    takePresses(display, opcode, pending);
    const auto now = Clock::now();
    for (Pending& p : pending) {
        if (p.done || now - p.lastPress < quiet) {
            continue;
        }
        if (levelOneKeysym(display, p.key.keycode) == p.key.keysym) {
            KeySym none[2] = {NoSymbol, NoSymbol};
            XChangeKeyboardMapping(display, int(p.key.keycode), 2, none, 1);
        }
        p.done = true;
    }
    XUngrabServer(display);
    XSync(display, False);
}

[[noreturn]] void restoreInThisProcess(std::vector<Pending> pending,
                                       std::chrono::milliseconds quiet) {
    signal(SIGPIPE, SIG_IGN);
    signal(SIGINT, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    setsid();
    XSetErrorHandler(ignoreXError);
    XSetIOErrorHandler(leaveOnLostDisplay);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        _exit(1);
    }
    const int opcode = watchKeyPresses(display);
    XSync(display, False);
    while (std::any_of(pending.begin(), pending.end(), [](const Pending& p) { return !p.done; })) {
        Clock::time_point due = Clock::time_point::max();
        for (const Pending& p : pending) {
            if (!p.done) {
                due = std::min(due, p.lastPress + quiet);
            }
        }
        waitWatching(display, opcode, pending, due);
        putBackQuietKeys(display, opcode, pending, quiet);
    }
    XCloseDisplay(display);
    _exit(0);
}

// The request travels in the environment of a new instance of this very
// program: "QUIET_MS LAST_USE_NS KEYCODE:KEYSYM ...", the last use on the
// monotonic clock, which all processes share.
constexpr char kRequestVariable[] = "TAPWISE_RESTORE_SPARE_KEYS";

std::string encodeRequest(const std::vector<SpareKey>& keys, Clock::time_point lastUse,
                          std::chrono::milliseconds quiet) {
    std::string request = std::to_string(quiet.count()) + ' ' +
                          std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                             lastUse.time_since_epoch())
                                             .count());
    for (const SpareKey& key : keys) {
        request += ' ' + std::to_string(key.keycode) + ':' + std::to_string(key.keysym);
    }
    return request;
}

bool decodeRequest(const char* text, std::vector<Pending>& pending,
                   std::chrono::milliseconds& quiet) {
    std::istringstream in(text);
    long long quietMs = 0;
    long long lastUseNs = 0;
    if (!(in >> quietMs >> lastUseNs) || quietMs < 0) {
        return false;
    }
    quiet = std::chrono::milliseconds(quietMs);
    const Clock::time_point lastUse(
        std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(lastUseNs)));
    unsigned keycode = 0;
    std::uint32_t keysym = 0;
    char colon = 0;
    while (in >> keycode >> colon >> keysym) {
        if (colon != ':' || keycode < 8 || keycode > 255) {
            return false;
        }
        pending.push_back(Pending{SpareKey{keycode, keysym}, lastUse});
    }
    return in.eof() && !pending.empty();
}

// When this program was started only to put spare key codes back, it does
// that and ends before main() runs.
[[maybe_unused]] const bool restorerRun = [] {
    const char* request = std::getenv(kRequestVariable);
    if (!request) {
        return false;
    }
    std::vector<Pending> pending;
    std::chrono::milliseconds quiet{};
    if (!decodeRequest(request, pending, quiet)) {
        _exit(2);
    }
    restoreInThisProcess(std::move(pending), quiet);
}();

} // namespace

bool restoreSpareKeysLater(const char* displayName, const std::vector<SpareKey>& keys,
                           Clock::time_point lastUse, std::chrono::milliseconds quiet) {
    if (keys.empty()) {
        return true;
    }
    std::vector<std::string> variables;
    for (char** v = environ; *v; ++v) {
        const std::string_view variable(*v);
        if (!variable.starts_with("DISPLAY=") && !variable.starts_with(kRequestVariable)) {
            variables.emplace_back(variable);
        }
    }
    variables.push_back(std::string("DISPLAY=") + (displayName ? displayName : ""));
    variables.push_back(std::string(kRequestVariable) + '=' + encodeRequest(keys, lastUse, quiet));
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    char name[] = "tapwise-spare-keys";
    char* argv[] = {name, nullptr};

    // Nothing of ours is kept: no terminal, no pipes (whoever waits for the
    // end of our output must not wait for it), no other descriptors.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd = 0; fd < 3; ++fd) {
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDWR, 0);
    }
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0;
}

} // namespace tapwise
