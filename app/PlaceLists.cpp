#include "app/PlaceLists.h"

#include "app/PickerTexts.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTreeView>

namespace tapwise {
namespace {

// How long the folder list follows the loading of the folder opened.
constexpr int RevealTime = 3000;
constexpr int ListHeight = 3015;
constexpr int ButtonWidth = 1095;

} // namespace

// The folders of the file system, with the open folder shown in bold under
// an open-folder icon, so that the folder a name is saved in is always seen.
class FolderModel : public QFileSystemModel {
public:
    explicit FolderModel(QObject* parent) : QFileSystemModel(parent) {
        setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
        setReadOnly(true);
    }

    void setOpenFolder(const QString& folder) {
        const QModelIndex before = index(open_);
        open_ = folder == QLatin1String("/") ? folder : WithSlash(folder).chopped(1);
        for (const QModelIndex& changed : {before, index(open_)})
            if (changed.isValid())
                emit dataChanged(changed, changed, {Qt::FontRole, Qt::DecorationRole});
    }

    QVariant data(const QModelIndex& item, int role) const override {
        if ((role == Qt::FontRole || role == Qt::DecorationRole) && item.column() == 0 &&
            filePath(item) == open_) {
            if (role == Qt::DecorationRole)
                return QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QFileSystemModel::data(item, role);
    }

private:
    QString open_;
};

// Keeps the folder list within one place: the place's own folder, what lies
// under it, and the folders above it (which the view's root hides).
class PlaceFilter : public QSortFilterProxyModel {
public:
    PlaceFilter(FolderModel* folders, QObject* parent) : QSortFilterProxyModel(parent) {
        setSourceModel(folders);
    }

    void setPlace(const QString& place) {
        place_ = WithSlash(place);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* folders = static_cast<const QFileSystemModel*>(sourceModel());
        const QString path = WithSlash(folders->filePath(folders->index(row, 0, parent)));
        return path.startsWith(place_) || place_.startsWith(path);
    }

private:
    QString place_ = QStringLiteral("/");
};

PlaceLists::PlaceLists(QList<Place> places, QWidget* parent)
    : QObject(parent), places_(std::move(places)) {
    Drive1 = new QComboBox(parent);
    for (const Place& place : places_)
        Drive1->addItem(place.label, place.path);
    connect(Drive1, &QComboBox::activated, this, &PlaceLists::placeChosen);

    folders_ = new FolderModel(this);
    folders_->setRootPath(QStringLiteral("/"));
    // The folders load and sort in the background: while the folder opened
    // settles, it is revealed again after each change, once the model has
    // finished announcing it (looking a folder up may add rows to it).
    connect(folders_, &QFileSystemModel::directoryLoaded, this, &PlaceLists::revealOpenFolder,
            Qt::QueuedConnection);
    connect(folders_, &QFileSystemModel::layoutChanged, this, &PlaceLists::revealOpenFolder,
            Qt::QueuedConnection);
    placeFilter_ = new PlaceFilter(folders_, this);
    Dir1 = new QTreeView(parent);
    Dir1->setModel(placeFilter_);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->setExpandsOnDoubleClick(false);
    Dir1->setUniformRowHeights(true);
    connect(Dir1, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& item) { emit folderOpened(folderOf(item)); });
    const auto folderClickedAt = [this](const QModelIndex& item) {
        revealing_.setRemainingTime(0);
        emit folderClicked(folderOf(item));
    };
    connect(Dir1, &QTreeView::clicked, this, folderClickedAt);
    // Enter on a folder chooses it as a click does, for the keyboard.
    connect(Dir1, &QTreeView::activated, this, folderClickedAt);

    files_ = new QFileSystemModel(this);
    files_->setFilter(QDir::Files);
    files_->setNameFilterDisables(false);
    files_->setReadOnly(true);
    File1 = new QListView(parent);
    File1->setModel(files_);
    File1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(File1, &QListView::doubleClicked, this,
            [this](const QModelIndex& item) { emit fileDoubleClicked(fileOf(item)); });
    connect(File1, &QListView::clicked, this,
            [this](const QModelIndex& item) { emit fileClicked(fileOf(item)); });
    // Moving to a file with the keys chooses it as a click does.
    connect(File1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& item) {
                if (File1->hasFocus() && item.isValid())
                    emit fileClicked(fileOf(item));
            });

