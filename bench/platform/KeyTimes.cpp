// tapwise_bench_keys: two tools for the typing benchmarks, on $DISPLAY.
//
//   tapwise_bench_keys watch
//       Prints "ready" once it receives every raw key press of the server
//       (XInput 2, whichever window has the focus). When its standard input
//       ends it prints "PRESSES FIRST LAST": the number of key presses seen
//       and the server time stamps (milliseconds) of the first and the last.
//       Presses of modifier keys (Shift, Ctrl, ...) are left out: they are
//       not characters, and a run taps Ctrl alone before its start waits.
//   tapwise_bench_keys bare N
//       Presses and releases the key of "x" N times through XTest, one
//       XSync per key, the least a typing program does to know that each
//       key was taken; prints the seconds it took.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

struct Presses {
    std::set<int> modifierKeys;
    long count = 0;
    Time first = 0;
    Time last = 0;
};

void takeEvents(Display* display, int opcode, Presses& presses) {
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != GenericEvent || event.xcookie.extension != opcode ||
            !XGetEventData(display, &event.xcookie)) {
            continue;
        }
        if (event.xcookie.evtype == XI_RawKeyPress) {
            const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
            if (presses.modifierKeys.count(raw->detail) == 0) {
                if (presses.count++ == 0) {
                    presses.first = raw->time;
                }
                presses.last = raw->time;
            }
        }
        XFreeEventData(display, &event.xcookie);
    }
}

int watch(Display* display) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        std::fprintf(stderr, "no XInput 2\n");
        return 1;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    Presses presses;
    if (XModifierKeymap* map = XGetModifierMapping(display)) {
        for (int i = 0; i < 8 * map->max_keypermod; ++i) {
            if (map->modifiermap[i] != 0) {
                presses.modifierKeys.insert(map->modifiermap[i]);
            }
        }
        XFreeModifiermap(map);
    }
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    while (true) {
        takeEvents(display, opcode, presses);
        if (poll(fds, 2, -1) < 0) {
            continue;
        }
        if (fds[1].revents != 0) {
            char buffer[64];
            if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                break;
            }
        }
    }
    // Every press the server made before now is in our queue after a round trip.
    XSync(display, False);
    takeEvents(display, opcode, presses);
    std::printf("%ld %lu %lu\n", presses.count, presses.first, presses.last);
    return 0;
}

int bare(Display* display, long count) {
    const KeyCode key = XKeysymToKeycode(display, XK_x);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < count; ++i) {
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        XSync(display, False);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", took.count());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool watching = argc == 2 && std::strcmp(argv[1], "watch") == 0;
    const bool typing = argc == 3 && std::strcmp(argv[1], "bare") == 0;
    if (!watching && !typing) {
        std::fprintf(stderr, "usage: %s watch | bare N\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const int result = watching ? watch(display) : bare(display, std::atol(argv[2]));
    XCloseDisplay(display);
    return result;
}
