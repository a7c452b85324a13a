#include "editor/EditorWindow.h"

#include "editor/EditorTexts.h"
#include "editor/KeyCapture.h"
#include "editor/X11KeyLevels.h"
#include "gui/MessageBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"
#include "language/ColumnLetters.h"
#include "language/EditorRows.h"
#include "language/LineSyntax.h"
#include "language/SequenceCheck.h"
#include "store/SequenceStore.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace tapwise {

namespace text = editortext;

namespace {

constexpr int ClientWidth = 8265;
constexpr int ClientHeight = 7815;
constexpr int WaitTimeBoxLength = 6;
constexpr quint32 AltGrState = 0x80; // Mod5, where X keyboards put AltGr

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(height));
}

QFont boldLabelFont() {
    QFont font;
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

// Courier New where it is installed, the desktop's fixed font otherwise:
// the columns of the rows only line up in a monospaced font.
QFont listFont() {
    QFont font = QFontDatabase::hasFamily(QStringLiteral("Courier New"))
                     ? QFont(QStringLiteral("Courier New"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    return font;
}

// The header above the list, its columns over the columns of the rows.
QString listHeader() {
    return QStringLiteral("Keys").leftJustified(KeysWidth, u' ') + QStringLiteral("WaitTime\n") +
           QString(KeysWidth, u' ') + QStringLiteral("(hSec)");
}

// Shift, Ctrl and Alt held during a key or mouse event.
int maskOf(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= ShiftMask;
    if (modifiers & Qt::ControlModifier)
        mask |= CtrlMask;
    if (modifiers & Qt::AltModifier)
        mask |= AltMask;
    return mask;
}

// AltGr counts as Ctrl and Alt together.
int modifierMask(const QKeyEvent& event) {
    const int mask = maskOf(event.modifiers());
    return event.nativeModifiers() & AltGrState ? mask | CtrlMask | AltMask : mask;
}

// The character a key press typed: none with Ctrl or Alt held (those
// combinations are keys, not characters; AltGr is neither).
char32_t typedCharacter(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return 0;
    const QList<uint> characters = event.text().toUcs4();
    return characters.size() == 1 ? static_cast<char32_t>(characters[0]) : 0;
}

bool isModifierKey(int code) {
    return code == keycode::Shift || code == keycode::Control || code == keycode::Alt;
}

bool isMouseButtonEvent(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
           type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
}

} // namespace

EditorWindow::EditorWindow(Settings& settings, SequenceStore& store, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setModal(true);
    buildControls();
    Form_Load();
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::setEntries(std::unique_ptr<LineEntries> entries) {
    entries_ = std::move(entries);
}

void EditorWindow::buildControls() {
    setFixedSize(TwipsToPixels(ClientWidth), TwipsToPixels(ClientHeight));
    Label1 = named(new QLabel(this), "Label1");
    Text2 = named(new QPlainTextEdit(this), "Text2");
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setTabChangesFocus(true);
    Label3 = named(new QLabel(this), "Label3");
    List1 = named(new QListWidget(this), "List1");
    List1->setFont(listFont());
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);
    Command4 = named(new QPushButton(this), "Command4");
    Command5 = named(new QPushButton(this), "Command5");
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setMaxVisibleItems(20);
    Label2 = named(new QLabel(QString::fromLatin1(text::WaitTimeLabel), this), "Label2");
    Text1 = named(new QLineEdit(this), "Text1");
    Text1->setMaxLength(WaitTimeBoxLength);
    Command2 = named(new QPushButton(QString::fromLatin1(text::SaveNew), this), "Command2");
    Command3 = named(new QPushButton(QString::fromLatin1(text::Replace), this), "Command3");
    Command1 = named(new QPushButton(QString::fromLatin1(text::Exit), this), "Command1");
    layOutControls();
    connectControls();
}

// Positions and sizes of the layout, in twips.
void EditorWindow::layOutControls() {
    place(Label1, 480, 480, 6975, 255);
    place(Text2, 480, 840, 7455, 1095);
    place(Label3, 480, 2040, 5775, 495);
    place(List1, 480, 2640, 5775, 3885);
    place(Command4, 6480, 3000, 1455, 375);
    place(Command5, 6480, 3360, 1455, 375);
    place(Combo1, 480, 6600, 3735, 315);
    place(Label2, 4560, 6600, 495, 495);
    place(Text1, 5160, 6600, 1095, 315);
    place(Command2, 480, 7200, 1215, 375);
    place(Command3, 2760, 7200, 1215, 375);
    place(Command1, 5040, 7200, 1215, 375);

    for (QLabel* label : {Label1, Label3, Label2})
        label->setFont(boldLabelFont());
    QFont header = listFont();
    header.setBold(true);
    Label3->setFont(header);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setIndent(List1->frameWidth() + 2);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    Label2->setWordWrap(true);
    // Enter belongs to the key entry box; no button takes it.
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command5})
        button->setAutoDefault(false);
}

