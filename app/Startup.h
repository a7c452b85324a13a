#pragma once

#include "app/CommandLine.h"
#include "common/Result.h"
#include "engine/RunSequence.h"

#include <QString>

namespace tapwise {

class Desktop;
struct Settings;

// The program's exit status.
enum ExitCode : int {
    ExitDone = 0,            // the run ended normally, or nothing was to be run
    ExitRunFailed = 1,       // the run or the data file failed; the reason was shown
    ExitBadArgument = 2,     // the argument names a missing folder or workbook, or a bad field
    ExitSequenceMissing = 3, // no Key sequence has the name given
    ExitCancelled = 4,       // the user cancelled the run
    ExitAbandoned = 5,       // the user activated the status window during the run
};

int ExitCodeOf(RunEnd end);

// How start-up speaks to the user: message boxes in the program, a record
// in tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A message with an OK button.
    virtual void showMessage(const QString& title, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
};

// What start-up hands over to: the desktop, the run and the main window.
class RunLauncher {
public:
    virtual ~RunLauncher() = default;
    // The desktop, opened on first use; the error says why it cannot be.
    virtual Result<Desktop*> desktop() = 0;
    // Runs the Key sequence at a record position (see RunSequence).
    virtual RunEnd runSequence(qint32 position, QString& name, QString& excelFile,
                               QString& password) = 0;
    // Opens the main window on the data folder and gives the program's exit
    // status once it has ended (Exit, its close box, or a run started from it).
    virtual int openMainWindow() = 0;
};

// The start-up routine: reads the program's one argument
// "FOLDER[,NAME[,WORKBOOK[|PASSWORD][,NoMsg]]][|E or |I]", sets the
// program-wide values, reports what is wrong with it, and runs the named Key
// sequence or opens the main window. Every road ends the program; run()
// gives its exit status.
class Startup {
public:
    // startedFromTerminal: the program's standard input is a terminal, so
    // the terminal window that has the focus is the one that started it.
    Startup(Settings& settings, MessageSink& messages, RunLauncher& launcher,
            bool startedFromTerminal);

    int run(const QString& argument);

private:
    int shortcutOffer();
    void createMainLauncher();
    int backgroundRun(RunArguments& arguments);
    void minimizeConsole();
    int report(const QString& text, int exitCode);

    Settings& settings_;
    MessageSink& messages_;
    RunLauncher& launcher_;
    bool startedFromTerminal_;
};

} // namespace tapwise
