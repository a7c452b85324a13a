// tapwise-clipboard-keeper: keeps a text on the CLIPBOARD selection after
// the program that owned it has ended.
//
// X11 has no clipboard storage of its own: a selection lives as long as the
// client that owns it. Tapwise puts the user's clipboard back after a
// check has used it, and so owns it when it ends; without a clipboard
// manager the text would be gone. Tapwise starts this small process with
// the text on its standard input; it takes the selection, writes one byte
// to its standard output once it owns it, and answers requests for the
// text until another client takes the selection (or the display ends).

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string readAll(int fd) {
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return text;
        }
        text.append(buffer, size_t(got));
    }
}

// STRING is Latin-1: the text's characters above U+00FF cannot be given so.
bool toLatin1(const std::string& utf8, std::string& out) {
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += char(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            out += char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

struct Atoms {
    Atom clipboard, targets, utf8, text, plainUtf8, plain, multiple, timestamp;
};

Atoms internAtoms(Display* display) {
    const auto atom = [&](const char* name) { return XInternAtom(display, name, False); };
    return {atom("CLIPBOARD"),
            atom("TARGETS"),
            atom("UTF8_STRING"),
            atom("TEXT"),
            atom("text/plain;charset=utf-8"),
            atom("text/plain"),
            atom("MULTIPLE"),
            atom("TIMESTAMP")};
}

// Answers one conversion request; the property is None when refused.
void answer(Display* display, const XSelectionRequestEvent& request, const Atoms& atoms,
            const std::string& text, Time owned, size_t maxBytes) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = request.property != None ? request.property : request.target;
    std::string latin1;
    if (request.target == atoms.targets) {
        const Atom list[] = {atoms.targets, atoms.timestamp, atoms.utf8, atoms.plainUtf8,
                             atoms.text,    atoms.plain,     XA_STRING};
        XChangeProperty(display, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(list), int(std::size(list)));
    } else if (request.target == atoms.timestamp) {
        const long time = long(owned);
        XChangeProperty(display, request.requestor, reply.property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&time), 1);
    } else if (text.size() <= maxBytes &&
               (request.target == atoms.utf8 || request.target == atoms.plainUtf8 ||
                request.target == atoms.text)) {
        XChangeProperty(display, request.requestor, reply.property, atoms.utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
    } else if (text.size() <= maxBytes &&
               (request.target == XA_STRING || request.target == atoms.plain) &&
               toLatin1(text, latin1)) {
        XChangeProperty(display, request.requestor, reply.property, request.target, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(latin1.data()),
                        int(latin1.size()));
    } else {
        reply.property = None; // MULTIPLE and large texts (INCR) are not offered
    }
    XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(display);
}

// A timestamp from the server: a PropertyNotify of our own change.
Time serverTime(Display* display, Window window) {
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    XWindowEvent(display, window, PropertyChangeMask, &event);
    return event.xproperty.time;
}

} // namespace

int main() {
    ::setsid();              // outlives the terminal session of the program that started it
    if (::chdir("/") != 0) { // keeps no folder busy
        return 1;
    }
    const std::string text = readAll(STDIN_FILENO);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return 1;
    }
    const Atoms atoms = internAtoms(display);
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    const Time owned = serverTime(display, window);
    XSetSelectionOwner(display, atoms.clipboard, window, owned);
    if (XGetSelectionOwner(display, atoms.clipboard) != window) {
        return 1;
    }
    const char ready = '1';
    if (::write(STDOUT_FILENO, &ready, 1) != 1) {
        return 1;
    }
    ::close(STDOUT_FILENO);
    const long units = XExtendedMaxRequestSize(display) ? XExtendedMaxRequestSize(display)
                                                        : XMaxRequestSize(display);
    const size_t maxBytes = size_t(units) * 4 - 100;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionClear && event.xselectionclear.window == window) {
            break; // another client has the clipboard now
        }
        if (event.type == SelectionRequest) {
            answer(display, event.xselectionrequest, atoms, text, owned, maxBytes);
        }
    }
    XCloseDisplay(display);
    return 0;
}
