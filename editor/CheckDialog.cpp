#include "editor/CheckDialog.h"

#include "editor/BoxColours.h"
#include "editor/DialogRules.h"
#include "editor/EntryDialogFrame.h"
#include "editor/EntryDialogTexts.h"
#include "editor/PointerPosition.h"
#include "editor/ValueBox.h"
#include "gui/MessageBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int NumberLength = 4;
constexpr int TextLength = 20;
constexpr int ExplanationWidth = 7800; // twips
constexpr int NumberWidth = 1000;
constexpr int TextWidth = 3600;
constexpr int Margin = EntryDialogMargin;

} // namespace

CheckDialog::CheckDialog(QString lang, QString keys, QWidget* parent)
    : QDialog(parent), EditorKeys(std::move(keys)), lang_(std::move(lang)) {
    setObjectName(QStringLiteral("Form11"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(entrytext::CheckCaption.in(lang_));
    buildControls();
    layOutControls();
    Form_Load();
}

// The controls outlive this object's own part of the destruction and may
// still report a change (a scroll, a focus leaving); nothing reaches the
// dialog from then on.
CheckDialog::~CheckDialog() {
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void CheckDialog::buildControls() {
    Label1 = named(new QLabel(entrytext::CheckExplanation.in(lang_), this), "Label1");
    Label1->setWordWrap(true);
    Label1->setFixedWidth(TwipsToPixels(ExplanationWidth));
    Label2 = named(new QLabel(QString::fromLatin1(entrytext::CheckX), this), "Label2");
    Label3 = named(new QLabel(QString::fromLatin1(entrytext::CheckY), this), "Label3");
    Label4 = named(new QLabel(QString::fromLatin1(entrytext::CheckSeconds), this), "Label4");
    Label5 = named(new QLabel(entrytext::CheckText.in(lang_), this), "Label5");
    Text1 = named(new ValueBox(NumberLength, this), "Text1");
    Text2 = named(new ValueBox(NumberLength, this), "Text2");
    Text3 = named(new ValueBox(NumberLength, this), "Text3");
    Text4 = named(new ValueBox(TextLength, this), "Text4");
    Label2->setBuddy(Text1);
    Label3->setBuddy(Text2);
    Label4->setBuddy(Text3);
    Label5->setBuddy(Text4);
    for (ValueBox* box : {Text1, Text2, Text3}) {
        box->setFixedWidth(TwipsToPixels(NumberWidth));
        connect(box, &QLineEdit::textChanged, this, [this, box] { Number_Change(box); });
    }
    Text4->setFixedWidth(TwipsToPixels(TextWidth));
    connect(Text4, &QLineEdit::textChanged, this, [this] { setBoxNormal(Text4); });
    connect(Text3, &ValueBox::left, this, &CheckDialog::Text3_LostFocus);
    Check1 = named(new QCheckBox(entrytext::CheckClipboard.in(lang_), this), "Check1");
    connect(Check1, &QCheckBox::toggled, this, &CheckDialog::Check1_Click);
    PointerShown = new PointerPosition(lang_, this);
    connect(PointerShown, &PointerPosition::taken, this, &CheckDialog::PointerTaken);
    const OkExitButtons buttons = makeOkExitButtons(this);
    Command1 = buttons.ok;
    Command2 = buttons.exit;
    connect(Command1, &QPushButton::clicked, this, &CheckDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CheckDialog::reject);
}

void CheckDialog::layOutControls() {
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(TwipsToPixels(Margin));
    boxes->addWidget(Label2, 0, 0);
    boxes->addWidget(Text1, 0, 1);
    boxes->addWidget(Label3, 1, 0);
    boxes->addWidget(Text2, 1, 1);
    boxes->addWidget(PointerShown, 0, 2, 2, 1);
    boxes->addWidget(Label4, 2, 0);
    boxes->addWidget(Text3, 2, 1);
    boxes->addWidget(Label5, 3, 0, 1, 3);
    boxes->addWidget(Text4, 4, 0, 1, 3, Qt::AlignLeft);
    boxes->addWidget(Check1, 5, 0, 1, 3);
    boxes->setColumnStretch(2, 1);
    layOutEntryDialog(this, Label1, boxes, {Command1, Command2});
}

// An existing check line shows its values; a clipboard check shows no
// position.
void CheckDialog::Form_Load() {
    const CheckValues values = checkValuesOf(EditorKeys);
    Text1->setFullText(values.x);
    Text2->setFullText(values.y);
    Text3->setFullText(values.seconds);
    Text4->setFullText(values.text);
    Check1->setChecked(values.clipboard);
    Check1_Click();
    (values.clipboard ? Text3 : Text1)->setFocus();
}

CheckValues CheckDialog::values() const {
    return {Text1->text(), Text2->text(), Text3->text(), Text4->text(), Check1->isChecked()};
}

void CheckDialog::Number_Change(ValueBox* box) {
    if (checkNumberColour(box->text()) == BoxColour::Red)
        setBoxRed(box);
    else
        setBoxNormal(box);
}

void CheckDialog::Text3_LostFocus() {
    if (Text3->text().trimmed().isEmpty())
        Text3->setText(QStringLiteral("0"));
}

void CheckDialog::Check1_Click() {
    const bool position = !Check1->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{Label2, Label3, Text1, Text2, PointerShown})
        control->setVisible(position);
}

void CheckDialog::PointerTaken(QPoint position) {
    if (Check1->isChecked())
        return;
    Text1->setText(QString::number(position.x()));
    Text2->setText(QString::number(position.y()));
}

void CheckDialog::refuse(ValueBox* box, const QString& message) {
    setBoxRed(box);
    box->reclaimFocus();
    if (!message.isEmpty())
        MessageBox::show(this, QString::fromLatin1(entrytext::MessageTitle), message);
}

void CheckDialog::Command1_Click() {
    const CheckValues typed = values();
    const CheckOutcome outcome = buildCheckLine(typed);
    switch (outcome.problem) {
    case CheckProblem::BadX:
        return refuse(Text1);
    case CheckProblem::BadY:
        return refuse(Text2);
    case CheckProblem::BadSeconds:
        return refuse(Text3);
    case CheckProblem::OneBlank:
        MessageBox::show(this, QString::fromLatin1(entrytext::MessageTitle),
                         entrytext::BothBlank.in(lang_));
        return;
    case CheckProblem::EmptyText:
        return refuse(Text4, entrytext::MustNotBeEmpty.in(lang_));
    case CheckProblem::ForbiddenText:
        return refuse(Text4, entrytext::ForbiddenCharacters.in(lang_));
    case CheckProblem::LongText:
        return refuse(Text4);
    case CheckProblem::None:
        break;
    }
    EditorKeys = outcome.line;
    const bool blank = typed.clipboard || typed.x.trimmed().isEmpty();
    DialogValue1 = blank ? -1 : checkValuesOf(outcome.line).x.toInt();
    DialogValue2 = blank ? -1 : checkValuesOf(outcome.line).y.toInt();
    accept();
}

void CheckDialog::reject() {
    EditorKeys.clear();
    QDialog::reject();
}

} // namespace tapwise
