#include "app/ExchangeFilePicker.h"

#include "app/PickerTexts.h"
#include "app/PlaceLists.h"
#include "gui/MessageBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTreeView>

namespace tapwise {
namespace {

constexpr int FormWidth = 8280;
constexpr int FormHeight = 5970;

// Where browsing starts: the data folder, or the home folder when the data
// folder is gone.
QString startFolder(const QString& dataFolder) {
    return QFileInfo(dataFolder).isDir() ? WithSlash(dataFolder) : WithSlash(QDir::homePath());
}

} // namespace

ExchangeFilePicker::ExchangeFilePicker(const Settings& settings, QChar PickerMode,
                                       QList<Place> places, QWidget* parent)
    : QDialog(parent), lang_(settings.Lang), dataFolder_(settings.DataFolder),
      export_(PickerMode.toUpper() == QLatin1Char('E')) {
    setObjectName(QStringLiteral("Form6"));
    lists_ = new PlaceLists(std::move(places), this);
    buildControls();
    layOut();
    Form_Load();
}

void ExchangeFilePicker::buildControls() {
    lists_->File1->setToolTip(QString::fromLatin1(pickertext::SelectFileTip));
    Label1 = named(new QLabel(this), "Label1");
    Label2 = named(new QLabel(pickertext::FileNameLabel.in(lang_), this), "Label2");
    Text1 = named(new QLineEdit(this), "Text1");
    Label2->setBuddy(Text1);
    Command1 = PickerButton({}, "Command1", this);
    Command2 = PickerButton(QString::fromLatin1(pickertext::Exit), "Command2", this);
    Command1->setDefault(true);

    connect(lists_, &PlaceLists::placeChosen, this, &ExchangeFilePicker::Drive1_Change);
    connect(lists_, &PlaceLists::folderOpened, this, &ExchangeFilePicker::Dir1_Change);
    connect(lists_, &PlaceLists::fileDoubleClicked, this, &ExchangeFilePicker::File1_DblClick);
    connect(Text1, &QLineEdit::textChanged, this, &ExchangeFilePicker::Text1_Change);
    connect(Command1, &QPushButton::clicked, this, &ExchangeFilePicker::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ExchangeFilePicker::Command2_Click);
}

void ExchangeFilePicker::layOut() {

    auto* nameRow = new QGridLayout;
    nameRow->addWidget(Label2, 0, 0, Qt::AlignRight);
    nameRow->addWidget(Text1, 0, 1);
    nameRow->addWidget(Command1, 0, 2);
    nameRow->addWidget(Command2, 1, 2);
    nameRow->setColumnStretch(1, 1);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(lists_->Drive1, 1, 0);
    grid->addWidget(lists_->Dir1, 2, 0);
    grid->addWidget(lists_->File1, 1, 1, 2, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, FolderListWidth);
    grid->setColumnStretch(1, FileListWidth);
    grid->addLayout(nameRow, 3, 0, 1, 2);
    resize(TwipsToPixels(FormWidth), TwipsToPixels(FormHeight));
}

void ExchangeFilePicker::Form_Load() {
    setWindowTitle(
        QString::fromLatin1(export_ ? pickertext::ExportCaption : pickertext::ImportCaption));
    Label1->setText((export_ ? pickertext::SaveAsLabel : pickertext::FindLabel).in(lang_));
    Command1->setText((export_ ? pickertext::Save : pickertext::Open).in(lang_));
    lists_->setFileFilters({QStringLiteral("*.tpw")});
    folder_ = startFolder(dataFolder_);
    lists_->selectPlace(PlaceIndexOf(lists_->places(), folder_));
    lists_->openFolder(folder_);
    Text1->clear();
    Text1_Change();
    Text1->setFocus();
}

void ExchangeFilePicker::Text1_Change() {
    Command1->setEnabled(!Text1->text().trimmed().isEmpty());
}

// A place that cannot be read is reported; the lists go on showing the
// folder that was open, which is where a typed name is saved.
void ExchangeFilePicker::Drive1_Change(int index) {
    const QString place = lists_->places().value(index).path;
    if (const auto error = FolderOpenError(place)) {
        MessageBox::show(this, QString::fromLatin1(pickertext::MessageTitle), *error);
        return;
    }
    Dir1_Change(place);
}

void ExchangeFilePicker::Dir1_Change(const QString& folder) {
    folder_ = folder;
    lists_->openFolder(folder_);
}

void ExchangeFilePicker::File1_DblClick(const QString& name) {
    Text1->setText(name);
    Command1_Click();
}

void ExchangeFilePicker::Command1_Click() {
    const QString name = Text1->text();
    if (name.trimmed().isEmpty())
        return;
    if (HasRefusedCharacter(name)) {
        MessageBox::show(this, QString::fromLatin1(pickertext::MessageTitle),
                         pickertext::BadFileName.in(lang_));
        return;
    }
    const QString path = ExchangeFilePath(folder_, name);
    const bool exists = QFileInfo(path).isFile();
    const QString title = QString::fromLatin1(pickertext::MessageTitle);
    // The export replaces an existing file only once the new one is
    // complete, so the old one is kept here rather than deleted.
    if (export_ && exists &&
        !MessageBox::askYesNo(this, title, pickertext::RewriteFile.in(lang_).arg(path)))
        return;
    if (!export_ && !exists) {
        MessageBox::show(this, title, pickertext::FileMissing.in(lang_).arg(path));
        return;
    }
    pickedFile_ = path;
    accept();
}

void ExchangeFilePicker::Command2_Click() {
    reject();
}

void ExchangeFilePicker::reject() {
    pickedFile_.clear();
    QDialog::reject();
}

} // namespace tapwise
