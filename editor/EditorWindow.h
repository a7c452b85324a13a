#pragma once

#include "common/Settings.h"
#include "editor/LineEntries.h"
#include "editor/RowEditing.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMouseEvent;
class QPlainTextEdit;
class QPushButton;

namespace tapwise {

class SequenceStore;

// The sequence editor (Form1): the description, the line list List1, the
// key entry box Combo1 that turns keys and picks into lines, and the
// WaitTime box. Rows are changed only through the functions of RowEditing;
// the window connects its events to them and shows the result.
//
// Closed only by Exit or by a successful save; the close box is refused.
class EditorWindow : public QDialog {
    Q_OBJECT
public:
    EditorWindow(Settings& settings, SequenceStore& store, QWidget* parent = nullptr);
    ~EditorWindow() override;

    void setEntries(std::unique_ptr<LineEntries> entries);

    // Prepares the window for a new Key sequence, or for the stored one at
    // `position`; false (with the store's message shown) when it cannot be
    // read.
    void openNew();
    bool openStored(qint32 position);

    // After the window closed: whether it saved, and the saved record's position.
    bool saved() const { return saved_; }
    qint32 savedPosition() const { return savedPosition_; }

    // The state, for tests.
    const RowList& rowList() const { return list_; }
    bool SequenceChanged() const { return SequenceChanged_; }
    int OfferedColumns() const { return OfferedColumns_; }

    // Save: mode "S" appends a new record, "R" replaces the edited one.
    void SvData(const QString& mode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void layOutControls();
    void connectControls();
    void setTexts();
    void fitTexts();
    void Form_Load();
    void showRows();
    void updateLineButtons();
    void finish(bool saved);
    QString keyPrompt() const;

    // Combo1
    bool Combo1_KeyDown(QKeyEvent* event);
    void Combo1_KeyUp(QKeyEvent* event);
    void Combo1_Click(int index);
    void Combo1_Scroll();
    void placeEntered();
    void restartKeyEntry();

    // List1
    bool List1_MouseEvent(QMouseEvent* event);
    void List1_MouseDown(QMouseEvent* event);
    void List1_MouseUp(QMouseEvent* event);
    void updateValues();
    QString openEntry(ValuesEntry entry, const QString& keys);

    // Buttons and boxes
    void Command1_Click();
    void Command4_Click();
    void Command5_Click();
    void Text1_Change();
    bool Text1_LostFocus();

    Settings& settings_;
    SequenceStore& store_;
    std::unique_ptr<LineEntries> entries_;

    // Editor state.
    RowList list_;
    QString EditorKeys;
    QString EditorWaitTime = QStringLiteral("0");
    bool SequenceChanged_ = false;
    bool SkipNextPick = false;
    char32_t LastTypedChar = 0;
    // The last key that went down other than a modifier, and the modifiers
    // held then.
    int PressedCode = -1;
    int PressedMask = 0;
    int PressedRow = -1;
    int OfferedColumns_ = 10;
    qint32 CurrentPosition = 0;
    QString CurrentDescription;
    bool tipCleared_ = false;
    bool doubleClicked_ = false; // the next release ends a double-click
    bool showing_ = false;       // List1 is being filled from list_
    bool closing_ = false;
    bool saved_ = false;
    qint32 savedPosition_ = 0;

    QLabel* Label1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command1 = nullptr;
};

} // namespace tapwise