    named(Drive1, "Drive1")->setMinimumWidth(TwipsToPixels(FolderListWidth));
    named(Dir1, "Dir1")->setToolTip(QString::fromLatin1(pickertext::OpenFolderTip));
    Dir1->setMinimumSize(TwipsToPixels(FolderListWidth), TwipsToPixels(ListHeight));
    named(File1, "File1")->setMinimumSize(TwipsToPixels(FileListWidth), TwipsToPixels(ListHeight));
}

QPushButton* PickerButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setMinimumWidth(TwipsToPixels(ButtonWidth));
    button->setAutoDefault(false);
    return button;
}

void PlaceLists::selectPlace(int index) {
    Drive1->setCurrentIndex(index);
}

int PlaceLists::selectedPlace() const {
    return Drive1->currentIndex();
}

void PlaceLists::showPlaceOf(const QString& folder) {
    const int place = PlaceIndexOf(places_, folder);
    const QString root = place < 0 ? QStringLiteral("/") : places_[place].path;
    placeFilter_->setPlace(root);
    const QModelIndex rootFolder =
        folders_->index(root == QLatin1String("/") ? root : root.chopped(1));
    Dir1->setRootIndex(placeFilter_->mapFromSource(rootFolder.parent()));
}

void PlaceLists::openFolder(const QString& folder) {
    // Hidden folders stay out of the list unless the folder lies in one.
    const bool inHidden = folder.contains(QLatin1String("/."));
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot |
                        (inHidden ? QDir::Hidden : QDir::Filters{}));
    showPlaceOf(folder);
    markFolder(folder);
    opening_ = folder;
    revealing_.setRemainingTime(RevealTime);
    revealOpenFolder();
}

// Expands the folders on the way down to the one opened and scrolls to it,
// until a click of the user or the time for loading is over.
void PlaceLists::revealOpenFolder() {
    if (revealing_.hasExpired())
        return;
    const QModelIndex item = folderIndex(opening_);
    if (!item.isValid())
        return;
    Dir1->setCurrentIndex(item);
    for (QModelIndex up = item; up.isValid(); up = up.parent())
        Dir1->expand(up);
    Dir1->scrollTo(item, QAbstractItemView::PositionAtCenter);
}

void PlaceLists::markFolder(const QString& folder) {
    folders_->setOpenFolder(folder);
    Dir1->setCurrentIndex(folderIndex(folder));
    showFiles(folder);
}

void PlaceLists::showFiles(const QString& folder) {
    File1->setRootIndex(files_->setRootPath(folder));
    clearFileSelection();
}

void PlaceLists::setFileFilters(const QStringList& filters) {
    files_->setNameFilters(filters);
}

void PlaceLists::clearFileSelection() {
    File1->clearSelection();
    File1->setCurrentIndex({});
}

QModelIndex PlaceLists::folderIndex(const QString& folder) const {
    const QString path = folder == QLatin1String("/") ? folder : WithSlash(folder).chopped(1);
    return placeFilter_->mapFromSource(folders_->index(path));
}

QModelIndex PlaceLists::fileIndex(const QString& name) const {
    const QModelIndex folder = File1->rootIndex();
    for (int row = 0; row < files_->rowCount(folder); ++row) {
        const QModelIndex item = files_->index(row, 0, folder);
        if (files_->fileName(item) == name)
            return item;
    }
    return {};
}

QString PlaceLists::folderOf(const QModelIndex& viewIndex) const {
    return WithSlash(folders_->filePath(placeFilter_->mapToSource(viewIndex)));
}

QString PlaceLists::fileOf(const QModelIndex& viewIndex) const {
    return files_->fileName(viewIndex);
}

} // namespace tapwise
