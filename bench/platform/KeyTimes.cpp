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
//   tapwise_bench_keys text FILE
//       Types the UTF-8 text of FILE the same least way: for each character
//       its key, with Shift around it when the character is on the shifted
//       level, and one XSync. A character that the keymap lacks is put on a
//       key code without symbols (least recently used first, each character
//       mapped once while it stays there). This is what any program must do
//       to type that text; a second after the last key the key codes get
//       their empty mapping back.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <list>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

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

std::vector<char32_t> utf8Text(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<char32_t> text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7f >> length);
        for (int k = 1; k < length && i + k < bytes.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3f);
        }
        text.push_back(c);
        i += length;
    }
    return text;
}

KeySym keysymOf(char32_t c) {
    if (c == U'\n') {
        return XK_Return;
    }
    return c < 0x100 ? KeySym(c) : KeySym(0x01000000 | c);
}

int typeText(Display* display, const char* path) {
    const std::vector<char32_t> text = utf8Text(path);
    int minCode = 0;
    int maxCode = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(display, minCode, maxCode - minCode + 1, &perCode);
    std::map<KeySym, std::pair<KeyCode, bool>> keys; // keysym: key code, shifted
    std::list<KeyCode> spare;                        // least recently used first
    for (int code = maxCode; code >= minCode; --code) {
        const KeySym* syms = map + (code - minCode) * perCode;
        bool empty = true;
        for (int level = 0; level < perCode; ++level) {
            empty = empty && syms[level] == NoSymbol;
        }
        if (empty) {
            spare.push_back(KeyCode(code));
        }
        for (int level = std::min(perCode, 2) - 1; level >= 0; --level) {
            if (syms[level] != NoSymbol) {
                keys[syms[level]] = {KeyCode(code), level == 1};
            }
        }
    }
    XFree(map);
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    std::map<KeyCode, KeySym> onSpare;
    for (const char32_t c : text) {
        const KeySym keysym = keysymOf(c);
        auto found = keys.find(keysym);
        if (found == keys.end()) {
            if (spare.empty()) {
                std::fprintf(stderr, "no key code left for U+%04X\n", unsigned(c));
                return 1;
            }
            const KeyCode code = spare.front();
            spare.splice(spare.end(), spare, spare.begin());
            if (auto old = onSpare.find(code); old != onSpare.end()) {
                keys.erase(old->second);
            }
            KeySym syms[2] = {keysym, keysym};
            XChangeKeyboardMapping(display, code, 2, syms, 1);
            onSpare[code] = keysym;
            found = keys.emplace(keysym, std::make_pair(code, false)).first;
        }
        const auto [code, shifted] = found->second;
        if (shifted) {
            XTestFakeKeyEvent(display, shift, True, CurrentTime);
        }
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        if (shifted) {
            XTestFakeKeyEvent(display, shift, False, CurrentTime);
        }
        XSync(display, False);
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    for (const auto& [code, keysym] : onSpare) {
        KeySym none[2] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(display, code, 2, none, 1);
    }
    XSync(display, False);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool watching = argc == 2 && std::strcmp(argv[1], "watch") == 0;
    const bool typing = argc == 3 && std::strcmp(argv[1], "bare") == 0;
    const bool typingText = argc == 3 && std::strcmp(argv[1], "text") == 0;
    if (!watching && !typing && !typingText) {
        std::fprintf(stderr, "usage: %s watch | bare N | text FILE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const int result = watching     ? watch(display)
                       : typingText ? typeText(display, argv[2])
                                    : bare(display, std::atol(argv[2]));
    XCloseDisplay(display);
    return result;
}
