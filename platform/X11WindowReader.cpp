#include "platform/X11WindowReader.h"

#include "platform/X11ErrorTrap.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Xlib defines Status as a macro; ours is tapwise::Status.
#undef Status

namespace tapwise {
namespace {

constexpr int kMaxWalk = 64;

// A property's raw bytes and type; empty when the window or property is gone.
struct Property {
    Atom type = None;
    int format = 0;
    QByteArray bytes;
    unsigned long items = 0;
};

Property readProperty(Display* display, Window window, Atom atom, long maxLongs = 1024) {
    Property p;
    unsigned char* data = nullptr;
    unsigned long after = 0;
    if (XGetWindowProperty(display, window, atom, 0, maxLongs, False, AnyPropertyType, &p.type,
                           &p.format, &p.items, &after, &data) != Success) {
        return {};
    }
    if (data) {
        const int size = p.format == 32 ? int(sizeof(long)) : p.format / 8;
        p.bytes = QByteArray(reinterpret_cast<const char*>(data), int(p.items) * size);
        XFree(data);
    }
    return p;
}

// Cuts a title to `max` characters without splitting a surrogate pair.
QString cut(QString text, int max) {
    if (text.size() > max) {
        text.truncate(text.at(max - 1).isHighSurrogate() ? max - 1 : max);
    }
    return text;
}

QString decodeCompoundText(Display* display, const Property& p, Atom type) {
    XTextProperty prop{reinterpret_cast<unsigned char*>(const_cast<char*>(p.bytes.constData())),
                       type, p.format, p.items};
    char** list = nullptr;
    int count = 0;
    QString text;
    if (Xutf8TextPropertyToTextList(display, &prop, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i) {
            text += QString::fromUtf8(list[i]);
        }
        XFreeStringList(list);
    } else {
        text = QString::fromLatin1(p.bytes);
    }
    return text;
}

} // namespace

X11WindowReader::X11WindowReader(Display* display, X11ErrorTrap& trap)
    : display_(display), trap_(trap), root_(DefaultRootWindow(display)),
      netActiveWindow_(XInternAtom(display, "_NET_ACTIVE_WINDOW", False)),
      netSupportingWmCheck_(XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False)),
      netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
      utf8String_(XInternAtom(display, "UTF8_STRING", False)),
      wmState_(XInternAtom(display, "WM_STATE", False)) {}

unsigned long X11WindowReader::windowProperty(unsigned long window, unsigned long atom) {
    const Property p = readProperty(display_, window, atom, 1);
    if (p.format != 32 || p.items < 1) {
        return 0;
    }
    return *reinterpret_cast<const unsigned long*>(p.bytes.constData());
}

bool X11WindowReader::hasProperty(unsigned long window, unsigned long atom) {
    return readProperty(display_, window, atom, 1).type != None;
}

// A window manager that follows the desktop conventions names a window of
// its own that names itself back; a stale name left by a manager that has
// ended does not.
bool X11WindowReader::windowManagerRuns() {
    const unsigned long check = windowProperty(root_, netSupportingWmCheck_);
    return check != 0 && windowProperty(check, netSupportingWmCheck_) == check;
}

unsigned long X11WindowReader::foregroundWindowId() {
    if (windowManagerRuns()) {
        const unsigned long active = windowProperty(root_, netActiveWindow_);
        if (active != 0) {
            trap_.sync();
            return active;
        }
    }
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    if (focus == PointerRoot || focus == root_) {
        focus = topLevelUnderPointer(); // keys go to the window under the pointer
    }
    unsigned long w = focus;
    for (int i = 0; i < kMaxWalk && w > PointerRoot && w != root_; ++i) {
        if (hasProperty(w, wmState_) || !title(w).isEmpty()) {
            trap_.sync();
            return w;
        }
        w = parent(w);
    }
    const unsigned long below = focus > PointerRoot && focus != root_ ? clientBelow(focus, 0) : 0;
    trap_.sync();
    return below;
}

unsigned long X11WindowReader::topLevelUnderPointer() {
    Window rootReturn = None;
    Window child = None;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    XQueryPointer(display_, root_, &rootReturn, &child, &x, &y, &x, &y, &mask);
    return child;
}

unsigned long X11WindowReader::parent(unsigned long window) {
    unsigned long parent = 0;
    children(window, &parent);
    return parent;
}

std::vector<unsigned long> X11WindowReader::children(unsigned long window, unsigned long* parent) {
    Window rootReturn = None;
    Window parentReturn = None;
    Window* list = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window, &rootReturn, &parentReturn, &list, &count)) {
        return {};
    }
    std::vector<unsigned long> found(list, list + count);
    if (list) {
        XFree(list);
    }
    if (parent) {
        *parent = parentReturn;
    }
    return found;
}

unsigned long X11WindowReader::clientBelow(unsigned long window, int depth) {
    if (depth > 8) {
        return 0;
    }
    for (const unsigned long child : children(window)) {
        const unsigned long found =
            hasProperty(child, wmState_) ? child : clientBelow(child, depth + 1);
        if (found) {
            return found;
        }
    }
    return 0;
}

QString X11WindowReader::title(unsigned long window) {
    const Property net = readProperty(display_, window, netWmName_);
    if (net.type == utf8String_ && !net.bytes.isEmpty()) {
        return QString::fromUtf8(net.bytes);
    }
    const Property name = readProperty(display_, window, XA_WM_NAME);
    if (name.format != 8 || name.bytes.isEmpty()) {
        return {};
    }
    if (name.type == utf8String_) {
        return QString::fromUtf8(name.bytes);
    }
    if (name.type == XA_STRING) {
        return QString::fromLatin1(name.bytes);
    }
    return decodeCompoundText(display_, name, name.type);
}

QString X11WindowReader::className(unsigned long window) {
    const Property p = readProperty(display_, window, XA_WM_CLASS);
    if (p.format != 8) {
        return {};
    }
    const QList<QByteArray> parts = p.bytes.split('\0');
    if (parts.size() > 1 && !parts[1].isEmpty()) {
        return QString::fromLatin1(parts[1]);
    }
    return parts.isEmpty() ? QString() : QString::fromLatin1(parts[0]);
}

ForegroundWindow X11WindowReader::foreground() {
    const unsigned long window = foregroundWindowId();
    if (window == 0) {
        return {};
    }
    ForegroundWindow result{cut(title(window), kMaxTitleLength), className(window)};
    if (!trap_.sync()) {
        return {}; // the window went away while it was read
    }
    return result;
}

} // namespace tapwise
