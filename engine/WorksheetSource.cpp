#include "engine/WorksheetSource.h"

#include "engine/EngineTexts.h"
#include "engine/Outcomes.h"
#include "engine/Run.h"
#include "engine/RunUi.h"
#include "engine/TextRules.h"
#include "language/ColumnLetters.h"
#include "language/LineFields.h"
#include "language/LineSyntax.h"
#include "platform/Desktop.h"
#include "workbook/Workbook.h"

namespace tapwise {

namespace et = enginetexts;

WorksheetSource::WorksheetSource(Run& run) : run_(run) {}

WorksheetSource::~WorksheetSource() = default;

WorksheetSource::Opening WorksheetSource::Open() {
    RunState& s = run_.state;
    QString path = s.ExcelFile;
    if (path.isEmpty()) {
        path = run_.ui().chooseWorkbook();
        if (path.isEmpty())
            return Opening::Cancelled;
    }
    // Opened for writing: the run colours the rows it sends and saves them.
    Result<std::unique_ptr<Workbook>> opened =
        run_.services.workbooks.open(path, s.Password, false);
    if (!opened) {
        run_.ui().showMessage(errorText(opened.error()));
        return Opening::Refused;
    }
    workbook_ = std::move(opened).value();
    s.ExcelFile = workbook_->fullName();
    return Opening::Opened;
}

std::optional<QString> WorksheetSource::cellText(qint32 row, int column) {
    if (!workbook_)
        return QString();
    Result<QString> text = workbook_->cellText(row, column);
    if (!run_.check(text.ok() ? Status() : Status(text.error())))
        return std::nullopt;
    return text.value();
}

std::optional<QString> WorksheetSource::RowText(qint32 row) {
    QString joined;
    for (const int column : run_.state.UsedColumns) {
        const std::optional<QString> cell = cellText(row, column);
        if (!cell)
            return std::nullopt;
        joined += trimBlanks(*cell);
    }
    return joined;
}

std::optional<QString> WorksheetSource::NextRowText(qint32 row) {
    for (qint32 next = row + 1;; ++next) {
        const std::optional<bool> green = isGreen(next);
        if (!green)
            return std::nullopt;
        if (!*green)
            return RowText(next);
    }
}

std::optional<bool> WorksheetSource::isGreen(qint32 row) {
    if (!workbook_)
        return false;
    Result<int> colour = workbook_->rowColorIndex(row);
    if (!run_.check(colour.ok() ? Status() : Status(colour.error())))
        return std::nullopt;
    return colour.value() == GreenColorIndex;
}

qint32 WorksheetSource::LoopRestartRow(qint32 row, qint16 code) {
    if (code == RestartThisLoop && row <= FirstDataRow)
        return FirstDataRow;
    const qint32 step = code == RestartNextLoop ? 1 : -1;
    qint32 r = row;
    for (;;) {
        r += step;
        const std::optional<QString> text = RowText(r);
        if (!text || text->isEmpty() || (code == RestartThisLoop && r <= FirstDataRow))
            return r;
    }
}

qint16 WorksheetSource::TypeColumn(const QString& keys, qint32 waitTime) {
    RunState& s = run_.state;
    const int column = ColumnNumber(worksheetColumnLetters(keys));
    const std::optional<QString> cell = cellText(s.CurrentRow, column);
    if (!cell)
        return PauseContinue;
    s.LastValue = trimBlanks(*cell);
    s.DataSent += QStringLiteral("Col#") + ColumnLetters(column) + QStringLiteral("  ") +
                  s.LastValue + QStringLiteral("\r\n");
    if (s.LastValue.isEmpty())
        return PauseContinue;
    s.RepeatFlag = s.LastValue.compare(QLatin1String("#REPEAT#"), Qt::CaseInsensitive) == 0;
    if (s.RepeatFlag)
        return PauseContinue;
    return typeCell(s.LastValue, waitTime);
}

// Each character: a cancel check before, the Pause key after.
qint16 WorksheetSource::typeCell(const QString& value, qint32 waitTime) {
    RunState& s = run_.state;
    for (const QString& character : characters(value)) {
        if (run_.noMsgIs("CANCEL"))
            return PauseCancel;
        run_.dispatcher.TypeCharacter(character, waitTime);
        if (run_.stopping())
            return PauseContinue;
        ++s.KeyStrokes;
        run_.pause.PollPauseKey();
        if (s.PauseRequested) {
            s.PauseRequested = false;
            const qint16 outcome = run_.pause.HandlePause(
                s.Description + QStringLiteral("  -  ") + value, PauseModeKey);
            if (outcome != PauseContinue || run_.stopping())
                return outcome;
        }
    }
    return PauseContinue;
}

void WorksheetSource::PutClipboardToColumn(const QString& keys) {
    RunState& s = run_.state;
    if (!workbook_) {
        ++s.ClipboardNotStored;
        return;
    }
    const int column = ColumnNumber(clipboardColumnLetters(keys));
    Desktop& desktop = run_.desktop();
    const QString value = desktop.clipboardHasText() ? desktop.clipboardText() : QString();
    if (run_.check(workbook_->setCellText(s.CurrentRow, column, value)))
        ++s.ClipboardWrites;
}

void WorksheetSource::colourRow(qint32 row) {
    if (workbook_ && run_.check(workbook_->setRowColorIndex(row, GreenColorIndex)))
        ++run_.state.GreenRows;
}

void WorksheetSource::colourGroupAbove(qint32 blankRow) {
    RunState& s = run_.state;
    for (qint32 row = blankRow - 1; row >= FirstDataRow && !run_.stopping(); --row) {
        const std::optional<QString> text = RowText(row);
        if (!text || text->isEmpty())
            return;
        if (!s.SentRows.contains(row))
            continue; // not sent by this run: a later run still has to send it
        const std::optional<bool> green = isGreen(row);
        if (green && !*green)
            colourRow(row);
        s.SentRows.remove(row);
    }
}

void WorksheetSource::ShowCycleDialog() {
    RunState& s = run_.state;
    RunUi::CycleRequest request;
    request.caption = captionWithRow(run_.title(), run_.text(et::ExcelRow) +
                                                       QString::number(s.CurrentRow) + u')');
    request.message = run_.text(et::ContinueQuestion);
    if (!s.RepeatFlag)
        request.message = run_.text(et::DataSent) + u'\n' + request.message;
    request.sentText = s.DataSent;
    Desktop& desktop = run_.desktop();
    s.SavedCursor = desktop.pointer();
    desktop.beep();
    const RunUi::CycleAnswer answer = run_.ui().showCycleDialog(request);
    run_.check(desktop.setPointer(s.SavedCursor));
    for (const char* mode : {"YES", "NO", "CANCEL"}) {
        if (answer.noMsg.compare(QLatin1String(mode), Qt::CaseInsensitive) == 0)
            s.NoMsg = QLatin1String(mode);
    }
    s.WaitPercent = std::max(0, answer.waitPercent);
}

Status WorksheetSource::close(bool save) {
    if (!workbook_)
        return {};
    Status saved = save ? workbook_->save() : Status();
    workbook_->close();
    workbook_.reset();
    return saved;
}

} // namespace tapwise
