#include "app/StartWindow.h"

#include "app/AppTexts.h"
#include "app/NumberBox.h"
#include "app/NumberInput.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int FormWidth = 6300;
constexpr int Margin = 180;
constexpr int TextWidth = FormWidth - 2 * Margin;
constexpr int BoxWidth = 1200;
constexpr int ButtonWidth = 1260;

} // namespace

StartWindow::StartWindow(QString lang) : lang_(std::move(lang)) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("Form10"));
    buildControls();
}

void StartWindow::buildControls() {
    Label1 = named(new QLabel(this), "Label1");
    Label1->setWordWrap(true);
    Label1->setFixedWidth(TwipsToPixels(TextWidth));
    Label3 = named(new QLabel(apptext::StartUsePause.in(lang_), this), "Label3");
    Frame1 = named(new QGroupBox(this), "Frame1");
    Label2 = named(new QLabel(apptext::StartRowLabel.in(lang_), Frame1), "Label2");
    Text1 = named(new NumberBox(StartRowTextValid, QStringLiteral("2"), Frame1), "Text1");
    Text1->setFixedWidth(TwipsToPixels(BoxWidth));
    Label2->setBuddy(Text1);
    auto* frameRow = new QHBoxLayout(Frame1);
    frameRow->addWidget(Label2);
    frameRow->addStretch();
    frameRow->addWidget(Text1);

    Command2 = named(new QPushButton(apptext::Go.in(lang_), this), "Command2");
    Command1 = named(new QPushButton(apptext::Exit.in(lang_), this), "Command1");
    for (QPushButton* button : {Command2, Command1})
        button->setMinimumWidth(TwipsToPixels(ButtonWidth));
    Command2->setDefault(true);
    connect(Command2, &QPushButton::clicked, this, &StartWindow::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &StartWindow::Command1_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->setContentsMargins(TwipsToPixels(Margin), TwipsToPixels(Margin), TwipsToPixels(Margin),
                               TwipsToPixels(Margin));
    column->addWidget(Label1);
    column->addSpacing(TwipsToPixels(60));
    column->addWidget(Label3);
    column->addWidget(Frame1);
    column->addSpacing(TwipsToPixels(60));
    column->addLayout(buttons);
}

void StartWindow::prepare(const RunUi::StartRequest& request) {
    answer_ = {};
    setWindowTitle(request.caption);
    Label1->setText(apptext::StartIntro.in(lang_) + QStringLiteral("\n\n") + request.description);
    const QString frameTitle = apptext::StartExcelFile.in(lang_) + request.excelFile;
    Frame1->setTitle(QFontMetrics(Frame1->font())
                         .elidedText(frameTitle, Qt::ElideMiddle, TwipsToPixels(TextWidth - 240)));
    Frame1->setToolTip(frameTitle);
    Frame1->setVisible(!request.excelFile.isEmpty());
    Text1->setText(QStringLiteral("2"));
    Command2->setFocus();
}

RunUi::StartAnswer StartWindow::ask(const RunUi::StartRequest& request) {
    prepare(request);
    exec();
    return answer_;
}

// Go: a start row that is not valid does not start the run; the box keeps
// the focus until it holds one.
void StartWindow::Command2_Click() {
    std::optional<int> row = 2;
    if (Frame1->isVisibleTo(this)) {
        row = StartRowValue(Text1->text());
        if (!row) {
            Text1->reclaimFocus();
            return;
        }
    }
    answer_ = {true, *row};
    accept();
}

void StartWindow::Command1_Click() {
    answer_ = {false, 2};
    reject();
}

} // namespace tapwise
