#pragma once

#include <QString>

#include <optional>

namespace tapwise {

// The windows of a run, as the engine sees them. The Qt windows implement
// this; engine tests answer it by script. Every call is modal where the
// window is modal: it returns when the user has answered. Texts arrive
// ready to show (language chosen, wrapped); the implementation knows the
// language only for its own captions and buttons.
class RunUi {
public:
    virtual ~RunUi() = default;

    // Lets the windows handle their pending events (called by every wait).
    virtual void processEvents() = 0;

    // The main window is closed as a run starts.
    virtual void closeMainWindow() = 0;

    // A plain message box with an OK button and the title "Tapwise".
    virtual void showMessage(const QString& text) = 0;

    // The workbook file dialog; "" when the user cancels.
    virtual QString chooseWorkbook() = 0;
    // Asks for the password of a workbook, the typed characters hidden;
    // nullopt when the user cancels. prompt is ready to show.
    virtual std::optional<QString> askPassword(const QString& prompt) = 0;

    // Start window (Form10).
    struct StartRequest {
        QString caption;
        QString description;
        QString excelFile; // "" hides the workbook frame and its start row box
    };
    struct StartAnswer {
        bool go = false; // false: Exit
        int startRow = 2;
    };
    virtual StartAnswer showStartWindow(const StartRequest& request) = 0;

    // Message and pause window (Form9). Mode 0 shows the text with "OK";
    // modes 1 (pause), 2 (worksheet data difference) and 3 (wrong data) show
    // the answers: Resume and Cancel, the two row restarts when a worksheet
    // is in use, the two loop restarts when it also has loop lines. A
    // countdown above 0 answers "P" by itself after that many seconds.
    struct MessageRequest {
        int mode = 0;
        QString caption;
        QString text;
        bool worksheet = false;
        bool loops = false;
        int countdownSeconds = 0;
    };
    // The answer: "P", "C", "E", "R", "F", "T", "OK", or "" when the window
    // was closed another way.
    virtual QString showMessageWindow(const MessageRequest& request) = 0;

    // Cycle dialog (Form3) after a worksheet row.
    struct CycleRequest {
        QString caption;
        QString message;  // the label text above the data sent
        QString sentText; // the "Col#X  value" lines of the row
    };
    struct CycleAnswer {
        QString noMsg;         // "YES", "NO" or "CANCEL"
        int waitPercent = 100; // the percentage box, kept between cycles
    };
    virtual CycleAnswer showCycleDialog(const CycleRequest& request) = 0;

    // Status window: the cycle dialog turned into a small minimised window
    // that says that a run is going on.
    virtual void showRunningWindow(const QString& caption, const QString& text) = 0;
    virtual void closeRunningWindow() = 0;
    // True once the user has activated the status window, which ends the run.
    virtual bool runningWindowActivated() = 0;
    // Shows the notice of a run ended by that activation for three seconds.
    virtual void showActivationNotice(const QString& text) = 0;
};

} // namespace tapwise
