#include "platform/FakeDesktop.h"

#include <algorithm>

namespace tapwise {
namespace {

QString buttonName(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return QStringLiteral("left");
    case MouseButton::Right:
        return QStringLiteral("right");
    case MouseButton::Middle:
        break;
    }
    return QStringLiteral("middle");
}

QString durationText(std::chrono::nanoseconds d) {
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(d).count();
    if (us % 1000 == 0) {
        return QStringLiteral("%1ms").arg(us / 1000);
    }
    return QStringLiteral("%1us").arg(us);
}

} // namespace

FakeDesktop::FakeDesktop() : start_(QDate(2024, 1, 2), QTime(9, 0)) {}

QStringList FakeDesktop::eventsExcept(const QString& operation) const {
    QStringList kept;
    for (const QString& line : events_) {
        if (line.section(u' ', 0, 0) != operation) {
            kept.append(line);
        }
    }
    return kept;
}

void FakeDesktop::putClipboardText(const QString& text) {
    clipboard_ = ClipboardContent{true, text, {}};
}

void FakeDesktop::putClipboardImage(const QByteArray& png) {
    clipboard_ = ClipboardContent{false, {}, png};
}

void FakeDesktop::pressPauseAt(std::chrono::nanoseconds time) {
    at(time, [](FakeDesktop& d) { d.pauseLatched_ = true; });
}

void FakeDesktop::pressPauseAtQuery(int n) {
    pauseAtQuery_ = pauseQueries_ + n;
}

void FakeDesktop::at(std::chrono::nanoseconds time, Action action) {
    scheduled_.emplace(time, std::move(action));
    runDueActions();
}

void FakeDesktop::failNext(const QString& operation, Error error) {
    failures_.insert_or_assign(operation, std::move(error));
}

void FakeDesktop::advance(std::chrono::nanoseconds duration) {
    now_ += std::max(duration, std::chrono::nanoseconds(0));
    runDueActions();
}

void FakeDesktop::runDueActions() {
    // An action may schedule further actions, so take them one at a time.
    while (!scheduled_.empty() && scheduled_.begin()->first <= now_) {
        Action action = std::move(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
        action(*this);
    }
}

Status FakeDesktop::record(const QString& line) {
    const QString operation = line.section(u' ', 0, 0);
    const auto failure = failures_.find(operation);
    if (failure != failures_.end()) {
        Error error = failure->second;
        failures_.erase(failure);
        return error;
    }
    events_.append(line);
    merging_ = false;
    return {};
}

Status FakeDesktop::sendKeys(const QString& notation, bool wait) {
    auto strokes = parseKeyNotation(notation, lang_);
    if (!strokes) {
        return strokes.error();
    }
    Status status =
        record((wait ? QStringLiteral("keys ") : QStringLiteral("keys-nowait ")) + notation);
    if (!status) {
        return status;
    }
    for (const KeyStroke& stroke : strokes.value()) {
        typed_ += strokeNotation(stroke);
    }
    if (keysHandler_) {
        keysHandler_(notation, *this);
    }
    return {};
}

Status FakeDesktop::click(MouseButton button) {
    return record(QStringLiteral("click ") + buttonName(button));
}

Status FakeDesktop::doubleClick() {
    return record(QStringLiteral("doubleclick"));
}

Status FakeDesktop::buttonDown(MouseButton button) {
    return record(QStringLiteral("button-down ") + buttonName(button));
}

Status FakeDesktop::buttonUp(MouseButton button) {
    return record(QStringLiteral("button-up ") + buttonName(button));
}

QPoint FakeDesktop::clamped(QPoint p) const {
    return QPoint(std::clamp(p.x(), 0, std::max(0, screen_.width() - 1)),
                  std::clamp(p.y(), 0, std::max(0, screen_.height() - 1)));
}

Status FakeDesktop::setPointer(QPoint position) {
    Status status = record(QStringLiteral("pointer %1,%2").arg(position.x()).arg(position.y()));
    if (status) {
        pointer_ = clamped(position);
    }
    return status;
}

Status FakeDesktop::movePointerBy(int dx, int dy) {
    Status status = record(QStringLiteral("move %1,%2").arg(dx).arg(dy));
    if (status) {
        const qint64 x = pointer_.x() + qint64(dx) * kPixelsPerMouseUnit;
        const qint64 y = pointer_.y() + qint64(dy) * kPixelsPerMouseUnit;
        pointer_ = clamped(QPoint(int(std::clamp<qint64>(x, INT_MIN, INT_MAX)),
                                  int(std::clamp<qint64>(y, INT_MIN, INT_MAX))));
    }
    return status;
}

Status FakeDesktop::turnWheel(int amount) {
    return record(QStringLiteral("wheel %1").arg(amount));
}

bool FakeDesktop::pauseKeyPressed() {
    ++pauseQueries_;
    bool pressed = pauseLatched_ || pauseHeld_;
    pauseLatched_ = false;
    if (pauseAtQuery_ && *pauseAtQuery_ == pauseQueries_) {
        pauseAtQuery_.reset();
        pressed = true;
    }
    return pressed;
}

Status FakeDesktop::minimizeForegroundWindow() {
    return record(QStringLiteral("minimize ") + foreground_.title);
}

Status FakeDesktop::setClipboardText(const QString& text) {
    Status status = record(QStringLiteral("clipboard-set ") + text);
    if (status) {
        clipboard_ = ClipboardContent{true, text, {}};
    }
    return status;
}

Status FakeDesktop::clearClipboard() {
    Status status = record(QStringLiteral("clipboard-clear"));
    if (status) {
        clipboard_ = {};
    }
    return status;
}

Status FakeDesktop::restoreClipboard(const ClipboardContent& content) {
    QString line = QStringLiteral("clipboard-restore empty");
    if (content.hasText) {
        line = QStringLiteral("clipboard-restore text ") + content.text;
    } else if (!content.image.isEmpty()) {
        line = QStringLiteral("clipboard-restore image %1 bytes").arg(content.image.size());
    }
    Status status = record(line);
    if (status) {
        clipboard_ = content.hasText ? ClipboardContent{true, content.text, {}} : content;
    }
    return status;
}

void FakeDesktop::beep() {
    (void)record(QStringLiteral("beep"));
}

QDateTime FakeDesktop::currentDateTime() {
    return start_.addMSecs(std::chrono::duration_cast<std::chrono::milliseconds>(now_).count());
}

void FakeDesktop::sleep(std::chrono::microseconds duration) {
    const std::chrono::nanoseconds step = std::max(duration, std::chrono::microseconds(0));
    sleepRun_ = merging_ ? sleepRun_ + step : step;
    if (merging_) {
        events_.last() = QStringLiteral("sleep ") + durationText(sleepRun_);
    } else {
        events_.append(QStringLiteral("sleep ") + durationText(sleepRun_));
    }
    merging_ = true;
    advance(step);
}

} // namespace tapwise
