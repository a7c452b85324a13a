#include "platform/X11Desktop.h"

#include "platform/KeyNotation.h"
#include "platform/PauseKeyWatcher.h"
#include "platform/PlatformTexts.h"
#include "platform/X11ErrorTrap.h"
#include "platform/X11Keyboard.h"
#include "platform/X11WindowReader.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QScreen>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

// Xlib defines Status as a macro; ours is tapwise::Status.
#undef Status

#include <algorithm>
#include <cmath>
#include <thread>

namespace tapwise {
namespace {

// A turn of the wheel gives at most this many notches.
constexpr qint64 kMaxWheelNotches = 1000;

unsigned buttonNumber(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return Button1;
    case MouseButton::Right:
        return Button3;
    case MouseButton::Middle:
        break;
    }
    return Button2;
}

QClipboard* guiClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

// The key ranges an XKB map change touched, as (first, count) pairs; a
// change of the key types themselves is reported as the whole key range.
std::vector<std::pair<unsigned, unsigned>> changedKeyRanges(const XkbMapNotifyEvent& e) {
    std::vector<std::pair<unsigned, unsigned>> ranges;
    if (e.changed & XkbKeyTypesMask) {
        ranges.emplace_back(0, 256);
    }
    if (e.changed & XkbKeySymsMask) {
        ranges.emplace_back(e.first_key_sym, e.num_key_syms);
    }
    if (e.changed & XkbKeyActionsMask) {
        ranges.emplace_back(e.first_key_act, e.num_key_acts);
    }
    if (e.changed & XkbKeyBehaviorsMask) {
        ranges.emplace_back(e.first_key_behavior, e.num_key_behaviors);
    }
    if (e.changed & XkbExplicitComponentsMask) {
        ranges.emplace_back(e.first_key_explicit, e.num_key_explicit);
    }
    if (e.changed & XkbModifierMapMask) {
        ranges.emplace_back(e.first_modmap_key, e.num_modmap_keys);
    }
    if (e.changed & XkbVirtualModMapMask) {
        ranges.emplace_back(e.first_vmodmap_key, e.num_vmodmap_keys);
    }
    return ranges;
}

} // namespace

X11Desktop::X11Desktop(Display* display, const QString& lang) : display_(display), lang_(lang) {}

X11Desktop::~X11Desktop() {
    windows_.reset();
    pause_.reset();
    keyboard_.reset(); // releases our keys and puts spare key codes back
    XCloseDisplay(display_);
    trap_.reset();
}

Result<std::unique_ptr<X11Desktop>> X11Desktop::open(const QString& lang,
                                                     const QString& displayName) {
    const QByteArray name = displayName.toLocal8Bit();
    Display* display = XOpenDisplay(name.isEmpty() ? nullptr : name.constData());
    if (!display) {
        const QString shown = name.isEmpty() ? qEnvironmentVariable("DISPLAY") : displayName;
        return Error{kDisplayUnavailable, platform_text::kNoDisplay.in(lang).arg(shown)};
    }
    std::unique_ptr<X11Desktop> desktop(new X11Desktop(display, lang));
    Status status = desktop->init();
    if (!status) {
        return status.error();
    }
    return desktop;
}

Status X11Desktop::init() {
    trap_ = std::make_unique<X11ErrorTrap>(display_);
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        return Error{kDisplayUnavailable, platform_text::kNoXTest.in(lang_)};
    }
    // Our fake input goes through even while another client grabs the server.
    XTestGrabControl(display_, True);
    keyboard_ = std::make_unique<X11Keyboard>(display_, *trap_, lang_);
    if (Status status = keyboard_->init(); !status) {
        return status;
    }
    pause_ = std::make_unique<PauseKeyWatcher>(display_, *keyboard_);
    pause_->init(); // without XInput 2 the Pause key is only read as it is now
    windows_ = std::make_unique<X11WindowReader>(display_, *trap_);
    return synced();
}

bool X11Desktop::seesPauseTaps() const {
    return pause_->usesRawEvents();
}

