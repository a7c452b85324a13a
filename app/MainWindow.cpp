#include "app/MainWindow.h"

#include "editor/OpenEditor.h"

#include "app/AppTexts.h"
#include "app/DesktopShortcuts.h"
#include "app/HelpWindow.h"
#include "app/MainWindowTexts.h"
#include "app/MousePositionWindow.h"
#include "app/Pickers.h"
#include "app/Startup.h"
#include "common/NativePath.h"
#include "common/Settings.h"
#include "editor/OpenEditor.h"
#include "gui/MessageBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"
#include "store/ExchangeFile.h"
#include "store/PrintFile.h"
#include "store/StoreTexts.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>

namespace tapwise {
namespace {

using namespace mainWindow;
namespace text = mainwindowtext;

constexpr int LabelLeft = 1440;
constexpr int LabelTop = 600;
constexpr int LabelWidth = 3495;
constexpr int ExitLeft = 2760;
constexpr int HelpLeft = 4080;
constexpr int MouseLeft = 5400;
constexpr int MouseWidth = 2295;
constexpr int UninstallLeft = 8160;
// Room left around a caption inside its button, in pixels.
constexpr int CaptionPadding = 12;

// Rows keep the line breaks of their description; the list shows each break
// as a blank so that every row stays one line high.
class OneLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override {
        QString shown = QStyledItemDelegate::displayText(value, locale);
        for (QChar& c : shown)
            if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator)
                c = u' ';
        return shown;
    }
};

int captionWidth(const QPushButton* button) {
    return button->fontMetrics().horizontalAdvance(button->text()) + 2 * CaptionPadding;
}

// Widens a button to the left, keeping its right edge, but not beyond
// leftmost; gives its new right edge.
int growLeft(QPushButton* button, int width, int leftmost) {
    const int right = button->geometry().right();
    const int left = std::min(button->x(), std::max(leftmost, right + 1 - width));
    button->setGeometry(left, button->y(), width, button->height());
    return button->geometry().right();
}

void setControlText(QPushButton* button, const text::ControlText& texts, const QString& lang) {
    button->setText(texts.caption.in(lang));
    button->setToolTip(texts.tooltip.english ? texts.tooltip.in(lang) : QString());
}

} // namespace

MainWindow::MainWindow(Settings& settings, RunLauncher& launcher, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), launcher_(launcher),
      store_(settings.DataFolder, settings.Lang), openDocument_([](const QString& file) {
          return QDesktopServices::openUrl(localFileUrl(file));
      }),
      openEditor_(&tapwise::OpenEditor) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(settings_.MainTitle);
    buildControls();
    setTexts();
    setTabOrder();
    fitCaptions();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    descriptionLabel = named(new QLabel(this), "Label1");
    QFont bold = descriptionLabel->font();
    bold.setPointSizeF(9.75);
    bold.setBold(true);
    descriptionLabel->setFont(bold);
    descriptionLabel->setGeometry(TwipsToPixels(LabelLeft), TwipsToPixels(LabelTop),
                                  TwipsToPixels(LabelWidth), descriptionLabel->sizeHint().height());

    // The list is narrower than a row, whose record position at the end
    // must stay out of sight: no horizontal scrolling, nothing elided.
    sequenceList = named(new QListWidget(this), "List1");
    sequenceList->setGeometry(TwipsToPixels(ListLeft), TwipsToPixels(ListTop),
                              TwipsToPixels(ListWidth), TwipsToPixels(ListHeight));
    sequenceList->setSelectionMode(QAbstractItemView::SingleSelection);
    sequenceList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sequenceList->setTextElideMode(Qt::ElideNone);
    sequenceList->setWordWrap(false);
    sequenceList->setItemDelegate(new OneLineDelegate(sequenceList));
    connect(sequenceList, &QListWidget::itemDoubleClicked, this, &MainWindow::List1_DblClick);

    newButton = addButton("Command1", SideColumn, 960, SideWidth);
    updateButton = addButton("Command3", SideColumn, 1320, SideWidth);
    deleteButton = addButton("Command4", SideColumn, 1680, SideWidth);
    exportButton = addButton("Command7", SideColumn, ExportTop, SideWidth);
    importButton = addButton("Command8", SideColumn, ImportTop, SideWidth);
    printButton = addButton("Command11", SideColumn, 3240, SideWidth);
    shortcutButton = addButton("Command10", ShortcutLeft, ShortcutTop, ShortcutWidth);
    runButton = addButton("Command2", RunLeft, BottomRow, RunWidth);
    exitButton = addButton("Command5", ExitLeft, BottomRow, RunWidth);
    helpButton = addButton("Command6", HelpLeft, BottomRow, RunWidth);
    mousePositionButton = addButton("Command9", MouseLeft, BottomRow, MouseWidth);
    uninstallButton = addButton("Command12", UninstallLeft, BottomRow, SideWidth);
    connectButtons();
}

