#pragma once

// The run's windows for tests: every window answers from a script, and every
// call is written to a log that a test reads back.
//
//     ScriptedRunUi ui;
//     ui.pauseAnswers = {"E", "C"};           // the pause window's next answers
//     ui.cycleAnswers = {{"YES", 50}};        // the cycle dialog's
//     ui.startAnswers = {{false, 2}};         // Exit in the start window
//     ui.onProcessEvents = [&](int n) { if (n == 3) ui.activated = true; };
//
// Unscripted windows answer: start window Go with row 2, pause window "P"
// (Resume), message window "OK", cycle dialog "NO" keeping the percentage,
// workbook dialog "" (cancel).
//
// The log, one line per call:
//   "main-closed", "message T" (plain message box), "choose-workbook",
//   "start", "window M T" (message window in mode M, T its text, answered),
//   "cycle", "running", "running-closed", "notice T"

#include "engine/RunUi.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace tapwise {

class ScriptedRunUi : public RunUi {
public:
    // --- The script ---
    std::deque<StartAnswer> startAnswers;
    std::deque<QString> pauseAnswers;
    std::deque<CycleAnswer> cycleAnswers;
    QString workbookChoice;
    // The password typed at the prompt; nullopt cancels it.
    std::optional<QString> passwordAnswer;
    // Called on every processEvents with its count (1 for the first).
    std::function<void(int)> onProcessEvents;
    // Called as a message window opens, before it is answered.
    std::function<void(const MessageRequest&)> onMessageWindow;
    bool activated = false;

    // --- What happened ---
    QStringList log;
    std::vector<StartRequest> starts;
    std::vector<MessageRequest> windows;
    std::vector<CycleRequest> cycles;
    QStringList messages;
    QStringList passwordPrompts;
    int processEventsCount = 0;

    // The texts of the message windows of a mode.
    QStringList windowTexts(int mode) const;
    // The last message window in mode 0: the end report; "" when none.
    QString report() const;

    // --- RunUi ---
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
    bool runningWindowActivated() override { return activated; }
    void showActivationNotice(const QString& text) override;

private:
    int waitPercent_ = 100;
};

} // namespace tapwise
