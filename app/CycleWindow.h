#pragma once

#include "engine/RunUi.h"

#include <QDialog>

#include <chrono>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace tapwise {

class NumberBox;

// The cycle dialog of a worksheet run: the data sent for a row, the WaitTime
// percentage, and Yes (go on without asking), No (ask again after the next
// row) and Exit. Hidden between rows, so the percentage typed stays shown.
//
// The same window becomes the status window of a run without dialogs: a
// small minimised window at the bottom right of the screen with a red label.
// When the user activates it, the run is to end.
class CycleWindow : public QDialog {
    Q_OBJECT
public:
    CycleWindow(QString lang, QString title);

    // Shows the dialog modally and gives the answer.
    RunUi::CycleAnswer ask(const RunUi::CycleRequest& request);

    // The steps of ask(), for tests that drive the window themselves.
    void prepare(const RunUi::CycleRequest& request);
    RunUi::CycleAnswer answer() const { return answer_; }

    // Turns the dialog into the status window, shown minimised without
    // taking the focus, in the bottom right corner of `screen`.
    void becomeRunningWindow(const QString& caption, const QString& text, const QRect& screen);
    // True once the user has activated the status window.
    bool activated() const { return activated_; }
    // Shows a notice in the status window for a while, then hides it.
    void showNotice(const QString& text, std::chrono::milliseconds duration);

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    bool takeWaitPercent();
    void reject() override;

    QString lang_;
    RunUi::CycleAnswer answer_;
    bool RunningWindowShown = false;
    bool activated_ = false;
    QVBoxLayout* layout_ = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;
    NumberBox* Text2 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
};

} // namespace tapwise
