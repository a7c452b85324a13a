#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tapwise {

class PointerPosition;
class ValueBox;
struct CheckValues;

// The check dialog (Form11, "Check screen text"): the position, seconds and
// text of a check line. EditorKeys holds "*Chk ...*" for a new line or the
// check line to change. OK builds the new line into EditorKeys and accepts;
// Exit, Escape and the close box empty EditorKeys and reject.
class CheckDialog : public QDialog {
    Q_OBJECT
public:
    CheckDialog(QString lang, QString EditorKeys, QWidget* parent = nullptr);
    ~CheckDialog() override;

    // The line built by OK; "" after Exit.
    QString EditorKeys;
    // The position of the line built by OK; -1 for a blank one.
    qint32 DialogValue1 = -1;
    qint32 DialogValue2 = -1;

    PointerPosition* pointerPosition() const { return PointerShown; }

    void reject() override;

private:
    void buildControls();
    void layOutControls();
    void Form_Load();
    CheckValues values() const;
    void Number_Change(ValueBox* box);
    void Text3_LostFocus();
    void Check1_Click();
    void PointerTaken(QPoint position);
    void refuse(ValueBox* box, const QString& message = {});
    void Command1_Click();

    QString lang_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    ValueBox* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    ValueBox* Text2 = nullptr;
    QLabel* Label4 = nullptr;
    ValueBox* Text3 = nullptr;
    QLabel* Label5 = nullptr;
    ValueBox* Text4 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    PointerPosition* PointerShown = nullptr;
};

} // namespace tapwise
