#pragma once

#include "engine/RunUi.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace tapwise {

class CycleWindow;
struct Settings;

// The windows of a run as Qt widgets: the start window (Form10), the message
// and pause window (Form9), the cycle dialog and status window (Form3), the
// workbook file dialog and plain message boxes. Every window is topmost and
// captioned with the texts the run gives; the language of buttons and
// labels is the program's.
class RunWindows : public RunUi {
public:
    explicit RunWindows(const Settings& settings, QWidget* mainWindow = nullptr);
    ~RunWindows() override;

    void processEvents() override;
    void closeMainWindow() override;
    void showMessage(const QString& text) override;
    QString chooseWorkbook() override;
    std::optional<QString> askPassword(const QString& prompt) override;
    StartAnswer showStartWindow(const StartRequest& request) override;
    QString showMessageWindow(const MessageRequest& request) override;
    CycleAnswer showCycleDialog(const CycleRequest& request) override;
    void showRunningWindow(const QString& caption, const QString& text) override;
    void closeRunningWindow() override;
    bool runningWindowActivated() override;
    void showActivationNotice(const QString& text) override;

    // The cycle dialog or status window while it exists, for tests.
    CycleWindow* cycleWindow() const { return cycleWindow_.get(); }

private:
    CycleWindow& loadCycleWindow();

    const Settings& settings_;
    QPointer<QWidget> mainWindow_;
    std::unique_ptr<CycleWindow> cycleWindow_;
};

} // namespace tapwise
