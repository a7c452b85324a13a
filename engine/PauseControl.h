#pragma once

#include <QString>
#include <QtGlobal>

namespace tapwise {

class Run;

// The Pause key, the waits that watch it, and the run's message and pause
// window and status window.
class PauseControl {
public:
    explicit PauseControl(Run& run);

    // Waits n hundredths of a second, measured on the desktop's clock, while
    // the windows handle their events and the Pause key is watched about
    // every 10 ms. Returns at once when a pause is due or the run is
    // stopping; returns early when the Pause key is seen (the pause is then
    // due) or the status window was activated (the run then stops). n = 0
    // still lets the windows and the key be looked at once.
    void WaitHundredths(qint64 n);

    // One look at the Pause key.
    void PollPauseKey();

    // Shows the pause window in mode 1 (pause), 2 (worksheet data
    // difference) or 3 (wrong data) with a text, and gives the answer as a
    // pause outcome. Cancel sets the run mode to "CANCEL"; Resume puts the
    // pointer back where it was when the window opened.
    qint16 HandlePause(const QString& text, int mode);

    // Shows the message and pause window; its answer is left in PauseAnswer.
    void ShowMessageWindow(int mode, const QString& text);

    // Turns the cycle dialog into the minimised status window.
    void ShowRunningWindow();

private:
    bool yieldToWindows();
    QString pauseMessage(const QString& text, int mode) const;
    QString pauseText(const QString& text) const;
    QString wrongDataMessage(const QString& text) const;
    qint16 answerOutcome();

    Run& run_;
};

} // namespace tapwise
