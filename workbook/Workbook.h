#pragma once

#include "common/Result.h"

#include <QString>

#include <memory>

namespace tapwise {

// Colour index of the rows a run has sent (the palette's "lime").
inline constexpr int GreenColorIndex = 43;
// Colour index of a row without a fill of its own.
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
    virtual Status setCellText(int row, int column, const QString& text) = 0;

    virtual Result<int> rowColorIndex(int row) = 0;
    virtual Status setRowColorIndex(int row, int colorIndex) = 0;

    // Writes the changes to the workbook file; nothing else is touched.
    virtual Status save() = 0;
    virtual void close() = 0;
};

// Opens workbooks; the run gets one of these so that tests can hand it
// workbooks held in memory.
class WorkbookOpener {
public:
    virtual ~WorkbookOpener() = default;
    virtual Result<std::unique_ptr<Workbook>> open(const QString& path, const QString& password,
                                                   bool readOnly) = 0;
};

} // namespace tapwise
