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
#include "workbook/WorkbookTexts.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tapwise {

namespace et = enginetexts;

namespace {

// Copies tried under other names when one exists.
constexpr int CopyAttempts = 9;

} // namespace

QString rowRanges(QList<qint32> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList ranges;
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype end = i;
        while (end + 1 < rows.size() && rows[end + 1] == rows[end] + 1)
            ++end;
        ranges.append(end == i ? QString::number(rows[i])
                               : QStringLiteral("%1-%2").arg(rows[i]).arg(rows[end]));
        i = end + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

QString rowsSentCopyPath(const QString& fullName, const QString& label, const QDateTime& when,
                         int attempt) {
    const QFileInfo info(fullName);
    QString name =
        info.completeBaseName() + label.arg(when.toString(QStringLiteral("yyyy-MM-dd hh-mm")));
    if (attempt > 1)
        name += u' ' + QString::number(attempt);
    if (!info.suffix().isEmpty())
        name += u'.' + info.suffix();
    return QDir(info.path()).filePath(name);
}

WorksheetSource::WorksheetSource(Run& run) : run_(run) {}

WorksheetSource::~WorksheetSource() = default;

WorksheetSource::Opening WorksheetSource::Open() {
    RunState& s = run_.state;
    QString path = s.ExcelFile;
    if (path.isEmpty()) {
        path = run_.ui().chooseWorkbook();
        if (path.isEmpty())
            return Opening::Cancelled;
        // A workbook chosen in the dialog has no command line to carry its
        // password: it is asked for, as the spreadsheet program would.
        if (s.Password.isEmpty() && run_.services.workbooks.needsPassword(path)) {
            const std::optional<QString> password = run_.ui().askPassword(
                run_.text(et::PasswordPrompt).arg(QFileInfo(path).fileName()));
            if (!password)
                return Opening::Cancelled;
            s.Password = *password;
        }
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
    if (workbook_ && run_.check(workbook_->setRowColorIndex(row, GreenColorIndex))) {
        ++run_.state.GreenRows;
        run_.state.ColouredRows.append(row);
    }
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
    if (!saved) {
        const Error& error = saved.error();
        saved = Error{error.code, error.message + u'\n' + saveAside(error.message)};
    }
    workbook_->close();
    workbook_.reset();
    return saved;
}

// The save failed (the workbook changed on disk, a spreadsheet program has
// it open, the disk is full): the green rows must not be lost, or the next
// run types them again. The workbook as this run opened it, with its
// changes, goes into a new file beside it; nothing is written over.
QString WorksheetSource::saveAside(const QString& failure) {
    const QString rows = rowRanges(run_.state.ColouredRows);
    const QDateTime when = run_.desktop().currentDateTime();
    Status copied = Error{0, failure};
    for (int attempt = 1; attempt <= CopyAttempts; ++attempt) {
        const QString path =
            rowsSentCopyPath(workbook_->fullName(), run_.text(et::RowsSentCopyName), when, attempt);
        copied = workbook_->saveCopy(path);
        if (copied) {
            return rows.isEmpty() ? run_.text(et::ChangesCopy).arg(path)
                                  : run_.text(et::RowsSentCopy).arg(rows, path);
        }
        if (copied.error().code != FileExistsErrorCode)
            break;
    }
    return rows.isEmpty() ? run_.text(et::ChangesNoCopy).arg(copied.error().message)
                          : run_.text(et::RowsSentNoCopy).arg(rows, copied.error().message);
}

} // namespace tapwise
