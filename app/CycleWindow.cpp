#include "app/CycleWindow.h"

#include "app/AppTexts.h"
#include "app/NumberBox.h"
#include "app/NumberInput.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int FormWidth = 7200;
constexpr int Margin = 180;
constexpr int SentHeight = 1800;
constexpr int BoxWidth = 1200;
constexpr int ButtonWidth = 1260;
constexpr int RunningWidth = 165; // pixels
constexpr int RunningHeight = 90;

} // namespace

CycleWindow::CycleWindow(QString lang, QString title) : lang_(std::move(lang)) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(title);
    buildControls();
}

void CycleWindow::buildControls() {
    Label1 = named(new QLabel(this), "Label1");
    Label1->setWordWrap(true);
    Label1->setFixedWidth(TwipsToPixels(FormWidth - 2 * Margin));
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setReadOnly(true);
    Text1->setFixedHeight(TwipsToPixels(SentHeight));
    Label2 = named(new QLabel(apptext::ChangeWaitTime.in(lang_), this), "Label2");
    Text2 = named(new NumberBox(WaitPercentTextValid, QStringLiteral("100"), this), "Text2");
    Text2->setText(QStringLiteral("100"));
    Text2->setFixedWidth(TwipsToPixels(BoxWidth));
    Label2->setBuddy(Text2);
    Command2 = named(new QPushButton(apptext::Yes.in(lang_), this), "Command2");
    Command3 = named(new QPushButton(apptext::No.in(lang_), this), "Command3");
    Command4 = named(new QPushButton(apptext::Exit.in(lang_), this), "Command4");
    for (QPushButton* button : {Command2, Command3, Command4})
        button->setMinimumWidth(TwipsToPixels(ButtonWidth));
    connect(Command2, &QPushButton::clicked, this, &CycleWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &CycleWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &CycleWindow::Command4_Click);
    layOutControls();
}

void CycleWindow::layOutControls() {
    auto* percentRow = new QHBoxLayout;
    percentRow->addWidget(Label2);
    percentRow->addWidget(Text2);
    percentRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {Command2, Command3, Command4})
        buttons->addWidget(button);
    layout_ = new QVBoxLayout(this);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    layout_->setContentsMargins(TwipsToPixels(Margin), TwipsToPixels(Margin), TwipsToPixels(Margin),
                                TwipsToPixels(Margin));
    layout_->addWidget(Label1);
    layout_->addWidget(Text1);
    layout_->addLayout(percentRow);
    layout_->addSpacing(TwipsToPixels(60));
    layout_->addLayout(buttons);
    // No is second in the tab order, right after the data sent.
    setTabOrder(Text1, Command3);
    setTabOrder(Command3, Command2);
    setTabOrder(Command2, Command4);
    setTabOrder(Command4, Text2);
}

void CycleWindow::prepare(const RunUi::CycleRequest& request) {
    answer_ = {QStringLiteral("NO"), WaitPercentValue(Text2->text()).value_or(100)};
    setWindowTitle(request.caption);
    Label1->setText(request.message);
    Text1->setPlainText(request.sentText);
    Label2->show();
    Text2->show();
    Command3->setFocus();
}

RunUi::CycleAnswer CycleWindow::ask(const RunUi::CycleRequest& request) {
    prepare(request);
    exec();
    return answer_;
}

// The percentage in the box, unless it is not valid: then the box keeps the
// focus and the dialog stays open.
bool CycleWindow::takeWaitPercent() {
    const std::optional<int> percent = WaitPercentValue(Text2->text());
    if (!percent) {
        Text2->reclaimFocus();
        return false;
    }
    answer_.waitPercent = *percent;
    return true;
}

void CycleWindow::Command2_Click() {
    if (!takeWaitPercent())
        return;
    answer_.noMsg = QStringLiteral("YES");
    accept();
}

void CycleWindow::Command3_Click() {
    if (!takeWaitPercent())
        return;
    answer_.noMsg = QStringLiteral("NO");
    accept();
}

void CycleWindow::Command4_Click() {
    (void)takeWaitPercent();
    answer_.noMsg = QStringLiteral("CANCEL");
    QDialog::reject();
}

// Closed with its close box or Escape: the run goes on and asks again after
// the next row, with the last valid percentage.
void CycleWindow::reject() {
    answer_.noMsg = QStringLiteral("NO");
    QDialog::reject();
}

void CycleWindow::becomeRunningWindow(const QString& caption, const QString& text,
                                      const QRect& screen) {
    hide();
    for (QWidget* control :
         std::initializer_list<QWidget*>{Text1, Label2, Text2, Command2, Command3, Command4})
        control->hide();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(caption);
    layout_->setSizeConstraint(QLayout::SetNoConstraint);
    layout_->setContentsMargins(4, 4, 4, 4);
    Label1->setMinimumWidth(0);
    Label1->setMaximumWidth(QWIDGETSIZE_MAX);
    Label1->setAlignment(Qt::AlignCenter);
    QPalette colors = Label1->palette();
    colors.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label1->setPalette(colors);
    Label1->setText(text);
    setFixedSize(RunningWidth, RunningHeight);
    move(screen.right() + 1 - RunningWidth, screen.bottom() + 1 - RunningHeight);
    RunningWindowShown = true;
    showMinimized();
}

void CycleWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && RunningWindowShown && isActiveWindow())
        activated_ = true;
}

void CycleWindow::showNotice(const QString& text, std::chrono::milliseconds duration) {
    Label1->setText(text);
    if (isMinimized())
        showNormal();
    QEventLoop pause;
    QTimer::singleShot(duration, &pause, &QEventLoop::quit);
    pause.exec();
    hide();
}

} // namespace tapwise
