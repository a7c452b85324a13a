#include "app/PauseWindow.h"

#include "app/AppTexts.h"
#include "gui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace tapwise {
namespace {

constexpr int MessageLeft = 120;
constexpr int MessageTop = 120;
constexpr int MessageWidth = 5700;
constexpr int MessageLines = 1800;
constexpr int CountdownLeft = 5880;
constexpr int CountdownWidth = 1200;
constexpr int CountdownHeight = 255;
constexpr int FrameBelowTop = 100; // a shortened frame ends this far below a row's top
constexpr int TickMilliseconds = 10;

QRect twipRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// The message arrives with Windows line ends in places; a label breaks
// lines at line feeds only.
QString withLineFeeds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

PauseWindow::PauseWindow(QString lang) : lang_(std::move(lang)) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("Form9"));
    buildControls();
}

QPushButton* PauseWindow::answerBox(const char* name, const QString& caption, int left, int top) {
    auto* box = new QPushButton(caption, Frame1);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(twipRect(left, top, pauseWindow::AnswerWidth, pauseWindow::AnswerHeight));
    return box;
}

void PauseWindow::buildControls() {
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipRect(MessageLeft, MessageTop, MessageWidth, MessageLines));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextFormat(Qt::PlainText);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(twipRect(CountdownLeft, MessageTop, CountdownWidth, CountdownHeight));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label2->hide();
    Command2 = new QPushButton(apptext::Ok.in(lang_), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipRect((pauseWindow::Width - pauseWindow::OkWidth) / 2,
                                   pauseWindow::OkTop, pauseWindow::OkWidth,
                                   pauseWindow::AnswerHeight));
    connect(Command2, &QPushButton::clicked, this, [this] { answerWith(QStringLiteral("OK")); });
    buildAnswers();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &PauseWindow::Timer1_Timer);
    setFixedSize(TwipsToPixels(pauseWindow::Width), TwipsToPixels(pauseWindow::FullHeight));
}

void PauseWindow::buildAnswers() {
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipRect(pauseWindow::FrameLeft, pauseWindow::FrameTop,
                                 pauseWindow::FrameWidth, pauseWindow::FrameHeight));
    using namespace pauseWindow;
    Check1 = answerBox("Check1", apptext::Resume.in(lang_), LeftColumn, FirstRow);
    Check3 = answerBox("Check3", apptext::Cancel.in(lang_), RightColumn, FirstRow);
    Check4 = answerBox("Check4", apptext::NextRow.in(lang_), LeftColumn, RowRow);
    Check5 = answerBox("Check5", apptext::ThisRow.in(lang_), RightColumn, RowRow);
    Check6 = answerBox("Check6", apptext::NextLoop.in(lang_), LeftColumn, LoopRow);
    Check7 = answerBox("Check7", apptext::ThisLoop.in(lang_), RightColumn, LoopRow);
    const std::pair<QPushButton*, const char*> answers[] = {
        {Check1, "P"}, {Check3, "C"}, {Check4, "E"}, {Check5, "R"}, {Check6, "F"}, {Check7, "T"}};
    for (const auto& [box, answer] : answers)
        connect(box, &QPushButton::clicked, this,
                [this, code = QString::fromLatin1(answer)] { answerWith(code); });
}

void PauseWindow::prepare(const RunUi::MessageRequest& request) {
    PauseAnswer.clear();
    setWindowTitle(request.caption);
    Label1->setText(withLineFeeds(request.text));
    styleMessage(request.mode);
    if (request.mode == 0) {
        Frame1->hide();
        Command2->show();
        fitMessage();
    } else {
        Command2->hide();
        showAnswers(request);
    }
    PauseCountdown = request.countdownSeconds;
    Label2->hide();
    loadTime_.start();
    if (PauseCountdown > 0)
        Timer1->start(TickMilliseconds);
}

// The answers a pause offers: Resume and Cancel; the row restarts when a
// worksheet is in use; the loop restarts when it also has loop lines. The
// frame and the window shrink to the rows shown.
void PauseWindow::showAnswers(const RunUi::MessageRequest& request) {
    using namespace pauseWindow;
    Frame1->show();
    Check4->setVisible(request.worksheet);
    Check5->setVisible(request.worksheet);
    Check6->setVisible(request.worksheet && request.loops);
    Check7->setVisible(request.worksheet && request.loops);
    int frameHeight = FrameHeight;
    int height = FullHeight;
    if (!request.worksheet) {
        frameHeight = RowRow + FrameBelowTop;
        height -= LessWithoutWorksheet;
    } else if (!request.loops) {
        frameHeight = LoopRow + FrameBelowTop;
        height -= LessWithoutLoops;
    }
    Frame1->setFixedHeight(TwipsToPixels(frameHeight));
    setFixedHeight(TwipsToPixels(height));
    Check1->setFocus();
}

// The report at its own height, unless a long one (a failure's text) needs
// more: then the message area, the OK button and the window grow by that.
void PauseWindow::fitMessage() {
    const QRect text = Label1->fontMetrics().boundingRect(
        QRect(0, 0, Label1->width(), QWIDGETSIZE_MAX), Label1->alignment(), Label1->text());
    const int extra = std::max(0, text.height() - TwipsToPixels(MessageLines));
    Label1->resize(Label1->width(), TwipsToPixels(MessageLines) + extra);
    Command2->move(Command2->x(), TwipsToPixels(pauseWindow::OkTop) + extra);
    setFixedHeight(TwipsToPixels(pauseWindow::MessageHeight) + extra);
}

// A pause is bold; a difference found by a check is red.
void PauseWindow::styleMessage(int mode) {
    QFont font = Label1->font();
    font.setBold(mode == 1);
    Label1->setFont(font);
    QPalette colors = Label1->palette();
    colors.setColor(QPalette::WindowText,
                    mode >= 2 ? QColor(255, 0, 0) : palette().color(QPalette::WindowText));
    Label1->setPalette(colors);
}

QString PauseWindow::ask(const RunUi::MessageRequest& request) {
    prepare(request);
    exec();
    Timer1->stop();
    return PauseAnswer;
}

void PauseWindow::answerWith(const QString& answer) {
    PauseAnswer = answer;
    Timer1->stop();
    accept();
}

// The countdown runs from the moment the window was prepared; when it has
// run out, the window answers Resume by itself.
void PauseWindow::Timer1_Timer() {
    Label2->show();
    const double remaining = PauseCountdown - loadTime_.elapsed() / 1000.0;
    Label2->setText(QString::number(remaining, 'f', 2));
    if (remaining <= 0) {
        PauseCountdown = 0;
        answerWith(QStringLiteral("P"));
    }
}

} // namespace tapwise
