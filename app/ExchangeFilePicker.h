#pragma once

#include "app/PickerRules.h"
#include "common/Settings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tapwise {

class PlaceLists;

// The exchange file picker (Form6): a ".tpw" file to export to ('E') or to
// import from ('I'), chosen by typing a name in the folder shown or by
// double-clicking a file. The name box has the focus and Enter confirms it.
class ExchangeFilePicker : public QDialog {
    Q_OBJECT
public:
    ExchangeFilePicker(const Settings& settings, QChar PickerMode, QList<Place> places,
                       QWidget* parent = nullptr);

    // The chosen file's full path; "" until a choice is confirmed.
    QString PickedFile() const { return pickedFile_; }
    // The folder a typed name goes to, ending in "/".
    QString currentFolder() const { return folder_; }
    PlaceLists* lists() const { return lists_; }

    void reject() override;

private:
    void buildControls();
    void layOut();
    void Form_Load();
    void Text1_Change();
    void Drive1_Change(int index);
    void Dir1_Change(const QString& folder);
    void File1_DblClick(const QString& name);
    void Command1_Click();
    void Command2_Click();

    QString lang_;
    QString dataFolder_;
    bool export_;
    QString folder_;
    QString pickedFile_;
    PlaceLists* lists_ = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
};

} // namespace tapwise
