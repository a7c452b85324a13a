#include "app/FolderPicker.h"

#include "app/PickerTexts.h"
#include "app/PlaceLists.h"
#include "gui/MessageBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int FormWidth = 8280;
constexpr int NarrowWidth = 4200;
constexpr int FormHeight = 5970;

QString title() {
    return QString::fromLatin1(pickertext::MessageTitle);
}

} // namespace

FolderPicker::FolderPicker(const Settings& settings, const QString& BrowseMode,
                           const QString& BrowseExtension, const QString& BrowseCaption,
                           QList<Place> places, QWidget* parent)
    : QDialog(parent), lang_(settings.Lang), dataFolder_(settings.DataFolder),
      folderMode_(BrowseMode.compare(QLatin1String("FLD"), Qt::CaseInsensitive) == 0) {
    setObjectName(QStringLiteral("Form8"));
    lists_ = new PlaceLists(std::move(places), this);
    buildControls();
    layOut();
    Form_Load(BrowseExtension, BrowseCaption);
}

void FolderPicker::buildControls() {
    lists_->File1->setToolTip(QString::fromLatin1(pickertext::ClickFileTip));
    Command1 = PickerButton(QString::fromLatin1(pickertext::Select), "Command1", this);
    Command2 = PickerButton(QString::fromLatin1(pickertext::Exit), "Command2", this);
    Command3 = PickerButton(QString::fromLatin1(pickertext::CreateFolder), "Command3", this);
    Command1->setDefault(true);

    connect(lists_, &PlaceLists::placeChosen, this, &FolderPicker::Drive1_Change);
    connect(lists_, &PlaceLists::folderOpened, this, &FolderPicker::Dir1_Change);
    connect(lists_, &PlaceLists::folderClicked, this, &FolderPicker::Dir1_Click);
    connect(lists_, &PlaceLists::fileClicked, this, &FolderPicker::File1_Click);
    connect(Command1, &QPushButton::clicked, this, &FolderPicker::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FolderPicker::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FolderPicker::Command3_Click);
}

// "FLD" leaves out the file list: the window is as narrow as its folder list.
void FolderPicker::layOut() {

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    auto* folderColumn = new QVBoxLayout;
    folderColumn->addWidget(lists_->Drive1);
    folderColumn->addWidget(lists_->Dir1, 1);
    folderColumn->addLayout(buttons);
    folderColumn->addWidget(Command3, 0, Qt::AlignLeft);

    auto* row = new QHBoxLayout(this);
    row->addLayout(folderColumn, FolderListWidth);
    row->addWidget(lists_->File1, FileListWidth);
    lists_->File1->setVisible(!folderMode_);
    Command3->setVisible(folderMode_);
    const int width = folderMode_ ? NarrowWidth : FormWidth;
    resize(TwipsToPixels(width), TwipsToPixels(FormHeight));
}

void FolderPicker::Form_Load(const QString& BrowseExtension, const QString& BrowseCaption) {
    setWindowTitle(BrowseCaption);
    lists_->setFileFilters(FileFilters(BrowseExtension));
    folder_ = QFileInfo(dataFolder_).isDir() ? WithSlash(dataFolder_) : WithSlash(QDir::homePath());
    lastPlace_ = PlaceIndexOf(lists_->places(), folder_);
    lists_->selectPlace(lastPlace_);
    lists_->openFolder(folder_);
    result_ = folderMode_ ? folder_ : QString();
    Command1->setEnabled(folderMode_);
    lists_->Dir1->setFocus();
}

void FolderPicker::chooseFolder(const QString& folder) {
    folder_ = folder;
    fileName_.clear();
    if (folderMode_)
        result_ = folder_;
    else
        Command1->setEnabled(false);
}

// A place that cannot be read is reported and the list goes back to the
// place whose folder is still shown.
void FolderPicker::Drive1_Change(int index) {
    const QString place = lists_->places().value(index).path;
    if (const auto error = FolderOpenError(place)) {
        MessageBox::show(this, title(), *error);
        lists_->selectPlace(lastPlace_);
        return;
    }
    lastPlace_ = index;
    Dir1_Change(place);
}

void FolderPicker::Dir1_Change(const QString& folder) {
    chooseFolder(folder);
    lists_->openFolder(folder_);
}

// A click makes the folder the current one; a file chosen in the folder
// before is no longer the choice, so Select waits for a new one.
void FolderPicker::Dir1_Click(const QString& folder) {
    chooseFolder(folder);
    lists_->markFolder(folder_);
}

void FolderPicker::File1_Click(const QString& name) {
    if (folderMode_ || name.isEmpty())
        return;
    fileName_ = name;
    Command1->setEnabled(true);
}

void FolderPicker::Command1_Click() {
    if (!folderMode_) {
        if (fileName_.isEmpty())
            return;
        result_ = folder_ + fileName_;
    }
    accept();
}

void FolderPicker::Command2_Click() {
    reject();
}

void FolderPicker::reject() {
    result_.clear();
    QDialog::reject();
}

// Asks until the name is one a new folder can take here; nullopt when the
// answer is empty or the prompt cancelled.
std::optional<QString> FolderPicker::askNewFolderName() {
    QString prompt = pickertext::NewFolderPrompt.in(lang_);
    QString answer;
    for (;;) {
        answer = MessageBox::input(this, title(), prompt, answer).value_or(QString()).trimmed();
        if (answer.isEmpty())
            return std::nullopt;
        if (HasRefusedCharacter(answer))
            prompt = pickertext::BadFolderName.in(lang_);
        else if (QFileInfo(result_ + answer).isDir())
            prompt = pickertext::FolderExists.in(lang_);
        else
            return answer;
    }
}

// The new folder is made in the folder chosen; a folder that cannot be
// made is reported and the picker stays open.
void FolderPicker::Command3_Click() {
    if (!folderMode_)
        return;
    const std::optional<QString> name = askNewFolderName();
    if (!name)
        return;
    const QString path = result_ + *name;
    if (!MessageBox::askYesNo(this, title(), pickertext::ConfirmFolder.in(lang_).arg(path)))
        return;
    if (const auto error = MakeFolder(path)) {
        MessageBox::show(this, title(), *error);
        return;
    }
    result_ = path;
    accept();
}

} // namespace tapwise
