// tapwise_xevent_recorder FILE TITLE: a window that writes every key and
// button event it receives to FILE, one line each (see EventRecorder).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string modifierText(unsigned state) {
    static const char* const names[] = {"Shift",   "Lock",    "Control", "Mod1",    "Mod2",
                                        "Mod3",    "Mod4",    "Mod5",    "Button1", "Button2",
                                        "Button3", "Button4", "Button5"};
    std::string out;
    for (unsigned bit = 0; bit < 13; ++bit) {
        if (state & (1u << bit)) {
            out += (out.empty() ? "" : "+");
            out += names[bit];
        }
    }
    return out.empty() ? "-" : out;
}

void writeKey(FILE* out, XKeyEvent* event) {
    char text[64];
    KeySym keysym = NoSymbol;
    XLookupString(event, text, sizeof text, &keysym, nullptr);
    const char* name = keysym == NoSymbol ? nullptr : XKeysymToString(keysym);
    char fallback[32];
    if (!name) {
        std::snprintf(fallback, sizeof fallback, "0x%lx", keysym);
        name = fallback;
    }
    std::fprintf(out, "%s %s %s\n", event->type == KeyPress ? "KeyPress" : "KeyRelease", name,
                 modifierText(event->state).c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE TITLE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    FILE* out = std::fopen(argv[1], "w");
    if (!display || !out) {
        return 1;
    }
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 400, 300,
                                              0, 0, WhitePixel(display, 0));
    XStoreName(display, window, argv[2]);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                    PropModeReplace, reinterpret_cast<unsigned char*>(argv[2]),
                    static_cast<int>(std::strlen(argv[2])));
    XSelectInput(display, window,
                 KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask);
    XMapRaised(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress || event.type == KeyRelease) {
            writeKey(out, &event.xkey);
        } else if (event.type == ButtonPress || event.type == ButtonRelease) {
            std::fprintf(out, "%s %u\n",
                         event.type == ButtonPress ? "ButtonPress" : "ButtonRelease",
                         event.xbutton.button);
        } else if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
        }
        std::fflush(out);
    }
}
