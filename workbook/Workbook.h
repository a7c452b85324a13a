#pragma once

#include "common/Result.h"

#include <QString>

#include <memory>

namespace tapwise {

// Colour index of the rows a run has sent (the palette's "lime").
inline constexpr int GreenColorIndex = 43;
// Colour index of a row without one palette colour of its own: no fill, or
// cells filled differently, or a colour that is not in the palette.
inline constexpr int NoColorIndex = -4142;

// An open workbook as a run sees it: every access works on its active sheet,
// rows and columns counted from 1. Errors carry a number and a description
// that the run shows to the user.
class Workbook {
public:
    virtual ~Workbook() = default;

    // Full path of the workbook file.
    virtual QString fullName() const = 0;

    // The cell's value as text, as a spreadsheet's default conversion gives
    // it ("" for an empty cell).
    virtual Result<QString> cellText(int row, int column) = 0;
    // Writes a text into the cell (a formula there is replaced); "" empties it.
    virtual Status setCellText(int row, int column, const QString& text) = 0;

    // GreenColorIndex when the row is green; otherwise the palette index
    // (1 to 56) of its one fill colour, or NoColorIndex.
    virtual Result<int> rowColorIndex(int row) = 0;
    // Fills the row with a palette colour (1 to 56) or, with NoColorIndex,
    // removes its fill.
    virtual Status setRowColorIndex(int row, int colorIndex) = 0;

    // Writes the changes to the workbook file; nothing else is touched. A
    // workbook changed on disk since it was opened, or open in a spreadsheet
    // program, is not overwritten and the save fails.
    virtual Status save() = 0;
    // Writes the workbook as it was opened, with the changes made since, to
    // a new file at path; the workbook's own file is left alone and a file
    // already at path is never replaced. For when save() cannot write.
    virtual Status saveCopy(const QString& path) = 0;
    // Forgets the workbook without saving; later calls fail.
    virtual void close() = 0;
};

// Opens workbooks; the run gets one of these so that tests can hand it
// workbooks held in memory.
class WorkbookOpener {
public:
    virtual ~WorkbookOpener() = default;
    // readOnly: the workbook is only read; its save fails. Opened for
    // writing, a workbook that a spreadsheet program holds open is refused
    // at once, before a run types anything. The password is only needed for
    // an encrypted workbook.
    virtual Result<std::unique_ptr<Workbook>> open(const QString& path, const QString& password,
                                                   bool readOnly) = 0;
    // True when the workbook at path is encrypted and opens only with a
    // password: one chosen by the user can then be asked for before opening.
    virtual bool needsPassword(const QString& path) = 0;
};

} // namespace tapwise