void EditorWindow::connectControls() {
    Combo1->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);
    List1->viewport()->installEventFilter(this);
    Text2->installEventFilter(this);
    Text1->installEventFilter(this);
    // A row chosen from the keyboard is the selected row as well.
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_ && row >= 0)
            list_.selected = row;
    });
    connect(Combo1, &QComboBox::activated, this, &EditorWindow::Combo1_Click);
    connect(Combo1->view()->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int) { Combo1_Scroll(); });
    connect(Command1, &QPushButton::clicked, this, &EditorWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, [this] { SvData(QStringLiteral("S")); });
    connect(Command3, &QPushButton::clicked, this, [this] { SvData(QStringLiteral("R")); });
    connect(Command4, &QPushButton::clicked, this, &EditorWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &EditorWindow::Command5_Click);
    connect(Text1, &QLineEdit::textChanged, this, &EditorWindow::Text1_Change);
    setTabOrder(Text2, Combo1);
    setTabOrder(Combo1, Text1);
    setTabOrder(Text1, Command2);
}

void EditorWindow::setTexts() {
    const QString& lang = settings_.Lang;
    Label1->setText(text::DescriptionLabel.in(lang));
    Label3->setText(listHeader());
    Command4->setText(text::InsertEmptyLine.in(lang));
    Command5->setText(text::DeleteLine.in(lang));
    // On one line the tip is wider than most screens: a line for each gesture.
    const QString tip = text::ListTip1.in(lang) + text::ListTip2.in(lang) +
                        text::ListTip3.in(lang) + text::ListTip4.in(lang);
    List1->setToolTip(
        QStringLiteral("<p style=\"white-space:pre\">%1</p>")
            .arg(tip.toHtmlEscaped().replace(QStringLiteral(" - "), QStringLiteral(" -<br>"))));
    Combo1->setToolTip(text::KeyBoxTip.in(lang));
    Text1->setToolTip(text::WaitTimeTip.in(lang));
    fitTexts();
}

// The Italian texts are longer than the layout's buttons: a button grows to
// its text, to the left where the window's edge would cut it.
void EditorWindow::fitTexts() {
    const int rightEdge = TwipsToPixels(ClientWidth) - 4;
    const int width =
        std::max({Command4->width(), Command4->sizeHint().width(), Command5->sizeHint().width()});
    for (QPushButton* button : {Command4, Command5}) {
        QRect area = button->geometry();
        area.setWidth(width);
        if (area.right() > rightEdge)
            area.moveRight(rightEdge);
        button->setGeometry(area);
    }
    Label2->setFixedWidth(Text1->x() - Label2->x() - 4);
}

QString EditorWindow::keyPrompt() const {
    return text::KeyPrompt.in(settings_.Lang);
}

void EditorWindow::Form_Load() {
    setTexts();
    Combo1->addItems(keyBoxEntries(OfferedColumns_));
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(keyPrompt());
    Text1->setText(QStringLiteral("0"));
    Text1->selectAll();
    EditorWaitTime = QStringLiteral("0");
    list_ = newRowList();
    showRows();
}

void EditorWindow::openNew() {
    SequenceChanged_ = false;
    CurrentPosition = 0;
    CurrentDescription.clear();
    Text2->setPlainText(QStringLiteral("New1"));
    Command3->hide();
    Command4->hide();
    Command5->hide();
    setWindowTitle(text::NewCaption.in(settings_.Lang));
    Combo1->setFocus();
}

bool EditorWindow::openStored(qint32 position) {
    Result<StoredSequence> read = store_.ReadSequence(position);
    if (!read) {
        MessageBox::show(this, QString::fromLatin1(text::MessageTitle), read.error().message);
        return false;
    }
    SequenceChanged_ = false;
    CurrentPosition = position;
    CurrentDescription = read.value().description;
    Text2->setPlainText(descriptionToShow(CurrentDescription));
    list_ = loadedRowList(read.value().lines);
    showRows();
    Command3->show();
    Command4->show();
    Command5->show();
    setWindowTitle(text::UpdateCaption.in(settings_.Lang));
    Combo1->setFocus();
    return true;
}

