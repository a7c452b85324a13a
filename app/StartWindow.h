#pragma once

#include "engine/RunUi.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tapwise {

class NumberBox;

// The start window of a run: what is going to be sent, the workbook and its
// start row, Go and Exit. Topmost.
class StartWindow : public QDialog {
    Q_OBJECT
public:
    explicit StartWindow(QString lang);

    // Shows the window modally and gives the user's answer.
    RunUi::StartAnswer ask(const RunUi::StartRequest& request);

    // The steps of ask(), for tests that drive the window themselves.
    void prepare(const RunUi::StartRequest& request);
    RunUi::StartAnswer answer() const { return answer_; }

private:
    void buildControls();
    void Command2_Click();
    void Command1_Click();

    QString lang_;
    RunUi::StartAnswer answer_;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
    NumberBox* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
};

} // namespace tapwise
