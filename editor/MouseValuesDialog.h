#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tapwise {

class PointerPosition;
class ValueBox;

// The mouse values dialog (Form5): the position, movement or wheel amount of
// a mouse line. EditorKeys names the entry ("[PosMouse ...]") or carries the
// values of the line being updated behind the update mark
// ("[PosMouse.100;200)]"). OK accepts the dialog with DialogValue1 and
// DialogValue2 set; Exit, Escape and the close box reject it.
class MouseValuesDialog : public QDialog {
    Q_OBJECT
public:
    MouseValuesDialog(QString lang, QString EditorKeys, QWidget* parent = nullptr);
    ~MouseValuesDialog() override;

    qint32 DialogValue1 = 0;
    qint32 DialogValue2 = 0;

    PointerPosition* pointerPosition() const { return PointerShown; }

private:
    void buildControls();
    void layOutControls();
    void setTexts();
    void Text_Change(ValueBox* box);
    void Text_LostFocus(ValueBox* box);
    void PointerTaken(QPoint position);
    void Command1_Click();

    QString lang_;
    QString EditorKeys;
    bool signed_ = false;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    ValueBox* Text1 = nullptr;
    QLabel* Label3 = nullptr;
    ValueBox* Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    PointerPosition* PointerShown = nullptr;
};

} // namespace tapwise