void X11Desktop::failAfterKeyPresses(int presses) {
    keyboard_->failAfterKeyPresses(presses);
}

void X11Desktop::pumpEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (pause_->handleEvent(event)) {
            continue;
        }
        if (event.type == MappingNotify) {
            if (event.xmapping.request == MappingKeyboard) {
                keyboard_->noteMappingChange(event.xmapping.first_keycode, event.xmapping.count);
            } else {
                keyboard_->noteNewKeyboard();
            }
            XRefreshKeyboardMapping(&event.xmapping);
        } else if (event.type == keyboard_->xkbEventBase()) {
            const auto& xkb = reinterpret_cast<const XkbEvent&>(event);
            if (xkb.any.xkb_type == XkbStateNotify) {
                keyboard_->keyState().noteState(xkb.state.group, xkb.state.locked_mods);
            } else if (xkb.any.xkb_type == XkbNewKeyboardNotify) {
                keyboard_->noteNewKeyboard();
            } else if (xkb.any.xkb_type == XkbMapNotify) {
                for (const auto& [first, count] : changedKeyRanges(xkb.map)) {
                    keyboard_->noteMappingChange(first, count);
                }
            }
        }
    }
}

Status X11Desktop::synced() {
    return trap_->syncStatus(lang_);
}

Status X11Desktop::sendKeys(const QString& notation, bool wait) {
    auto strokes = parseKeyNotation(notation, lang_);
    if (!strokes) {
        return strokes.error();
    }
    if (trap_->lost()) {
        return trap_->lostError(lang_);
    }
    // Keymap and group changes the server made before this call (setxkbmap,
    // another layout) are read below from our queue. A round trip brings
    // them: reading the key state is one when that is older than 10 ms; a
    // fresher reading means a round trip has just finished, and what the
    // server sent since is on the connection, where pumpEvents() reads it.
    keyboard_->keyState().readIfOld();
    pumpEvents();
    Status status = keyboard_->type(strokes.value());
    if (!wait) {
        XFlush(display_);
    }
    return status;
}

Status X11Desktop::button(unsigned number, bool down) {
    XTestFakeButtonEvent(display_, number, down ? True : False, CurrentTime);
    return synced();
}

Status X11Desktop::click(MouseButton which) {
    Status status = button(buttonNumber(which), true);
    Status up = button(buttonNumber(which), false); // released on every path
    return status ? up : status;
}

Status X11Desktop::doubleClick() {
    Status status = click(MouseButton::Left);
    return status ? click(MouseButton::Left) : status;
}

Status X11Desktop::buttonDown(MouseButton which) {
    return button(buttonNumber(which), true);
}

Status X11Desktop::buttonUp(MouseButton which) {
    return button(buttonNumber(which), false);
}

Status X11Desktop::setPointer(QPoint position) {
    const int w = DisplayWidth(display_, DefaultScreen(display_));
    const int h = DisplayHeight(display_, DefaultScreen(display_));
    XTestFakeMotionEvent(display_, DefaultScreen(display_), std::clamp(position.x(), 0, w - 1),
                         std::clamp(position.y(), 0, h - 1), CurrentTime);
    return synced();
}

Status X11Desktop::movePointerBy(int dx, int dy) {
    // The protocol carries 16-bit offsets; more than a screen is never needed.
    const auto scaled = [](int units) {
        return int(std::clamp<qint64>(qint64(units) * kPixelsPerMouseUnit, -30000, 30000));
    };
    XTestFakeRelativeMotionEvent(display_, scaled(dx), scaled(dy), CurrentTime);
    return synced();
}

Status X11Desktop::turnWheel(int amount) {
    // Like a program on a fine-grained wheel, amounts short of a notch add
    // up until they make one.
    const qint64 total = qint64(wheelRest_) + amount;
    const qint64 notches =
        std::clamp<qint64>(total / kWheelNotch, -kMaxWheelNotches, kMaxWheelNotches);
    wheelRest_ = int(total % kWheelNotch);
    const unsigned number = notches > 0 ? Button4 : Button5;
    for (qint64 i = 0; i < std::abs(notches); ++i) {
        if (Status status = button(number, true); !status) {
            return status;
        }
        if (Status status = button(number, false); !status) {
            return status;
        }
    }
    return {};
}

