#include "app/MousePositionWindow.h"

#include "app/MainWindowTexts.h"
#include "common/Settings.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace tapwise {
namespace {

constexpr int Width = 5325;
constexpr int Height = 390;
constexpr int LabelLeft = 300;
constexpr int LabelWidth = 4935;
constexpr int LabelHeight = 285;
constexpr int TickMilliseconds = 10;

} // namespace

MousePositionWindow::MousePositionWindow(const Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), lang_(settings.Lang),
      readPointer_([] { return QCursor::pos(); }) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(settings.MainTitle);
    positionLabel = named(new QLabel(this), "Label1");
    QFont bold = positionLabel->font();
    bold.setPointSizeF(12);
    bold.setBold(true);
    positionLabel->setFont(bold);
    // The widest text the label can hold: five-digit coordinates.
    const int widest = positionLabel->fontMetrics().horizontalAdvance(
        mainwindowtext::MousePositionLabel.in(lang_).arg(QStringLiteral("-88888"),
                                                         QStringLiteral("-88888")));
    const int labelWidth = std::max(TwipsToPixels(LabelWidth), widest + 4);
    const int labelHeight =
        std::max(TwipsToPixels(LabelHeight), positionLabel->fontMetrics().height());
    positionLabel->setGeometry(TwipsToPixels(LabelLeft), 0, labelWidth, labelHeight);
    setFixedSize(std::max(TwipsToPixels(Width), labelWidth + 2 * TwipsToPixels(LabelLeft)),
                 std::max(TwipsToPixels(Height), labelHeight + 4));

    timer = named(new QTimer(this), "Timer1");
    timer->setInterval(TickMilliseconds);
    connect(timer, &QTimer::timeout, this, &MousePositionWindow::Timer1_Timer);
    Timer1_Timer();
    timer->start();
}

QString MousePositionWindow::text() const {
    return positionLabel->text();
}

void MousePositionWindow::Timer1_Timer() {
    const QPoint at = readPointer_();
    const QString text = mainwindowtext::MousePositionLabel.in(lang_).arg(at.x()).arg(at.y());
    if (text != positionLabel->text())
        positionLabel->setText(text);
}

void MousePositionWindow::closeEvent(QCloseEvent* event) {
    timer->stop();
    event->accept();
    emit closed();
}

} // namespace tapwise
