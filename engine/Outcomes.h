#pragma once

#include <QtGlobal>

namespace tapwise {

// What the pause window's answer asks of the run; also the outcome of a
// pause line, a check line and the column check.
enum PauseOutcome : qint16 {
    PauseContinue = 0,
    PauseCancel = 1,
    RestartNextRow = 2,
    RestartThisRow = 3,
    RestartNextLoop = 4,
    RestartThisLoop = 5,
};

// The outcome of a condition or label line. The same numbers as the loop
// restarts: the driver reads an outcome by the kind of line that gave it.
enum LineOutcome : qint16 {
    ConditionFalse = 0,
    LabelPassed = 4,
    ConditionJump = 5,
    ConditionRewritten = 6, // a time condition "<>" at its moment: no jump
};

// The pause window's modes: the end report, a pause, a difference found by
// the column check, wrong data found by a check line.
enum PauseMode : int {
    MessageMode = 0,
    PauseModeKey = 1,
    DifferenceMode = 2,
    WrongDataMode = 3,
};

} // namespace tapwise
