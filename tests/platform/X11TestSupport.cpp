#include "X11TestSupport.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#undef Status

namespace tapwise::test {
namespace {

struct Connection {
    explicit Connection(const QString& name)
        : display(XOpenDisplay(name.toLocal8Bit().constData())) {}
    ~Connection() {
        if (display) {
            XCloseDisplay(display);
        }
    }
    Display* display;
};

} // namespace

QList<unsigned> keysDown(const QString& display) {
    Connection c(display);
    QList<unsigned> down;
    if (!c.display) {
        return {0}; // reported as a key down: the check must not pass by accident
    }
    char keys[32];
    XQueryKeymap(c.display, keys);
    for (unsigned kc = 0; kc < 256; ++kc) {
        if (keys[kc / 8] & (1 << (kc % 8))) {
            down << kc;
        }
    }
    return down;
}

QList<unsigned long> allLevelOneKeysyms(const QString& display) {
    Connection c(display);
    int min = 0;
    int max = 0;
    XDisplayKeycodes(c.display, &min, &max);
    int per = 0;
    KeySym* syms = XGetKeyboardMapping(c.display, min, max - min + 1, &per);
    QList<unsigned long> out;
    for (int i = 0; i <= max - min; ++i) {
        out << syms[i * per];
    }
    XFree(syms);
    return out;
}

void lockCapsLock(const QString& display, bool on) {
    Connection c(display);
    XkbLockModifiers(c.display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
    XSync(c.display, False);
}

void lockGroup(const QString& display, int group) {
    Connection c(display);
    XkbLockGroup(c.display, XkbUseCoreKbd, group);
    XSync(c.display, False);
}

bool capsLockOn(const QString& display) {
    Connection c(display);
    XkbStateRec state{};
    XkbGetState(c.display, XkbUseCoreKbd, &state);
    return state.locked_mods & LockMask;
}

void focusFollowsPointer(const QString& display, bool rootFocused) {
    Connection c(display);
    XSetInputFocus(c.display, rootFocused ? DefaultRootWindow(c.display) : PointerRoot,
                   RevertToPointerRoot, CurrentTime);
    XSync(c.display, False);
}

KeyboardGrab::KeyboardGrab(const QString& display)
    : display_(XOpenDisplay(display.toLocal8Bit().constData())) {
    active_ = display_ && XGrabKeyboard(display_, DefaultRootWindow(display_), False, GrabModeAsync,
                                        GrabModeAsync, CurrentTime) == GrabSuccess;
    if (display_) {
        XSync(display_, False);
    }
}

KeyboardGrab::~KeyboardGrab() {
    if (display_) {
        XCloseDisplay(display_);
    }
}

QString notationFor(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (QStringView(u"+^%~()[]{}").contains(c)) {
            out += u'{' + QString(c) + u'}';
        } else if (c == u'\n') {
            out += u'~';
        } else {
            out += c;
        }
    }
    return out;
}

QString mixedText(int minimumLength) {
    QString ascii;
    for (char16_t c = 0x21; c < 0x7f; ++c) {
        ascii += QChar(c);
    }
    const QStringList lines = {
        ascii.left(47),
        ascii.mid(47),
        QString::fromUtf8("The Quick Brown Fox jumps over 13 lazy dogs.\tTab\tstops"),
        QString::fromUtf8("café é € ß Straße Ärger ü ñ ł Łódź ç 😀 ll mm ooo 11 %%%% ^^ ++"),
        QStringLiteral("({[<>]}) ~a~ \"quoted\" 'single' back\\slash a|b 100% #1 $2 &3 *4 _5"),
    };
    QString text;
    for (int i = 0; text.size() < minimumLength; ++i) {
        text += lines[i % lines.size()] + QStringLiteral(" %1\n").arg(i);
    }
    return text;
}

void X11DesktopTest::SetUp() {
    ASSERT_TRUE(server_.start()) << server_.error().toStdString();
    auto desktop = X11Desktop::open(QStringLiteral("E"), server_.display());
    ASSERT_TRUE(desktop) << desktop.error().message.toStdString();
    desktop_ = std::move(desktop).value();
}

void X11DesktopTest::TearDown() {
    desktop_.reset();
    wm_.stop();
    server_.stop();
}

bool X11DesktopTest::startWindowManager() {
    return wm_.start(server_);
}

} // namespace tapwise::test
