#pragma once

#include "engine/RunSequence.h"

#include <QString>
#include <QtGlobal>

namespace tapwise {

class Run;

// The run's main loop: set-up, the rows (one cycle without a worksheet),
// the lines of each row, and the end step with its report.
class RunDriver {
public:
    explicit RunDriver(Run& run);

    RunEnd RunSequence(qint32 position, QString& description, QString& excelFile,
                       QString& password);

private:
    enum class SetUpResult { Run, EndStep, Failed };
    // What the run does after a line.
    struct Next {
        enum Kind { Line, CycleEnd, EndStep, Restart } kind = Line;
        qint16 code = 0; // Restart: the pause outcome 2 to 5
    };

    SetUpResult SetUp(qint32 position);
    bool ReadLines(qint32 position);
    bool ShowStartWindow();
    void StartRunningWindow();

    void RowLoop();
    bool SendRow();
    bool BlankRow();
    bool CycleEnd();
    void Restart(qint16 code);

    Next LineLoop();
    Next RunLine(int& i);
    Next DispatchLine(int& i);
    Next AfterLine(int i);
    Next PauseCheckPoint(int i);
    static Next ReactTo(qint16 pauseOutcome);
    void CountLine(const QString& keys);

    RunEnd EndStep();
    void ShowReport(const QString& heading);
    QString Report() const;
    RunEnd EndByActivation();

    Run& run_;
    bool workbookRefused_ = false; // the run could not start: its workbook did not open
};

} // namespace tapwise
