#pragma once

#include "workbook/Workbook.h"

namespace tapwise {

// Opens workbooks through another opener and keeps every workbook that is
// open in reach of the process's exit: when the program is ended under a
// run's feet (Qt ends the process with exit() when the X display goes away,
// or a termination signal arrives, see TerminationSignals), the rows the run
// has coloured green so far are saved before the process ends, so that the
// next run does not type them again.
class ExitSafeWorkbookOpener : public WorkbookOpener {
public:
    explicit ExitSafeWorkbookOpener(WorkbookOpener& opener) : opener_(opener) {}

    Result<std::unique_ptr<Workbook>> open(const QString& path, const QString& password,
                                           bool readOnly) override;
    bool needsPassword(const QString& path) override { return opener_.needsPassword(path); }

    // Saves the changes of every workbook still open. Called at exit; also
    // safe to call at any other time.
    static void saveOpenWorkbooks();

private:
    WorkbookOpener& opener_;
};

} // namespace tapwise
