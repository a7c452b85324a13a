#include "editor/ConditionDialog.h"

#include "editor/BoxColours.h"
#include "editor/DialogRules.h"
#include "editor/EntryDialogFrame.h"
#include "editor/EntryDialogTexts.h"
#include "editor/ValueBox.h"
#include "gui/MessageBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"
#include "language/ColumnLetters.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int ValueLength = 24;
constexpr int LabelLength = 3;
constexpr int ComboWidth = 3000; // twips
constexpr int ValueWidth = 3000;
constexpr int LabelWidth = 700;
constexpr int Margin = EntryDialogMargin;

QString typePrefix() {
    return QStringLiteral("ExcelSheetCol#");
}

// Shows an entry as the box's selected entry, so that it stays when the box
// is shown; other text (a type the list does not hold) as text.
void showText(QComboBox* box, const QString& text) {
    const int index = text.isEmpty() ? -1 : box->findText(text, Qt::MatchFixedString);
    box->setCurrentIndex(index);
    if (index < 0)
        box->setEditText(text);
}

} // namespace

ConditionDialog::ConditionDialog(QString lang, QString keys, QWidget* parent)
    : QDialog(parent), EditorKeys(std::move(keys)), lang_(std::move(lang)) {
    setObjectName(QStringLiteral("Form12"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromLatin1(entrytext::ConditionCaption));
    buildControls();
    layOutControls();
    Form_Load();
}

// The controls outlive this object's own part of the destruction and may
// still report a change (a scroll, a focus leaving); nothing reaches the
// dialog from then on.
ConditionDialog::~ConditionDialog() {
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void ConditionDialog::buildControls() {
    Label1 = named(new QLabel(entrytext::ConditionIntro.in(lang_), this), "Label1");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = named(new QLabel(entrytext::ConditionType.in(lang_), this), "Label2");
    Label3 = named(new QLabel(entrytext::ConditionOperator.in(lang_), this), "Label3");
    Label4 = named(new QLabel(entrytext::ConditionValue.in(lang_), this), "Label4");
    Label5 = named(new QLabel(entrytext::ConditionLabel.in(lang_), this), "Label5");
    Label4->setWordWrap(true);
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo2 = named(new QComboBox(this), "Combo2");
    for (QComboBox* box : {Combo1, Combo2}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr); // what is typed stays as typed
        box->setFixedWidth(TwipsToPixels(ComboWidth));
        // Only what the user types or picks colours the box, not the
        // dialog's own filling of it.
        connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, box] { Combo_Change(box); });
        connect(box, &QComboBox::activated, this, [this, box] { Combo_Change(box); });
    }
    // A type typed in full sets up the operators as picking it does, or the
    // operator list would stay empty and every operator typed show red.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, &ConditionDialog::Combo1_Typed);
    Text1 = named(new ValueBox(ValueLength, this), "Text1");
    Text2 = named(new ValueBox(LabelLength, this), "Text2");
    Text1->setFixedWidth(TwipsToPixels(ValueWidth));
    Text2->setFixedWidth(TwipsToPixels(LabelWidth));
    Label2->setBuddy(Combo1);
    Label3->setBuddy(Combo2);
    Label4->setBuddy(Text1);
    Label5->setBuddy(Text2);
    connect(Text1, &QLineEdit::textChanged, this, [this] { setBoxNormal(Text1); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { setBoxNormal(Text2); });
    connect(Combo1, &QComboBox::activated, this, &ConditionDialog::Combo1_Click);
    connect(Combo1->view()->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ConditionDialog::Combo1_Scroll);
    const OkExitButtons buttons = makeOkExitButtons(this);
    Command1 = buttons.ok;
    Command2 = buttons.exit;
    connect(Command1, &QPushButton::clicked, this, &ConditionDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ConditionDialog::reject);
}

void ConditionDialog::layOutControls() {
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(TwipsToPixels(2 * Margin));
    boxes->addWidget(Label2, 0, 0);
    boxes->addWidget(Combo1, 0, 1);
    boxes->addWidget(Label3, 1, 0);
    boxes->addWidget(Combo2, 1, 1);
    boxes->addWidget(Label4, 2, 0);
    boxes->addWidget(Text1, 2, 1, Qt::AlignTop);
    boxes->addWidget(Label5, 3, 0);
    boxes->addWidget(Text2, 3, 1, Qt::AlignLeft);
    boxes->setColumnMinimumWidth(0, TwipsToPixels(3600));
    layOutEntryDialog(this, Label1, boxes, {Command1, Command2});
}

