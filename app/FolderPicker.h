#pragma once

#include "app/PickerRules.h"
#include "common/Settings.h"

#include <QDialog>

class QPushButton;

namespace tapwise {

class PlaceLists;

// The folder or file picker (Form8). "FLD": the folder clicked or opened is
// the choice, and a new folder can be created in it. "FIL": a file of the
// given extension, chosen by clicking it and pressing Select.
class FolderPicker : public QDialog {
    Q_OBJECT
public:
    FolderPicker(const Settings& settings, const QString& BrowseMode,
                 const QString& BrowseExtension, const QString& BrowseCaption, QList<Place> places,
                 QWidget* parent = nullptr);

    // The choice: a folder ending in "/", a new folder without it, or a
    // file's full path; "" when left with Exit.
    QString BrowseResult() const { return result_; }
    QString currentFolder() const { return folder_; }
    PlaceLists* lists() const { return lists_; }

    void reject() override;

private:
    void buildControls();
    void layOut();
    void Form_Load(const QString& BrowseExtension, const QString& BrowseCaption);
    void Drive1_Change(int index);
    void Dir1_Change(const QString& folder);
    void Dir1_Click(const QString& folder);
    void File1_Click(const QString& name);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    std::optional<QString> askNewFolderName();
    void chooseFolder(const QString& folder);

    QString lang_;
    QString dataFolder_;
    bool folderMode_;
    QString folder_;
    QString fileName_;
    QString result_;
    int lastPlace_ = -1;
    PlaceLists* lists_ = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
};

} // namespace tapwise
