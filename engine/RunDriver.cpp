#include "engine/RunDriver.h"

#include "common/Settings.h"
#include "engine/EngineTexts.h"
#include "engine/Outcomes.h"
#include "engine/Run.h"
#include "engine/RunUi.h"
#include "engine/TextRules.h"
#include "engine/WorkingLines.h"
#include "language/KeyTranslation.h"
#include "language/LineSyntax.h"
#include "platform/Desktop.h"
#include "store/SequenceStore.h"

#include <chrono>

namespace tapwise {

namespace et = enginetexts;

namespace {

constexpr qint32 LastStartRow = 65536;

} // namespace

RunDriver::RunDriver(Run& run) : run_(run) {}

RunEnd RunDriver::RunSequence(qint32 position, QString& description, QString& excelFile,
                              QString& password) {
    RunState& s = run_.state;
    s.Description = description;
    s.ExcelFile = excelFile;
    s.Password = password;
    const SetUpResult setUp = SetUp(position);
    RunEnd end = RunEnd::Failed;
    if (setUp != SetUpResult::Failed) {
        if (setUp == SetUpResult::Run)
            RowLoop();
        end = EndStep();
    }
    description = s.Description;
    excelFile = s.ExcelFile;
    run_.services.settings.NoMsg = s.NoMsg;
    return end;
}

RunDriver::SetUpResult RunDriver::SetUp(qint32 position) {
    RunState& s = run_.state;
    const bool noMessages =
        run_.services.settings.NoMsg.compare(QLatin1String("NOMSG"), Qt::CaseInsensitive) == 0;
    s.NoMsg = noMessages ? QStringLiteral("NOMSG") : QString();
    if (!ReadLines(position))
        return SetUpResult::Failed;
    run_.pause.WaitHundredths(3);
    run_.ui().closeMainWindow();
    s.StartRow = FirstDataRow;
    if (s.ColumnCount > 0) {
        const WorksheetSource::Opening opening = run_.worksheet.Open();
        workbookRefused_ = opening == WorksheetSource::Opening::Refused;
        if (opening != WorksheetSource::Opening::Opened)
            return SetUpResult::EndStep;
    }
    s.WaitPercent = 100;
    if (!run_.noMsgIs("NOMSG")) {
        if (!ShowStartWindow())
            return SetUpResult::EndStep;
        run_.pause.WaitHundredths(5);
    } else {
        run_.desktop().sleep(std::chrono::milliseconds(500));
    }
    if (s.ColumnCount == 0 || run_.noMsgIs("NOMSG"))
        StartRunningWindow();
    s.CurrentRow = s.StartRow - 1;
    s.FirstLine = 0;
    s.LastLine = int(s.Keys.size()) - 1;
    return run_.stopping() ? SetUpResult::EndStep : SetUpResult::Run;
}

// Reads the Key sequence and builds the working lines. A sequence that
// cannot run is refused here, before anything is typed.
bool RunDriver::ReadLines(qint32 position) {
    RunState& s = run_.state;
    Result<StoredSequence> read = run_.services.store.ReadSequence(position);
    if (!read) {
        run_.ui().showMessage(errorText(read.error()));
        return false;
    }
    s.Description = read.value().description;
    const Lines& lines = read.value().lines;
    WorkingLines working = buildWorkingLines(lines);
    if (const auto problem = findLineProblem(lines, !working.UsedColumns.isEmpty())) {
        const BilingualText& text =
            problem->kind == LineProblem::Kind::Column ? et::BadColumn : et::BadTime;
        run_.ui().showMessage(run_.text(text).arg(problem->lineNumber).arg(problem->text));
        return false;
    }
    if (working.Keys.isEmpty()) {
        if (!run_.noMsgIs("NOMSG"))
            run_.ui().showMessage(run_.text(et::NoExecutableLine));
        return false;
    }
    s.Keys = working.Keys;
    s.WaitTime = working.WaitTime;
    s.LabelIndex = working.LabelIndex;
    s.UsedColumns = working.UsedColumns;
    s.ColumnCount = int(working.UsedColumns.size());
    s.HasExcelLoop = working.HasExcelLoop;
    s.HasTimeCondition = working.HasTimeCondition;
    return true;
}

// The start window; false when the user leaves it with Exit. A start row
// that is not a row of data cannot start a worksheet run.
bool RunDriver::ShowStartWindow() {
    RunState& s = run_.state;
    const RunUi::StartRequest request{run_.title(), s.Description, s.ExcelFile};
    for (;;) {
        const RunUi::StartAnswer answer = run_.ui().showStartWindow(request);
        if (!answer.go) {
            s.NoMsg = QStringLiteral("CANCEL");
            return false;
        }
        const bool valid = answer.startRow >= FirstDataRow && answer.startRow <= LastStartRow;
        if (valid)
            s.StartRow = answer.startRow;
        if (valid || s.ColumnCount == 0)
            return true;
        run_.ui().showMessage(run_.text(et::BadStartRow));
    }
}

void RunDriver::StartRunningWindow() {
    run_.ui().closeRunningWindow();
    if (!run_.state.HasTimeCondition)
        run_.pause.ShowRunningWindow();
}

// One cycle per row: green rows skipped, a blank row ends the data or, with
// loop lines, closes a row group.
void RunDriver::RowLoop() {
    RunState& s = run_.state;
    while (!run_.stopping()) {
        ++s.CurrentRow;
        if (s.ColumnCount > 0) {
            const std::optional<bool> green = run_.worksheet.isGreen(s.CurrentRow);
            if (!green)
                return;
            if (*green)
                continue;
        }
        if (!SendRow())
            return;
    }
}

// The row texts, then the row's cycle; false when the row loop ends.
bool RunDriver::SendRow() {
    RunState& s = run_.state;
    const std::optional<QString> current = run_.worksheet.RowText(s.CurrentRow);
    const std::optional<QString> below =
        current ? run_.worksheet.NextRowText(s.CurrentRow) : std::nullopt;
    if (!current || !below)
        return false;
    s.CurrentRowText = *current;
    s.NextRowText = *below;
    s.DataSent.clear();
    const bool worksheet = s.ColumnCount >= 1;
    if (worksheet && s.CurrentRowText.isEmpty())
        return BlankRow();
    if (worksheet && s.NextRowText.isEmpty())
        s.LastLine = int(s.Keys.size()) - 1;
    const Next next = LineLoop();
    if (next.kind == Next::EndStep || run_.stopping())
        return false;
    if (next.kind == Next::Restart) {
        Restart(next.code);
        return true;
    }
    return CycleEnd();
}

bool RunDriver::BlankRow() {
    RunState& s = run_.state;
    if (!s.HasExcelLoop)
        return false;
    run_.worksheet.colourGroupAbove(s.CurrentRow);
    if (s.NextRowText.isEmpty())
        return false;
    s.FirstLine = 0;
    s.LastLine = int(s.Keys.size()) - 1;
    return true;
}

// After a row's cycle: count it, colour it, ask whether to go on.
bool RunDriver::CycleEnd() {
    RunState& s = run_.state;
    ++s.Cycles;
    if (s.ColumnCount >= 1 && s.HasExcelLoop)
        s.SentRows.insert(s.CurrentRow);
    if (s.ColumnCount >= 1 && !s.HasExcelLoop)
        run_.worksheet.colourRow(s.CurrentRow);
    if (s.ColumnCount == 0 || run_.noMsgIs("CANCEL") || run_.stopping())
        return false;
    if (!run_.noMsgIs("YES") && !run_.noMsgIs("NOMSG")) {
        run_.worksheet.ShowCycleDialog();
        if (run_.noMsgIs("YES"))
            StartRunningWindow();
    }
    if (run_.noMsgIs("CANCEL") || run_.stopping())
        return false;
    run_.pause.WaitHundredths(5);
    return true;
}

// A restart answered in the pause window: the interrupted row gets no cycle
// end; the next round of the row loop adds 1 to CurrentRow.
void RunDriver::Restart(qint16 code) {
    RunState& s = run_.state;
    if (code == RestartThisRow) {
        --s.CurrentRow;
    } else if (code == RestartNextLoop || code == RestartThisLoop) {
        s.CurrentRow = run_.worksheet.LoopRestartRow(s.CurrentRow, code) - 1;
        s.FirstLine = 0;
        s.LastLine = int(s.Keys.size()) - 1;
    }
}

// The lines of one cycle; the bounds are taken as the cycle starts.
RunDriver::Next RunDriver::LineLoop() {
    const int first = run_.state.FirstLine;
    const int last = run_.state.LastLine;
    for (int i = first; i <= last; ++i) {
        const Next next = RunLine(i);
        if (next.kind != Next::Line)
            return next;
    }
    return Next{Next::CycleEnd};
}

RunDriver::Next RunDriver::RunLine(int& i) {
    const QString keys = run_.state.Keys[i];
    if (isClipboardToColumnLine(keys))
        run_.worksheet.PutClipboardToColumn(keys);
    Next next;
    if (run_.stopping())
        next = Next{Next::EndStep};
    else if (isWorksheetColumnLine(keys))
        next = ReactTo(run_.worksheet.TypeColumn(keys, run_.state.WaitTime[i]));
    else
        next = DispatchLine(i);
    if (run_.stopping())
        return Next{Next::EndStep};
    if (next.kind != Next::Line)
        return next;
    return PauseCheckPoint(i);
}

RunDriver::Next RunDriver::DispatchLine(int& i) {
    RunState& s = run_.state;
    if (run_.noMsgIs("CANCEL"))
        return Next{Next::EndStep};
    const QString stored = s.Keys[i];
    QString keys = KeysToSend(stored);
    const qint16 outcome = run_.dispatcher.ExecLine(keys, s.WaitTime[i]);
    if (run_.stopping())
        return Next{Next::EndStep};
    if ((isPauseLine(stored) || isCheckLine(stored)) && outcome != PauseContinue)
        return ReactTo(outcome);
    if (isLabelLine(stored))
        return Next{};
    if (isConditionLine(stored) && outcome == ConditionJump) {
        s.Keys[i] = keys;
        i = s.LabelIndex[i];
        return Next{};
    }
    if (isConditionLine(stored) && outcome == ConditionRewritten) {
        s.Keys[i] = keys;
        return Next{};
    }
    return AfterLine(i);
}

// After a line that simply went on: the loop lines, the column check, the
// counters and a look at the Pause key.
RunDriver::Next RunDriver::AfterLine(int i) {
    RunState& s = run_.state;
    const QString& keys = s.Keys[i];
    if (keys.contains(QLatin1String("*BeginExcelLoop*"), Qt::CaseInsensitive))
        s.FirstLine = i;
    if (keys.contains(QLatin1String("*EndExcelLoop*"), Qt::CaseInsensitive) &&
        !s.NextRowText.isEmpty()) {
        s.LastLine = i;
        return Next{Next::CycleEnd};
    }
    if (keys.compare(QLatin1String("*ChkExcelSheetCol*"), Qt::CaseInsensitive) == 0 &&
        !s.RepeatFlag && !s.LastValue.isEmpty()) {
        const qint16 outcome = run_.checks.ChkSentCell(s.LastValue, s.CurrentRow);
        if (run_.stopping())
            return Next{Next::EndStep};
        if (outcome != PauseContinue)
            return ReactTo(outcome);
    }
    CountLine(keys);
    return Next{};
}

void RunDriver::CountLine(const QString& keys) {
    RunState& s = run_.state;
    if (keys.startsWith(u'*') && keys.size() >= 2)
        return;
    const qint64 n = keys.startsWith(u':') && keys.size() >= 2 ? keys.size() - 1 : 1;
    if (keys.startsWith(u'['))
        ++s.MouseEvents;
    else
        s.KeyStrokes += n;
    run_.pause.PollPauseKey();
}

// The pause window, when the Pause key was seen during the line.
RunDriver::Next RunDriver::PauseCheckPoint(int i) {
    RunState& s = run_.state;
    if (!s.PauseRequested)
        return Next{};
    s.PauseRequested = false;
    const qint16 outcome =
        run_.pause.HandlePause(s.Description + QStringLiteral("  -  ") + s.Keys[i], PauseModeKey);
    if (run_.stopping())
        return Next{Next::EndStep};
    return ReactTo(outcome);
}

RunDriver::Next RunDriver::ReactTo(qint16 pauseOutcome) {
    if (pauseOutcome == PauseContinue)
        return Next{};
    if (pauseOutcome == PauseCancel)
        return Next{Next::EndStep};
    return Next{Next::Restart, pauseOutcome};
}

// Closes the workbook (saving the rows coloured and the cells written), then
// shows the report: always after a cancel or a failure, otherwise unless the
// run has no messages.
RunEnd RunDriver::EndStep() {
    RunState& s = run_.state;
    const bool save = s.GreenRows > 0 || s.ClipboardWrites > 0;
    const Status closed = run_.worksheet.close(save);
    if (!closed)
        run_.fail(closed.error());
    if (s.Stop == RunStop::Activated)
        return EndByActivation();
    run_.ui().closeRunningWindow();
    if (s.Stop == RunStop::Failed) {
        ShowReport(run_.text(et::RunStopped) + u'\n' + s.Failures.join(u'\n'));
        return RunEnd::Failed;
    }
    if (run_.noMsgIs("CANCEL")) {
        ShowReport(run_.text(et::RunCanceled));
        return RunEnd::Cancelled;
    }
    if (!run_.noMsgIs("NOMSG"))
        ShowReport(run_.text(et::RunEnded));
    return workbookRefused_ ? RunEnd::Failed : RunEnd::Finished;
}

// The message window breaks no line itself; a failure's text (a workbook
// path, say) would otherwise run off its edge.
void RunDriver::ShowReport(const QString& heading) {
    run_.pause.ShowMessageWindow(MessageMode,
                                 WrapText(heading + QStringLiteral("\n\n") + Report()));
}

QString RunDriver::Report() const {
    const RunState& s = run_.state;
    QString report = run_.text(et::KeyStrokesLabel) + QString::number(s.KeyStrokes) + u'\n' +
                     run_.text(et::MouseEventsLabel) + QString::number(s.MouseEvents) + u'\n';
    if (s.ClipboardNotStored > 0)
        report += run_.text(et::ClipboardNotStored).arg(s.ClipboardNotStored) + u'\n';
    if (s.ColumnCount > 0)
        report +=
            run_.text(et::CyclesLabel) + QString::number(s.Cycles) + run_.text(et::CyclesCompleted);
    return report;
}

// The status window was activated: the focus has left the target, so
// nothing more is typed. The workbook has been saved; a failed save is
// still reported.
RunEnd RunDriver::EndByActivation() {
    RunState& s = run_.state;
    if (!s.Failures.isEmpty())
        run_.ui().showMessage(run_.text(et::RunStopped) + u'\n' + s.Failures.join(u'\n'));
    run_.ui().showActivationNotice(run_.text(et::ActivationError) + u'\n' +
                                   run_.text(et::RunEnded));
    run_.ui().closeRunningWindow();
    return RunEnd::Activated;
}

} // namespace tapwise