// A new condition starts blank, with no operators until a type is picked;
// an existing one shows its values.
void ConditionDialog::Form_Load() {
    offerColumnsUpTo(FirstOfferedColumns);
    const ConditionValues values = conditionValuesOf(EditorKeys);
    if (values.type.startsWith(typePrefix(), Qt::CaseInsensitive))
        offerColumnsUpTo(ColumnNumber(values.type.mid(typePrefix().size()).toUpper()));
    showText(Combo1, values.type);
    if (EditorKeys.contains(u';')) {
        appliedType_ = values.type.trimmed();
        CarCombo2(operatorListSwitch(values.type));
        const TypeControls controls = typeControls(values.type);
        Combo2->setEnabled(controls.operatorEnabled);
        Text1->setEnabled(controls.valueEnabled);
        if (!controls.operatorEnabled)
            setBoxGrey(Combo2);
        if (!controls.valueEnabled)
            setBoxGrey(Text1);
    }
    showText(Combo2, values.op);
    Text1->setFullText(values.value);
    Text2->setFullText(values.label);
    Combo1->setFocus();
}

ConditionValues ConditionDialog::values() const {
    return {Combo1->currentText(), Combo2->currentText(), Text1->text(), Text2->text()};
}

void ConditionDialog::CarCombo2(int sw) {
    Combo2->clear();
    Combo2->addItems(operatorList(sw));
    Combo2->setCurrentIndex(-1);
}

void ConditionDialog::offerColumnsUpTo(int columns) {
    const int wanted = std::min(columns, EditorColumnCount);
    if (OfferedColumns == 0) {
        Combo1->addItems(conditionTypes(wanted));
        OfferedColumns = wanted;
    }
    for (; OfferedColumns < wanted; ++OfferedColumns)
        Combo1->addItem(typePrefix() + ColumnLetters(OfferedColumns + 1));
}

// Scrolling the type list brings the next worksheet column into it.
void ConditionDialog::Combo1_Scroll() {
    offerColumnsUpTo(OfferedColumns + 1);
}

void ConditionDialog::Combo_Change(QComboBox* box) {
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries.append(box->itemText(i));
    if (isEntryOf(box->currentText(), entries))
        setBoxNormal(box);
    else
        setBoxRed(box);
}

void ConditionDialog::Combo1_Typed() {
    const QString type = Combo1->currentText().trimmed();
    QStringList types;
    for (int i = 0; i < Combo1->count(); ++i)
        types.append(Combo1->itemText(i));
    if (isEntryOf(type, types) && type.compare(appliedType_, Qt::CaseInsensitive) != 0) {
        const QString keep = Combo2->currentText();
        Combo1_Click();
        // An operator typed before the type stays when the new list has it.
        if (Combo2->isEnabled() && !keep.isEmpty())
            showText(Combo2, keep);
    }
}

void ConditionDialog::Combo1_Click() {
    for (QWidget* box : std::initializer_list<QWidget*>{Combo1, Combo2, Text1, Text2})
        setBoxNormal(box);
    Combo2->setEnabled(true);
    Text1->setEnabled(true);
    const QString type = Combo1->currentText();
    appliedType_ = type.trimmed();
    CarCombo2(operatorListSwitch(type));
    const TypeControls controls = typeControls(type);
    if (!controls.operatorEnabled) {
        showText(Combo2, controls.operatorText);
        Combo2->setEnabled(false);
        setBoxGrey(Combo2);
    }
    if (!controls.valueEnabled) {
        Text1->clear();
        Text1->setEnabled(false);
        setBoxGrey(Text1);
    }
}

void ConditionDialog::refuse(QWidget* box, const QString& message) {
    setBoxRed(box);
    box->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->selectAll();
    if (!message.isEmpty())
        MessageBox::show(this, QString::fromLatin1(entrytext::MessageTitle), message);
}

void ConditionDialog::Command1_Click() {
    const ConditionOutcome outcome = buildConditionLine(values());
    const QString empty = entrytext::MustNotBeEmpty.in(lang_);
    switch (outcome.problem) {
    case ConditionProblem::EmptyType:
        return refuse(Combo1, empty);
    case ConditionProblem::UnknownType:
        return refuse(Combo1);
    case ConditionProblem::EmptyOperator:
        return refuse(Combo2, empty);
    case ConditionProblem::UnknownOperator:
        return refuse(Combo2);
    case ConditionProblem::EmptyTime:
        return refuse(Text1, empty);
    case ConditionProblem::EmptyLabel:
        return refuse(Text2, empty);
    case ConditionProblem::ForbiddenValue:
        return refuse(Text1, entrytext::ForbiddenCharacters.in(lang_));
    case ConditionProblem::BadLabel:
        return refuse(Text2);
    case ConditionProblem::BadCounterLimit:
    case ConditionProblem::BadTime:
    case ConditionProblem::LongValue:
        return refuse(Text1);
    case ConditionProblem::None:
        break;
    }
    EditorKeys = outcome.line;
    accept();
}

void ConditionDialog::reject() {
    EditorKeys.clear();
    QDialog::reject();
}

} // namespace tapwise