QPoint X11Desktop::pointer() {
    Window root = None;
    Window child = None;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &winX,
                  &winY, &mask);
    return QPoint(rootX, rootY);
}

bool X11Desktop::pauseKeyPressed() {
    if (trap_->lost()) {
        return false;
    }
    pumpEvents();
    keyboard_->restoreIdleMappings();
    const auto readBefore = keyboard_->keyState().readAt();
    const bool down = pause_->keyDown();
    // The raw event of a press that a key state read now shows came before
    // its reply: taken now, so that the next query does not report it again.
    if (keyboard_->keyState().readAt() != readBefore) {
        pumpEvents();
    }
    const bool pressed = pause_->takeLatched() || down;
    return pressed && !trap_->lost(); // the key state of a lost connection is not read
}

ForegroundWindow X11Desktop::foregroundWindow() {
    return windows_->foreground();
}

Status X11Desktop::minimizeForegroundWindow() {
    if (trap_->lost()) {
        return trap_->lostError(lang_);
    }
    const unsigned long window = windows_->foregroundWindowId();
    if (window == 0) {
        return Error{kNoWindow, platform_text::kNoForegroundWindow.in(lang_)};
    }
    XIconifyWindow(display_, window, DefaultScreen(display_));
    return synced();
}

bool X11Desktop::clipboardHasText() {
    QClipboard* clipboard = guiClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}

QString X11Desktop::clipboardText() {
    QClipboard* clipboard = guiClipboard();
    return clipboard ? clipboard->text() : QString();
}

Status X11Desktop::setClipboardText(const QString& text) {
    QClipboard* clipboard = guiClipboard();
    if (!clipboard) {
        return Error{kClipboardUnavailable, platform_text::kNoClipboard.in(lang_)};
    }
    clipboard->setText(text);
    return {};
}

Status X11Desktop::clearClipboard() {
    QClipboard* clipboard = guiClipboard();
    if (!clipboard) {
        return Error{kClipboardUnavailable, platform_text::kNoClipboard.in(lang_)};
    }
    clipboard->clear();
    return {};
}

ClipboardContent X11Desktop::saveClipboard() {
    ClipboardContent content;
    QClipboard* clipboard = guiClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data) {
        return content;
    }
    if (data->hasText()) {
        content.hasText = true;
        content.text = data->text();
    } else if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        QBuffer buffer(&content.image);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return content;
}

Status X11Desktop::restoreClipboard(const ClipboardContent& content) {
    QClipboard* clipboard = guiClipboard();
    if (!clipboard) {
        return Error{kClipboardUnavailable, platform_text::kNoClipboard.in(lang_)};
    }
    if (content.hasText) {
        clipboard->setText(content.text);
    } else if (!content.image.isEmpty()) {
        clipboard->setImage(QImage::fromData(content.image, "PNG"));
    } else {
        clipboard->clear();
    }
    return {};
}

QSize X11Desktop::screenSize() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const qreal ratio = screen->devicePixelRatio();
            return QSize(qRound(screen->geometry().width() * ratio),
                         qRound(screen->geometry().height() * ratio));
        }
    }
    return QSize(DisplayWidth(display_, DefaultScreen(display_)),
                 DisplayHeight(display_, DefaultScreen(display_)));
}

void X11Desktop::beep() {
    XBell(display_, 0);
    XFlush(display_);
}

std::chrono::nanoseconds X11Desktop::monotonicTime() {
    return std::chrono::steady_clock::now().time_since_epoch();
}

QDateTime X11Desktop::currentDateTime() {
    return QDateTime::currentDateTime();
}

void X11Desktop::sleep(std::chrono::microseconds duration) {
    if (duration.count() > 0) {
        std::this_thread::sleep_for(duration);
    }
}

} // namespace tapwise
