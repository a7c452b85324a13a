#include "editor/PointerPosition.h"

#include "editor/EntryDialogTexts.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace tapwise {
namespace {

// Often enough to follow the hand, rarely enough to cost nothing.
constexpr int RefreshMilliseconds = 50;

} // namespace

PointerPosition::PointerPosition(const QString& lang, QWidget* window)
    : QLabel(window), lang_(lang), source_(&PointerPosition::screenPointer) {
    setObjectName(QStringLiteral("PointerPosition"));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, palette().color(QPalette::PlaceholderText));
    setPalette(colours);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &PointerPosition::refresh);
    timer_->start(RefreshMilliseconds);
    auto* take = new QShortcut(QKeySequence(Qt::Key_F8), window);
    connect(take, &QShortcut::activated, this, [this] {
        if (isVisible())
            emit taken(position());
    });
    refresh();
}

void PointerPosition::setSource(Source source) {
    source_ = std::move(source);
    refresh();
}

void PointerPosition::refresh() {
    const QPoint at = position();
    setText(entrytext::PointerAt.in(lang_).arg(at.x()).arg(at.y()) + u'\n' +
            entrytext::PointerTake.in(lang_));
}

QPoint PointerPosition::screenPointer() {
    const QPoint logical = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(logical);
    if (!screen)
        return logical;
    // Qt gives positions in scaled units; the desktop counts pixels.
    const QPoint origin = screen->geometry().topLeft();
    const qreal ratio = screen->devicePixelRatio();
    return origin + (logical - origin) * ratio;
}

} // namespace tapwise
