#include "platform/X11Desktop.h"

#include "common/NativePath.h"
#include "platform/KeyNotation.h"
#include "platform/PauseKeyWatcher.h"
#include "platform/PlatformTexts.h"
#include "platform/X11ErrorTrap.h"
#include "platform/X11Keyboard.h"
#include "platform/X11WindowReader.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QScreen>
#include <QStandardPaths>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

// Xlib defines Status as a macro; ours is tapwise::Status.
#undef Status

#include <algorithm>
#include <cmath>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace tapwise {
namespace {

// The longest the server may take to carry out one mouse event.
constexpr auto kInputDeadline = std::chrono::seconds(2);

// How long after a reply or a read our event queue counts as holding all
// the server has sent (see pumpEvents()).
constexpr auto kFreshQueue = std::chrono::milliseconds(1);

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

constexpr char kKeeperName[] = "tapwise-clipboard-keeper";
// How long the keeper may take to own the clipboard before we end anyway.
constexpr int kKeeperReadyMs = 3000;

// The keeper program: beside ours, or on the PATH.
QString keeperProgram() {
    const QString beside =
        QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kKeeperName);
    if (QFileInfo(beside).isExecutable()) {
        return beside;
    }
    return QStandardPaths::findExecutable(QLatin1String(kKeeperName));
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// Starts the keeper with the text on its input and waits until it reports
// that it owns the clipboard.
bool startKeeper(const QString& program, const QByteArray& text) {
    int input[2];
    int ready[2];
    if (::pipe2(input, O_CLOEXEC) != 0) {
        return false;
    }
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
    // It outlives us: it must hold none of our pipes (a caller waiting for
    // our output to end would wait for it) and print nothing to a terminal.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const QByteArray path = encodePath(program);
    char* argv[] = {const_cast<char*>(path.constData()), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(ready[1]);
    // The program is ending: a keeper that died early must not end it with
    // SIGPIPE before its last duties.
    std::signal(SIGPIPE, SIG_IGN);
    const bool sent = spawned == 0 && writeAll(input[1], text);
    ::close(input[1]);
    pollfd wait{ready[0], POLLIN, 0};
    char byte = 0;
    const bool owned =
        sent && ::poll(&wait, 1, kKeeperReadyMs) == 1 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return owned;
}

} // namespace

X11Desktop::X11Desktop(Display* display, const QString& lang) : display_(display), lang_(lang) {}

X11Desktop::~X11Desktop() {
    keepClipboard();
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

// Reading the connection when our queue is fresh finds nothing but costs a
// system call or two, and typing would pay them at every key. The queue is
// fresh for a moment after a reply (which came after every event the server
// sent before it) or after a read: while typing, a round trip ends every
// key. An event sent since waits for the next reply or the next read, at
// most a key or a millisecond later. (XFlush would read the connection too;
// what we send is flushed where it is sent.)
void X11Desktop::pumpEvents() {
    const auto now = std::chrono::steady_clock::now();
    const unsigned long processed = LastKnownRequestProcessed(display_);
    if (processed != seenProcessed_) {
        seenProcessed_ = processed;
        queueFreshAt_ = now;
    }
    const bool fresh = now - queueFreshAt_ < kFreshQueue;
    if (!fresh) {
        queueFreshAt_ = now;
    }
    while (XEventsQueued(display_, fresh ? QueuedAlready : QueuedAfterFlush) > 0) {
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
    // fresher reading means a round trip has just finished. What the server
    // sent since is on the connection, where pumpEvents() reads it unless
    // the last reply is under a millisecond old (a change that close to a
    // key could not be ordered before it anyway).
    keyboard_->keyState().readIfOld();
    pumpEvents();
    Status status = keyboard_->type(strokes.value());
    if (!wait) {
        XFlush(display_);
    }
    return status;
}

// The server queues XTest input and carries it out later than the request
// that made it: a round trip alone does not prove that a press, a release or
// a motion has happened. A drag whose motion was still queued when its
// release came selected nothing. So every mouse event is waited for until
// the pointer's state shows it, before the next one is sent.
bool X11Desktop::waitForPointer(const std::function<bool(QPoint, unsigned)>& reached) {
    const auto deadline = std::chrono::steady_clock::now() + kInputDeadline;
    for (;;) {
        const PointerState state = queryPointer();
        if (trap_->lost() || (state.onOurScreen && reached(state.position, state.buttons))) {
            return !trap_->lost();
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

Status X11Desktop::notCarriedOut(const QString& what) const {
    return Error{kDisplayFailed, platform_text::kInputNotCarriedOut.in(lang_).arg(what)};
}

Status X11Desktop::button(unsigned number, bool down) {
    XTestFakeButtonEvent(display_, number, down ? True : False, CurrentTime);
    Status status = synced();
    if (!status || number < Button1 || number > Button5) {
        return status;
    }
    const unsigned mask = Button1Mask << (number - Button1);
    if (!waitForPointer([&](QPoint, unsigned state) { return bool(state & mask) == down; })) {
        return trap_->lost()
                   ? trap_->lostError(lang_)
                   : notCarriedOut(QStringLiteral("button %1 %2")
                                       .arg(number)
                                       .arg(down ? QStringLiteral("down") : QStringLiteral("up")));
    }
    return {};
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
    return movePointer(
        QPoint(std::clamp(position.x(), 0, w - 1), std::clamp(position.y(), 0, h - 1)));
}

// Motion of the XTest pointer, as a hand on the mouse makes it (with the
// buttons held, a drag); should the server not carry it out, the pointer
// is warped there, which also makes motion events.
Status X11Desktop::movePointer(QPoint target) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), target.x(), target.y(), CurrentTime);
    Status status = synced();
    const auto there = [&](QPoint at, unsigned) { return at == target; };
    if (!status || waitForPointer(there)) {
        return status;
    }
    XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, target.x(), target.y());
    status = synced();
    if (!status || waitForPointer(there)) {
        return status;
    }
    return trap_->lost()
               ? trap_->lostError(lang_)
               : notCarriedOut(QStringLiteral("pointer %1,%2").arg(target.x()).arg(target.y()));
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

X11Desktop::PointerState X11Desktop::queryPointer() {
    Window root = None;
    Window child = None;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    const bool onOurScreen = XQueryPointer(display_, DefaultRootWindow(display_), &root, &child,
                                           &rootX, &rootY, &winX, &winY, &mask);
    return PointerState{QPoint(rootX, rootY), mask, onOurScreen};
}

QPoint X11Desktop::pointer() {
    return queryPointer().position;
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

// X11 keeps no clipboard: a selection ends with the client that owns it.
// After a check has put the user's clipboard back, we own it, and the text
// the user copied would go with this program. Where a clipboard manager
// runs, Qt hands the clipboard to it as the application ends; otherwise a
// small keeper process takes the text over and serves it until another
// program takes the clipboard. Only text is kept.
void X11Desktop::keepClipboard() {
    QClipboard* clipboard = guiClipboard();
    if (!clipboard || !clipboard->ownsClipboard() || trap_->lost()) {
        return;
    }
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText() ||
        XGetSelectionOwner(display_, XInternAtom(display_, "CLIPBOARD_MANAGER", False)) != None) {
        return;
    }
    const QString keeper = keeperProgram();
    if (!keeper.isEmpty() && !startKeeper(keeper, data->text().toUtf8())) {
        qWarning("Tapwise: the clipboard could not be kept after the program ends.");
    }
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
