#pragma once

#include "engine/RunUi.h"

#include <QDialog>
#include <QElapsedTimer>

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace tapwise {

// Layout of the message and pause window, in twips. The window is drawn for
// all six answers; without loop lines it loses the last row, without a
// worksheet the two restart rows, and as a plain message it is cut below the
// OK button.
namespace pauseWindow {
inline constexpr int Width = 7200;
inline constexpr int FullHeight = 4150;
inline constexpr int MessageHeight = 2730; // the end report: message and OK
inline constexpr int LessWithoutWorksheet = 1000;
inline constexpr int LessWithoutLoops = 700;
inline constexpr int FrameLeft = 120;
inline constexpr int FrameTop = 1980;
inline constexpr int FrameWidth = 6960;
inline constexpr int FrameHeight = 1825;
inline constexpr int AnswerWidth = 3240;
inline constexpr int AnswerHeight = 375;
inline constexpr int LeftColumn = 240;   // Check1, Check4, Check6
inline constexpr int RightColumn = 3600; // Check3, Check5, Check7
inline constexpr int FirstRow = 300;     // Check1, Check3
inline constexpr int RowRow = 775;       // Check4, Check5
inline constexpr int LoopRow = 1250;     // Check6, Check7
inline constexpr int OkTop = 2040;       // Command2, centred
inline constexpr int OkWidth = 1260;
} // namespace pauseWindow

// The message and pause window: a message, and either OK (the end report)
// or the answers to a pause: Resume, Cancel and the restarts of a worksheet
// run. A countdown answers Resume by itself. Topmost; built for one use.
class PauseWindow : public QDialog {
    Q_OBJECT
public:
    explicit PauseWindow(QString lang);

    // Shows the window modally; the answer "P", "C", "E", "R", "F", "T",
    // "OK", or "" when it was closed another way.
    QString ask(const RunUi::MessageRequest& request);

    // The steps of ask(), for tests that drive the window themselves.
    void prepare(const RunUi::MessageRequest& request);
    QString answer() const { return PauseAnswer; }

private:
    QPushButton* answerBox(const char* name, const QString& caption, int left, int top);
    void buildControls();
    void buildAnswers();
    void showAnswers(const RunUi::MessageRequest& request);
    void styleMessage(int mode);
    void fitMessage();
    void answerWith(const QString& answer);
    void Timer1_Timer();

    QString lang_;
    QString PauseAnswer;
    int PauseCountdown = 0;
    QElapsedTimer loadTime_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command2 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* Check1 = nullptr;
    QPushButton* Check3 = nullptr;
    QPushButton* Check4 = nullptr;
    QPushButton* Check5 = nullptr;
    QPushButton* Check6 = nullptr;
    QPushButton* Check7 = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace tapwise
