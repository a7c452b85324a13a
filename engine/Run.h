#pragma once

#include "common/Lang.h"
#include "common/Result.h"
#include "engine/Checks.h"
#include "engine/Conditions.h"
#include "engine/LineDispatcher.h"
#include "engine/PauseControl.h"
#include "engine/RunDriver.h"
#include "engine/RunSequence.h"
#include "engine/RunState.h"
#include "engine/WorksheetSource.h"

namespace tapwise {

class Desktop;
class RunUi;

// One run of a Key sequence: its state and the parts that act on it. Every
// part reaches the others, the desktop, the windows and the workbook through
// this object, so that nothing of a run lives outside it.
class Run {
public:
    explicit Run(const RunServices& services);

    RunServices services;
    RunState state;

    PauseControl pause;
    LineDispatcher dispatcher;
    Conditions conditions;
    Checks checks;
    WorksheetSource worksheet;
    RunDriver driver;

    Desktop& desktop() const { return services.desktop; }
    RunUi& ui() const { return services.ui; }
    const QString& lang() const;
    QString text(const BilingualText& text) const;
    // The caption of the run's windows.
    QString title() const;

    // The run mode flag, letter case ignored.
    bool noMsgIs(const char* mode) const;

    // False, and the run stops with the failure reported, when a desktop or
    // workbook operation failed. The first failure stops the run; later ones
    // are reported with it.
    bool check(const Status& status);
    void fail(const Error& error);
    // The user activated the status window: the run ends without its report.
    void endByActivation();
    // The run is leaving its loops (activation or failure).
    bool stopping() const { return state.Stop != RunStop::None; }
};

} // namespace tapwise