// Shows list_ in List1: rows that changed are rewritten, the selection follows.
void EditorWindow::showRows() {
    showing_ = true;
    const int shown = List1->count();
    for (int i = 0; i < list_.rows.size(); ++i) {
        if (i < shown) {
            if (List1->item(i)->text() != list_.rows[i])
                List1->item(i)->setText(list_.rows[i]);
        } else {
            List1->addItem(list_.rows[i]);
        }
    }
    for (int i = shown - 1; i >= list_.rows.size(); --i)
        delete List1->takeItem(i);
    List1->setCurrentRow(list_.selected);
    showing_ = false;
}

void EditorWindow::updateLineButtons() {
    if (list_.rows.size() >= 2) {
        Command4->show();
        Command5->show();
    }
}

// --- Combo1: keys and picks ---

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool keyBox = watched == Combo1 || watched == Combo1->lineEdit();
    if (keyBox && event->type() == QEvent::KeyPress)
        return Combo1_KeyDown(static_cast<QKeyEvent*>(event));
    if (keyBox && event->type() == QEvent::KeyRelease) {
        Combo1_KeyUp(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (keyBox && event->type() == QEvent::ShortcutOverride) {
        event->accept(); // every key is the box's, none is a shortcut
        return true;
    }
    if (watched == List1->viewport() && isMouseButtonEvent(event->type()))
        return List1_MouseEvent(static_cast<QMouseEvent*>(event));
    if (watched == Text2 && event->type() == QEvent::FocusOut)
        SequenceChanged_ = true;
    if (watched == Text1 && event->type() == QEvent::FocusOut)
        Text1_LostFocus();
    return QDialog::eventFilter(watched, event);
}

// Key down: the page and arrow keys also move the box's selection (a pick
// that is skipped); Tab is placed here, since its key up is not the box's.
// Every other key only records the character it typed.
bool EditorWindow::Combo1_KeyDown(QKeyEvent* event) {
    EditorWaitTime = waitTimeOfBox(Text1->text());
    const int code = VirtualKeyCode(nativeKeyOf(*event));
    if (!isModifierKey(code)) {
        PressedCode = code;
        PressedMask = modifierMask(*event);
    }
    if (movesDropDownSelection(code)) {
        // The box moves its selection (Alt+Down opens the list instead);
        // the pick that the move makes is not the user's.
        SkipNextPick = true;
        static_cast<QObject*>(Combo1)->event(event);
        SkipNextPick = false;
        return true;
    }
    if (code == keycode::Tab) {
        EditorKeys = keyReleaseKeys({code, PressedMask});
        Combo1->setEditText(EditorKeys);
        placeEntered();
        restartKeyEntry();
        return true;
    }
    LastTypedChar = typedCharacter(*event);
    return true;
}

// Key up places the key. Only a key whose key down the box saw counts: the
// Return that closed a prompt or picked an entry of the drop-down list ends
// in the box, but was not typed there. The modifiers are those held when
// the key went down: Ctrl let go a moment before the letter still means
// Ctrl+letter.
void EditorWindow::Combo1_KeyUp(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    EditorWaitTime = waitTimeOfBox(Text1->text());
    const X11Key key = nativeKeyOf(*event);
    const int code = VirtualKeyCode(key);
    if (isModifierKey(code) || code != PressedCode || code == keycode::Tab) {
        if (code == PressedCode)
            PressedCode = -1;
        return;
    }
    PressedCode = -1;
    EditorKeys = keyReleaseKeys({code, PressedMask, LastTypedChar, BaseCharacter(key)});
    const QString captured = EditorKeys;
    if (!trimBlanks(EditorKeys).isEmpty())
        placeEntered();
    Combo1->setFocus();
    Combo1->setEditText(captured);
    Combo1->lineEdit()->setCursorPosition(0);
    Combo1->lineEdit()->deselect();
    restartKeyEntry();
}

void EditorWindow::restartKeyEntry() {
    LastTypedChar = 0;
    EditorKeys.clear();
    updateLineButtons();
}

// Places EditorKeys at the selected row.
void EditorWindow::placeEntered() {
    if (placeLine(list_, EditorKeys, EditorWaitTime))
        SequenceChanged_ = true;
    showRows();
    LastTypedChar = 0;
    EditorKeys.clear();
    updateLineButtons();
}

void EditorWindow::Combo1_Click(int index) {
    EditorWaitTime = waitTimeOfBox(Text1->text());
    if (SkipNextPick) {
        SkipNextPick = false;
        return;
    }
    EditorKeys = Combo1->itemText(index);
    switch (pickAction(EditorKeys)) {
    case PickAction::Nothing:
        return;
    case PickAction::MouseValues:
        EditorKeys = entries_ ? entries_->SetValues(EditorKeys) : QString();
        break;
    case PickAction::CheckDialog:
        EditorKeys = entries_ ? entries_->AskCheck(EditorKeys) : QString();
        break;
    case PickAction::IfDialog:
        EditorKeys = entries_ ? entries_->AskCondition(EditorKeys) : QString();
        break;
    case PickAction::Label:
        EditorKeys = entries_ ? entries_->LabelN(EditorKeys) : QString();
        break;
    case PickAction::Remark:
        EditorKeys = entries_ ? entries_->Remark(EditorKeys, 0) : QString();
        break;
    case PickAction::ChkExcelSheet:
        if (!chkExcelAllowed(list_)) {
            MessageBox::show(this, QString::fromLatin1(text::MessageTitle),
                             text::ChkAfterColumn.in(settings_.Lang));
            EditorKeys.clear();
            return;
        }
        break;
    case PickAction::Place:
        break;
    }
    placeEntered();
    Combo1->setFocus();
}

void EditorWindow::Combo1_Scroll() {
    if (OfferedColumns_ >= EditorColumnCount)
        return;
    ++OfferedColumns_;
    Combo1->addItems(columnEntries(OfferedColumns_));
}

// --- List1: gestures ---

bool EditorWindow::List1_MouseEvent(QMouseEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        List1_MouseDown(event);
        return true;
    case QEvent::MouseMove:
        // The selection follows the held button, as the list shows where the
        // row will go.
        if (event->buttons() != Qt::NoButton) {
            const int row = List1->indexAt(event->position().toPoint()).row();
            if (row >= 0)
                List1->setCurrentRow(row);
        }
        return true;
    case QEvent::MouseButtonRelease:
        List1_MouseUp(event);
        return true;
    case QEvent::MouseButtonDblClick:
        // Its release, on the same row and without modifiers, opens the
        // row's values as Alt+Click does.
        doubleClicked_ = event->button() == Qt::LeftButton;
        return true;
    default:
        return false;
    }
}

