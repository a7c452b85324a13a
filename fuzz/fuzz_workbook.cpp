// A workbook file as any bytes: open it for writing, read cells and row
// colours, write a cell, colour a row green, save, and open it again.
// Oracles: what was written reads back, and the green row reads green; a
// workbook that cannot be saved is left as it was.
#include "FuzzSupport.h"

#include "workbook/XlsxWorkbookOpener.h"

using namespace tapwise;
using namespace tapwise::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = scratchFile(QStringLiteral("book.xlsx"));
    writeFile(path, bytes);

    XlsxWorkbookOpener opener{QString()};
    Result<std::unique_ptr<Workbook>> opened = opener.open(path, QString(), false);
    if (!opened)
        return 0;
    Workbook& book = *opened.value();
    for (int row = 1; row <= 3; ++row) {
        (void)book.rowColorIndex(row);
        for (int column = 1; column <= 3; ++column)
            (void)book.cellText(row, column);
    }
    const QString written = QStringLiteral("fuzz ") + QString::number(size);
    if (!book.setCellText(2, 2, written).ok() || !book.setRowColorIndex(2, GreenColorIndex).ok())
        return 0;
    if (!book.save().ok()) {
        require(readFile(path) == bytes, "a failed save leaves the workbook as it was");
        return 0;
    }
    book.close();

    Result<std::unique_ptr<Workbook>> again = opener.open(path, QString(), true);
    require(again.ok(), "a saved workbook opens again");
    Result<QString> text = again.value()->cellText(2, 2);
    require(text.ok() && text.value() == written, "what was written reads back");
    Result<int> colour = again.value()->rowColorIndex(2);
    require(colour.ok() && colour.value() == GreenColorIndex, "a green row reads green");
    return 0;
}
