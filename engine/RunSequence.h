#pragma once

#include <QString>

namespace tapwise {

class Desktop;
class RunUi;
class SequenceStore;
class WorkbookOpener;
struct Settings;

// What a run needs from the rest of the program.
struct RunServices {
    Settings& settings; // Lang, MainTitle and the run mode flag NoMsg
    SequenceStore& store;
    Desktop& desktop;
    RunUi& ui;
    WorkbookOpener& workbooks;
};

// How a run ended; the program ends after every one of them.
enum class RunEnd {
    Finished,  // the end step ran (report shown unless NoMsg)
    Cancelled, // cancelled; the cancelled report was shown
    Activated, // the status window was activated: ended without report
    Failed,    // the run could not start or the desktop failed; reported
};

// Runs the Key sequence at a record position into the focused window: once,
// or once per worksheet row. description, excelFile and password are those
// of the command line or the main window; description and excelFile are
// overwritten with the stored description and the workbook's full name.
RunEnd RunSequence(const RunServices& services, qint32 position, QString& description,
                   QString& excelFile, QString& password);

} // namespace tapwise