void MainWindow::connectButtons() {
    connect(newButton, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(runButton, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(updateButton, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    connect(deleteButton, &QPushButton::clicked, this, &MainWindow::Command4_Click);
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    connect(helpButton, &QPushButton::clicked, this, &MainWindow::Command6_Click);
    connect(exportButton, &QPushButton::clicked, this, &MainWindow::Command7_Click);
    connect(importButton, &QPushButton::clicked, this, &MainWindow::Command8_Click);
    connect(mousePositionButton, &QPushButton::clicked, this, &MainWindow::Command9_Click);
    connect(shortcutButton, &QPushButton::clicked, this, &MainWindow::Command10_Click);
    connect(printButton, &QPushButton::clicked, this, &MainWindow::Command11_Click);
    // Uninstall reacts to the button's release with the keys held then.
    uninstallButton->installEventFilter(this);
}

QPushButton* MainWindow::addButton(const char* name, int left, int top, int width) {
    auto* button = named(new QPushButton(this), name);
    // The side buttons stand 360 twips apart: one pixel less than their
    // height keeps them from overlapping.
    button->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(ButtonHeight) - 1);
    return button;
}

void MainWindow::setTexts() {
    const QString& lang = settings_.Lang;
    descriptionLabel->setText(text::DescriptionLabel.in(lang));
    sequenceList->setToolTip(text::ListTip.in(lang));
    setControlText(newButton, text::New, lang);
    setControlText(runButton, text::Run, lang);
    setControlText(updateButton, text::Update, lang);
    setControlText(deleteButton, text::Delete, lang);
    setControlText(exitButton, text::Exit, lang);
    setControlText(helpButton, text::Help, lang);
    setControlText(exportButton, text::Export, lang);
    setControlText(importButton, text::Import, lang);
    setControlText(mousePositionButton, text::MousePosition, lang);
    setControlText(shortcutButton, text::Shortcut, lang);
    setControlText(printButton, text::PrintFormat, lang);
    setControlText(uninstallButton, text::Uninstall, lang);
}

void MainWindow::setTabOrder() {
    const QWidget* order[] = {sequenceList,   runButton,           updateButton,   exitButton,
                              newButton,      deleteButton,        helpButton,     exportButton,
                              importButton,   mousePositionButton, shortcutButton, printButton,
                              uninstallButton};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

// The layout is drawn for the captions in a 96 dpi dialog font; a larger
// font (or a longer translation) widens a control instead of cutting its
// caption, and the controls to its right in the same row move along.
void MainWindow::fitCaptions() {
    descriptionLabel->resize(
        std::max(descriptionLabel->width(), descriptionLabel->sizeHint().width()),
        descriptionLabel->height());
    const QList<QPushButton*> bottomRow = {runButton, exitButton, helpButton, mousePositionButton,
                                           uninstallButton};
    const int gap = TwipsToPixels(ExitLeft - RunLeft - RunWidth);
    int right = 0;
    for (QPushButton* button : bottomRow) {
        button->setGeometry(std::max(button->x(), right + gap), button->y(),
                            std::max(button->width(), captionWidth(button)), button->height());
        right = button->geometry().right();
    }
    // The buttons beside the list keep one width and grow to the left, up
    // to the list; the shortcut button below them likewise.
    const int leftmost = sequenceList->geometry().right() + 8;
    const QList<QPushButton*> column = {newButton,    updateButton, deleteButton,
                                        exportButton, importButton, printButton};
    int columnWidth = 0;
    for (QPushButton* button : column)
        columnWidth = std::max({columnWidth, button->width(), captionWidth(button)});
    int widest = right;
    for (QPushButton* button : column)
        widest = std::max(widest, growLeft(button, columnWidth, leftmost));
    widest =
        std::max(widest, growLeft(shortcutButton,
                                  std::max(shortcutButton->width(), captionWidth(shortcutButton)),
                                  leftmost));
    const int margin = TwipsToPixels(Width - UninstallLeft - SideWidth);
    setFixedSize(std::max(TwipsToPixels(Width), widest + margin), TwipsToPixels(Height));
}

void MainWindow::Form_Load() {
    if (!store_.DataFileExists()) {
        const Status created = store_.CreateDataFile();
        if (!created) {
            showError(created.error());
            return;
        }
        showMessage(StoreText::DataFileCreated.in(settings_.Lang).arg(store_.DataFilePath()));
        return;
    }
    ScanSequences();
}

QStringList MainWindow::rows() const {
    QStringList all;
    for (int i = 0; i < sequenceList->count(); ++i)
        all << sequenceList->item(i)->text();
    return all;
}

int MainWindow::selectedRow() const {
    const QList<QListWidgetItem*> selected = sequenceList->selectedItems();
    return selected.isEmpty() ? -1 : sequenceList->row(selected.front());
}

void MainWindow::ScanSequences() {
    sequenceList->clear();
    const Result<MainList> list = store_.ScanSequences();
    if (!list) {
        showError(list.error());
        return;
    }
    sequenceList->addItems(list.value().rows());
    if (sequenceList->count() > 0)
        selectRow(0);
    if (list.value().damage())
        showError(*list.value().damage());
    if (!list.value().notice().isEmpty())
        showMessage(list.value().notice());
}

// A change that had to move records behind the used length into a side file
// says where they went, before the list load that follows forgets it.
void MainWindow::showKeptRecords() {
    if (const std::optional<KeptRecords>& kept = store_.LastKept())
        showMessage(store_.KeptMessage(*kept));
}

void MainWindow::selectRow(int row) {
    sequenceList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    sequenceList->scrollToItem(sequenceList->item(row));
}

qint32 MainWindow::selectedPosition() {
    const int row = selectedRow();
    if (row < 0) {
        showMessage(text::SelectRow.in(settings_.Lang));
        return 0;
    }
    return RowPosition(sequenceList->item(row)->text());
}

void MainWindow::showMessage(const QString& message) {
    MessageBox::show(this, QString::fromLatin1(apptext::MessageTitle), message);
}

void MainWindow::showError(const Error& error) {
    showMessage(error.message);
}

void MainWindow::Command1_Click() {
    settings_.SequenceChanged = 0;
    OpenEditor(0);
}

// The name handed to the run is the row up to its last space, trimmed: the
// first 130 characters of the description.
void MainWindow::Command2_Click() {
    const qint32 position = selectedPosition();
    if (position == 0 || handingOver_)
        return;
    const QString row = sequenceList->item(selectedRow())->text();
    QString name = row.left(row.lastIndexOf(u' ')).trimmed();
    QString excelFile;
    QString password;
    handingOver_ = true;
    const RunEnd end = launcher_.runSequence(position, name, excelFile, password);
    close();
    emit programEnded(ExitCodeOf(end));
}

void MainWindow::List1_DblClick() {
    settings_.NoMsg = QStringLiteral("NOMSG");
    Command2_Click();
}

void MainWindow::Command3_Click() {
    const qint32 position = selectedPosition();
    if (position == 0)
        return;
    settings_.SequenceChanged = 0;
    store_.SetCurrentPosition(position);
    OpenEditor(position);
}

// The editor, modal over this window, for a new Key sequence (position 0)
// or the one at a record position. A saved Key sequence is appended (a
// changed one moves to the end), so the list is read again and the saved
// row selected.
void MainWindow::OpenEditor(qint32 position) {
    if (!openEditor_(this, settings_, store_, position))
        return;
    settings_.SequenceChanged = 1;
    showKeptRecords();
    ScanSequences();
    const qsizetype row = SelectSequenceRow(rows(), store_.CurrentPosition());
    if (row >= 0)
        selectRow(static_cast<int>(row));
}

// After a delete the row that took the deleted one's place is selected, or
// the first row when the last one went.
void MainWindow::Command4_Click() {
    const qint32 position = selectedPosition();
    if (position == 0)
        return;
    if (!MessageBox::askYesNo(this, QString::fromLatin1(apptext::MessageTitle),
                              text::ConfirmDelete.in(settings_.Lang)))
        return;
    const int row = selectedRow();
    const int keep = row == sequenceList->count() - 1 ? 0 : row;
    const Status deleted = store_.DeleteSequence(position);
    if (!deleted) {
        showError(deleted.error());
        return;
    }
    showKeptRecords();
    ScanSequences();
    if (sequenceList->count() > 0)
        selectRow(std::min(keep, sequenceList->count() - 1));
}

void MainWindow::Command5_Click() {
    close();
}

void MainWindow::Command6_Click() {
    ShowHelp(this, settings_);
}

void MainWindow::Command7_Click() {
    const qint32 position = selectedPosition();
    if (position == 0)
        return;
    const QString PickedFile = PickExchangeFile(this, settings_, u'E');
    if (PickedFile.isEmpty())
        return;
    const Status exported = ExportSequence(store_, position, PickedFile);
    if (!exported) {
        showError(exported.error());
        return;
    }
    showMessage(StoreText::ExportDone.in(settings_.Lang));
}

// The imported Key sequence is appended as it is, even when one with the
// same description exists, and becomes the selected row.
void MainWindow::Command8_Click() {
    const QString PickedFile = PickExchangeFile(this, settings_, u'I');
    if (PickedFile.isEmpty())
        return;
    const Result<qint32> imported = ImportSequence(store_, PickedFile);
    if (!imported) {
        showError(imported.error());
        return;
    }
    showKeptRecords();
    ScanSequences();
    const qsizetype row = SelectSequenceRow(rows(), imported.value());
    if (row >= 0)
        selectRow(static_cast<int>(row));
    showMessage(StoreText::ImportDone.in(settings_.Lang));
}

// The mouse position window takes this window's place for the rest of the
// program's life.
void MainWindow::Command9_Click() {
    handingOver_ = true;
    close();
    form7_ = std::make_unique<MousePositionWindow>(settings_);
    connect(form7_.get(), &MousePositionWindow::closed, this,
            [this] { emit programEnded(ExitDone); });
    form7_->show();
}

void MainWindow::Command10_Click() {
    const qint32 position = selectedPosition();
    if (position == 0)
        return;
    const Result<StoredSequence> sequence = store_.ReadSequence(position);
    if (!sequence) {
        showError(sequence.error());
        return;
    }
    store_.SetCurrentPosition(position);
    CreateSequenceShortcut(this, settings_, sequence.value());
}

void MainWindow::Command11_Click() {
    const qint32 position = selectedPosition();
    if (position == 0)
        return;
    const Result<QString> written = WritePrintFile(store_, position);
    if (!written) {
        showError(written.error());
        return;
    }
    store_.SetCurrentPosition(position);
    if (!openDocument_(written.value()))
        showMessage(text::PrintNotOpened.in(settings_.Lang).arg(written.value()));
}

void MainWindow::Command12_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers keys =
        modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (button != Qt::LeftButton || keys != (Qt::ControlModifier | Qt::AltModifier)) {
        showMessage(text::UninstallHint.in(settings_.Lang));
        return;
    }
    if (!MessageBox::askYesNo(this, QString::fromLatin1(apptext::MessageTitle),
                              text::ConfirmUninstall.in(settings_.Lang)))
        return;
    Uninstall(this, settings_);
    close();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == uninstallButton && event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<QMouseEvent*>(event);
        // The button must not stay drawn pressed while a box is open.
        uninstallButton->setDown(false);
        Command12_MouseUp(release->button(), release->modifiers());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The close box and Exit end the program; a hand-over to a run or to the
// mouse position window closes the window without ending it.
void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!handingOver_)
        emit programEnded(ExitDone);
}

} // namespace tapwise