void EditorWindow::List1_MouseDown(QMouseEvent* event) {
    const int row = List1->indexAt(event->position().toPoint()).row();
    if (row >= 0)
        list_.selected = row;
    List1->setCurrentRow(list_.selected);
    PressedRow = list_.selected;
    if (!tipCleared_) {
        List1->setToolTip(QString());
        tipCleared_ = true;
    }
}

void EditorWindow::List1_MouseUp(QMouseEvent* event) {
    EditorWaitTime = waitTimeOfBox(Text1->text());
    const int row = List1->indexAt(event->position().toPoint()).row();
    list_.selected = row >= 0 ? row : List1->currentRow();
    const int mask = maskOf(event->modifiers());
    const bool left = event->button() == Qt::LeftButton;
    const bool doubleClick = std::exchange(doubleClicked_, false);
    if (list_.selected != PressedRow) {
        if ((mask == 0 || mask == CtrlMask) && dropRow(list_, PressedRow, mask == CtrlMask))
            SequenceChanged_ = true;
    } else if (left && mask == ShiftMask) {
        if (toggleSelected(list_))
            SequenceChanged_ = true;
    } else if (left && mask == CtrlMask) {
        const WaitUpdate update = updateSelectedWaitTime(list_, EditorWaitTime);
        if (update == WaitUpdate::NotExecutable)
            MessageBox::show(this, QString::fromLatin1(text::MessageTitle),
                             text::NotExecutable.in(settings_.Lang));
        if (update == WaitUpdate::Updated)
            SequenceChanged_ = true;
    } else if (left && (mask == AltMask || (mask == 0 && doubleClick))) {
        updateValues();
    }
    showRows();
    Combo1->setEditText(keyPrompt());
    Combo1->setFocus();
}

