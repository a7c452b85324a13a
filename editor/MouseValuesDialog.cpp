#include "editor/MouseValuesDialog.h"

#include "editor/BoxColours.h"
#include "editor/DialogRules.h"
#include "editor/EntryDialogFrame.h"
#include "editor/EntryDialogTexts.h"
#include "editor/PointerPosition.h"
#include "editor/ValueBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int ValueLength = 4;
// Widths drawn in twips; the prompt is wider than the original form so that
// the longer texts keep to a few lines in today's fonts.
constexpr int PromptWidth = 5400;
constexpr int BoxWidth = 1335;
constexpr int Margin = EntryDialogMargin;

void makeBold(QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

} // namespace

MouseValuesDialog::MouseValuesDialog(QString lang, QString keys, QWidget* parent)
    : QDialog(parent), lang_(std::move(lang)), EditorKeys(std::move(keys)),
      signed_(mouseValuesSigned(EditorKeys)) {
    setObjectName(QStringLiteral("Form5"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(entrytext::MouseCaption.in(lang_));
    buildControls();
    setTexts();
    layOutControls();
    const MouseBoxTexts texts = mouseBoxTexts(EditorKeys);
    Text1->setFullText(texts.first);
    Text2->setFullText(texts.second);
    Text1->setFocus();
}

// The controls outlive this object's own part of the destruction and may
// still report a change (a scroll, a focus leaving); nothing reaches the
// dialog from then on.
MouseValuesDialog::~MouseValuesDialog() {
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void MouseValuesDialog::buildControls() {
    Label1 = named(new QLabel(this), "Label1");
    Label1->setWordWrap(true);
    Label1->setFixedWidth(TwipsToPixels(PromptWidth));
    Label2 = named(new QLabel(this), "Label2");
    Label3 = named(new QLabel(this), "Label3");
    for (QLabel* label : {Label1, Label2, Label3})
        makeBold(label);
    Text1 = named(new ValueBox(ValueLength, this), "Text1");
    Text2 = named(new ValueBox(ValueLength, this), "Text2");
    Label2->setBuddy(Text1);
    Label3->setBuddy(Text2);
    for (ValueBox* box : {Text1, Text2}) {
        box->setFixedWidth(TwipsToPixels(BoxWidth));
        connect(box, &QLineEdit::textChanged, this, [this, box] { Text_Change(box); });
        connect(box, &ValueBox::left, this, [this, box] { Text_LostFocus(box); });
    }
    const OkExitButtons buttons = makeOkExitButtons(this);
    Command1 = buttons.ok;
    Command2 = buttons.exit;
    connect(Command1, &QPushButton::clicked, this, &MouseValuesDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void MouseValuesDialog::setTexts() {
    switch (mouseEntryOf(EditorKeys)) {
    case MouseEntry::Position:
        Label1->setText(entrytext::PositionPrompt.in(lang_));
        Label2->setText(QString::fromLatin1(entrytext::PositionX));
        Label3->setText(QString::fromLatin1(entrytext::PositionY));
        PointerShown = new PointerPosition(lang_, this);
        connect(PointerShown, &PointerPosition::taken, this, &MouseValuesDialog::PointerTaken);
        break;
    case MouseEntry::Movement:
        Label1->setText(entrytext::MovementPrompt.in(lang_));
        Label2->setText(entrytext::MovementX.in(lang_));
        Label3->setText(entrytext::MovementY.in(lang_));
        break;
    case MouseEntry::Wheel:
        Label1->setText(entrytext::WheelPrompt.in(lang_));
        Label2->setText(entrytext::WheelAmount.in(lang_));
        Label3->hide();
        Text2->hide();
        break;
    case MouseEntry::None:
        break;
    }
}

void MouseValuesDialog::layOutControls() {
    auto* values = new QGridLayout;
    values->addWidget(Label2, 0, 0);
    values->addWidget(Text1, 0, 1);
    values->addWidget(Label3, 1, 0);
    values->addWidget(Text2, 1, 1);
    values->setColumnStretch(2, 1);
    values->setHorizontalSpacing(TwipsToPixels(Margin));
    auto* parts = new QVBoxLayout;
    parts->addLayout(values);
    if (PointerShown)
        parts->addWidget(PointerShown);
    layOutEntryDialog(this, Label1, parts, {Command1, Command2});
}

void MouseValuesDialog::Text_Change(ValueBox* box) {
    switch (mouseBoxColour(box->text(), signed_)) {
    case BoxColour::Normal:
        setBoxNormal(box);
        break;
    case BoxColour::Red:
        setBoxRed(box);
        break;
    case BoxColour::Unchanged:
        break;
    }
}

// Left empty, a box shows 0; left with a value it does not take, it keeps
// the focus until the value is put right. When both boxes hold such values
// (read back from a line), the user may go to either one: two boxes taking
// the focus from each other would never stop.
void MouseValuesDialog::Text_LostFocus(ValueBox* box) {
    if (box->text().trimmed().isEmpty()) {
        box->setText(QStringLiteral("0"));
        return;
    }
    if (mouseBoxValue(box->text(), signed_))
        return;
    QTimer::singleShot(0, box, [this, box] {
        auto* now = qobject_cast<ValueBox*>(QApplication::focusWidget());
        if (now && now != box && !mouseBoxValue(now->text(), signed_))
            return;
        box->reclaimFocus();
    });
}

void MouseValuesDialog::PointerTaken(QPoint position) {
    Text1->setText(QString::number(position.x()));
    Text2->setText(QString::number(position.y()));
}

// A box that still holds a value it does not take (OK pressed with Enter,
// without leaving it) holds the dialog, as leaving it would.
void MouseValuesDialog::Command1_Click() {
    const std::optional<qint32> first = mouseBoxValue(Text1->text(), signed_);
    if (!first) {
        setBoxRed(Text1);
        Text1->reclaimFocus();
        return;
    }
    std::optional<qint32> second = 0;
    if (Text2->isVisibleTo(this))
        second = mouseBoxValue(Text2->text(), signed_);
    if (!second) {
        setBoxRed(Text2);
        Text2->reclaimFocus();
        return;
    }
    DialogValue1 = *first;
    DialogValue2 = *second;
    accept();
}

} // namespace tapwise
