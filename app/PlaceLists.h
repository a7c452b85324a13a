#pragma once

#include "app/PickerRules.h"

#include <QDeadlineTimer>
#include <QObject>

class QComboBox;
class QFileSystemModel;
class QListView;
class QModelIndex;
class QPushButton;
class QTreeView;
class QWidget;

namespace tapwise {

class FolderModel;
class PlaceFilter;

// Both pickers lay their lists out alike (twips).
inline constexpr int FolderListWidth = 3855;
inline constexpr int FileListWidth = 4215;

// A picker's button: at least the pickers' button width, and never taking
// Enter for itself (only the button made default answers it).
QPushButton* PickerButton(const QString& caption, const char* name, QWidget* parent);

// The three browsing controls both pickers share, as live views over the
// file system: the place list (Drive1), the folder list (Dir1) showing the
// place's folders down to the open one, and the file list (File1) of the
// folder shown, named and sized as both pickers want them. The pickers decide
// what a click means; this only reports it.
class PlaceLists : public QObject {
    Q_OBJECT
public:
    PlaceLists(QList<Place> places, QWidget* parent);

    QComboBox* Drive1 = nullptr;
    QTreeView* Dir1 = nullptr;
    QListView* File1 = nullptr;

    const QList<Place>& places() const { return places_; }
    // Selects a place in the list without reporting it.
    void selectPlace(int index);
    int selectedPlace() const;

    // Opens a folder (ending in "/"): the folder list shows the folders of
    // its place down to it, marked as the open one, and the file list its
    // files.
    void openFolder(const QString& folder);
    // Marks a folder as the current one in the folder list and shows its
    // files, without expanding it.
    void markFolder(const QString& folder);
    void showFiles(const QString& folder);
    void setFileFilters(const QStringList& filters);
    void clearFileSelection();

    // Test access: the folder list's row of a folder, the file list's row
    // of a file name (invalid while the list is still loading).
    QModelIndex folderIndex(const QString& folder) const;
    QModelIndex fileIndex(const QString& name) const;

signals:
    void placeChosen(int index);
    void folderOpened(const QString& folder);  // double click
    void folderClicked(const QString& folder); // single click
    void fileClicked(const QString& name);
    void fileDoubleClicked(const QString& name);

private:
    QString folderOf(const QModelIndex& viewIndex) const;
    QString fileOf(const QModelIndex& viewIndex) const;
    void showPlaceOf(const QString& folder);
    void revealOpenFolder();

    QList<Place> places_;
    QString opening_; // the folder opened last
    QDeadlineTimer revealing_;
    FolderModel* folders_ = nullptr;
    PlaceFilter* placeFilter_ = nullptr;
    QFileSystemModel* files_ = nullptr;
};

} // namespace tapwise