// Alt+Click or a double-click: the row's entry reopens with its values; its result replaces
// the row's Keys.
void EditorWindow::updateValues() {
    const ValuesUpdate update = valuesUpdateOf(list_.rows.value(list_.selected));
    if (update.entry == ValuesEntry::Nothing)
        return;
    if (update.entry == ValuesEntry::NotExecutable) {
        MessageBox::show(this, QString::fromLatin1(text::MessageTitle),
                         text::NotExecutable.in(settings_.Lang));
        return;
    }
    EditorKeys = openEntry(update.entry, update.editorKeys);
    if (replaceSelectedKeys(list_, EditorKeys, EditorWaitTime))
        SequenceChanged_ = true;
    EditorKeys.clear();
}

QString EditorWindow::openEntry(ValuesEntry entry, const QString& keys) {
    if (!entries_)
        return {};
    switch (entry) {
    case ValuesEntry::Remark:
        return entries_->Remark(keys, 1);
    case ValuesEntry::CheckDialog:
        return entries_->AskCheck(keys);
    case ValuesEntry::IfDialog:
        return entries_->AskCondition(keys);
    case ValuesEntry::Label:
        return entries_->LabelN(keys);
    case ValuesEntry::MouseValues:
        return entries_->SetValues(keys);
    default:
        return {};
    }
}

// --- Buttons and boxes ---

void EditorWindow::Command4_Click() {
    insertEmptyRow(list_);
    showRows();
    Combo1->setEditText(keyPrompt());
    Combo1->setFocus();
}

void EditorWindow::Command5_Click() {
    if (canDeleteSelected(list_)) {
        if (!MessageBox::askYesNo(this, QString::fromLatin1(text::MessageTitle),
                                  text::ConfirmDelete.in(settings_.Lang)))
            return;
        deleteSelected(list_);
        showRows();
        Combo1->setEditText(keyPrompt());
        SequenceChanged_ = true;
    }
    Combo1->setFocus();
}

void EditorWindow::Text1_Change() {
    QPalette colors = Text1->palette();
    colors.setColor(QPalette::Base, waitTimeTextValid(Text1->text())
                                        ? palette().color(QPalette::Base)
                                        : QColor(255, 0, 0));
    Text1->setPalette(colors);
}

// Leaving the WaitTime box: its value becomes the WaitTime of new lines; a
// value that is not one is forced to "0" and the box keeps the focus.
bool EditorWindow::Text1_LostFocus() {
    const std::optional<QString> value = waitTimeOnLeave(Text1->text());
    if (value) {
        Text1->setText(*value);
        EditorWaitTime = *value;
        return true;
    }
    EditorWaitTime = QStringLiteral("0");
    Text1->setText(EditorWaitTime);
    Text1->selectAll();
    QTimer::singleShot(0, Text1, [box = Text1] { box->setFocus(); });
    return false;
}

void EditorWindow::Command1_Click() {
    if (SequenceChanged_ &&
        !MessageBox::askYesNo(this, QString::fromLatin1(text::ExitTitle),
                              text::ExitQuestion.in(settings_.Lang), QMessageBox::No))
        return;
    finish(false);
}

void EditorWindow::SvData(const QString& mode) {
    const QString description = Text2->toPlainText();
    if (const auto fault = checkSequence(list_.rows, description, settings_.Lang)) {
        MessageBox::show(this, QString::fromLatin1(text::MessageTitle), fault->message);
        if (fault->focus == CheckFocus::Combo1)
            Combo1->setFocus();
        else if (fault->focus == CheckFocus::Text2)
            Text2->setFocus();
        return;
    }
    const QString stored = descriptionToSave(description.trimmed());
    const Lines lines = linesToSave(list_);
    const bool replace =
        mode.compare(QLatin1String("R"), Qt::CaseInsensitive) == 0 && CurrentPosition > 0;
    Result<qint32> written = replace ? store_.ReplaceSequence(CurrentPosition, stored, lines)
                                     : store_.AppendSequence(stored, lines);
    if (!written) {
        MessageBox::show(this, QString::fromLatin1(text::MessageTitle),
                         text::NotSaved.in(settings_.Lang) + u'\n' + written.error().message);
        return;
    }
    savedPosition_ = written.value();
    store_.SetCurrentPosition(savedPosition_);
    finish(true);
}

void EditorWindow::finish(bool saved) {
    saved_ = saved;
    closing_ = true;
    if (saved)
        accept();
    else
        QDialog::reject();
}

// The close box and Escape do not close the editor: Exit or a save does.
void EditorWindow::closeEvent(QCloseEvent* event) {
    if (closing_)
        event->accept();
    else
        event->ignore();
}

void EditorWindow::reject() {
    if (closing_)
        QDialog::reject();
}

} // namespace tapwise
