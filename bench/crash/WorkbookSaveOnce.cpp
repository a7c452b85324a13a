// Writes a text into a cell of the active sheet, colours that row green and
// saves, as a run does after a row:
//   tapwise_workbook_save_once FILE ROW COLUMN TEXT
// Exit status 0 when saved, 1 with the reason on standard error.
#include "workbook/XlsxWorkbookOpener.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: tapwise_workbook_save_once FILE ROW COLUMN TEXT\n");
        return 2;
    }
    tapwise::XlsxWorkbookOpener opener{QString()};
    auto opened = opener.open(QFile::decodeName(argv[1]), QString(), false);
    const int row = std::atoi(argv[2]);
    const int column = std::atoi(argv[3]);
    tapwise::Status status = opened ? tapwise::Status() : tapwise::Status(opened.error());
    if (status)
        status = opened.value()->setCellText(row, column, QString::fromUtf8(argv[4]));
    if (status)
        status = opened.value()->setRowColorIndex(row, tapwise::GreenColorIndex);
    if (status)
        status = opened.value()->save();
    if (!status) {
        std::fprintf(stderr, "%s\n", qPrintable(status.error().message));
        return 1;
    }
    return 0;
}
