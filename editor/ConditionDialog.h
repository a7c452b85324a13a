#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace tapwise {

class ValueBox;
struct ConditionValues;

// The condition dialog (Form12, "If"): the type, operator, value and label of
// a condition line. EditorKeys holds "*If ...*" for a new line or the
// condition line to change. OK builds the new line into EditorKeys and
// accepts; Exit, Escape and the close box empty EditorKeys and reject.
class ConditionDialog : public QDialog {
    Q_OBJECT
public:
    ConditionDialog(QString lang, QString EditorKeys, QWidget* parent = nullptr);
    ~ConditionDialog() override;

    // The line built by OK; "" after Exit.
    QString EditorKeys;

    // Columns offered in the type list; one more per scroll of the list.
    int offeredColumns() const { return OfferedColumns; }

    void reject() override;

private:
    void buildControls();
    void layOutControls();
    void Form_Load();
    ConditionValues values() const;
    void CarCombo2(int sw);
    void offerColumnsUpTo(int columns);
    void Combo1_Scroll();
    void Combo_Change(QComboBox* box);
    void Combo1_Click();
    void Combo1_Typed();
    void refuse(QWidget* box, const QString& message = {});
    void Command1_Click();

    QString lang_;
    int OfferedColumns = 0;
    QString appliedType_; // the type the operator list was last set up for
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label4 = nullptr;
    ValueBox* Text1 = nullptr;
    QLabel* Label5 = nullptr;
    ValueBox* Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
};

} // namespace tapwise
