#pragma once

#include "common/Result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

namespace tapwise {

class Run;
class Workbook;

// Row 1 holds the headers; data start at row 2.
inline constexpr qint32 FirstDataRow = 2;

// Rows as a short list of ranges: "2-4, 6".
QString rowRanges(QList<qint32> rows);
// Where a workbook that could not be saved puts its copy with the rows
// sent: beside it, NAME + label (" (rows sent %1)", %1 the minute) + the
// extension, with " 2", " 3"... for later attempts.
QString rowsSentCopyPath(const QString& fullName, const QString& label, const QDateTime& when,
                         int attempt);

// The worksheet side of a run: the workbook, its rows and cells, the green
// colouring of the rows sent, the cycle dialog after each row. Every access
// works on the workbook's active sheet. A failed access stops the run with
// the failure reported (Run::check); the functions then give nothing.
class WorksheetSource {
public:
    explicit WorksheetSource(Run& run);
    ~WorksheetSource();

    enum class Opening { Opened, Cancelled, Refused };
    // Opens the run's workbook, or the one the user picks when the run has
    // none. Unless it is opened, the run goes straight to its end step: the
    // user cancelled the choice, or the workbook could not be opened
    // (reported with its error number and text).
    Opening Open();

    std::optional<QString> cellText(qint32 row, int column);
    // The trimmed values of the used columns of a row, joined; "" for a
    // blank row or a run without columns.
    std::optional<QString> RowText(qint32 row);
    // The text of the row sent after this one: green rows are skipped, as the
    // row loop skips them, so that a row group whose last rows an earlier run
    // sent still ends with its tail.
    std::optional<QString> NextRowText(qint32 row);
    std::optional<bool> isGreen(qint32 row);

    // The row from which a loop restart goes on: code 4 (next loop) the
    // blank row below the row's group, code 5 (this loop) the blank row above
    // it, or row 2.
    qint32 LoopRestartRow(qint32 row, qint16 code);

    // A worksheet column line: types the current row's cell of its column
    // character by character. Returns a pause outcome: 1 when the run is
    // cancelled, 2 to 5 for a restart answered in the pause window.
    qint16 TypeColumn(const QString& keys, qint32 waitTime);

    // A clipboard to column line: the clipboard's text into the current
    // row's cell of its column. Without a workbook it only counts.
    void PutClipboardToColumn(const QString& keys);

    void colourRow(qint32 row);
    // At a blank row: colours the rows of the group above it that this run
    // sent, going up to the blank row or row 1 above the group.
    void colourGroupAbove(qint32 blankRow);

    // The cycle dialog after a row; sets NoMsg and WaitPercent.
    void ShowCycleDialog();

    // Saves the workbook when asked and closes it; the save's failure,
    // which says which rows were sent and where a copy of the workbook
    // with them coloured was saved instead.
    Status close(bool save);

private:
    QString saveAside(const QString& failure);
    qint16 typeCell(const QString& value, qint32 waitTime);

    Run& run_;
    std::unique_ptr<Workbook> workbook_;
};

} // namespace tapwise
