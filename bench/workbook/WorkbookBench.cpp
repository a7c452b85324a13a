// Times what a run does with a large workbook:
//   tapwise_workbook_bench FILE ROWS COLUMNS [TYPED]
// open; the row text of every data row (every column, trimmed, joined) with
// the colour test before each row; colouring every data row green; the
// save. With TYPED, only that many data rows, spread evenly over the sheet,
// are read and coloured. Prints the times in seconds and the peak memory
// (resident) as JSON.
// compare_openpyxl.py runs it beside openpyxl on the same file.
#include "workbook/XlsxWorkbookOpener.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int fail(const tapwise::Error& error) {
    std::fprintf(stderr, "%d    %s\n", error.code, error.message.toUtf8().constData());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s FILE ROWS COLUMNS [TYPED]\n", argv[0]);
        return 2;
    }
    const int rows = std::atoi(argv[2]);
    const int columns = std::atoi(argv[3]);
    const int typed = argc == 5 ? std::clamp(std::atoi(argv[4]), 1, rows) : rows;
    std::vector<int> dataRows;
    for (int i = 0; i < typed; ++i) {
        dataRows.push_back(2 + int(int64_t(i) * rows / typed));
    }
    tapwise::XlsxWorkbookOpener opener(QStringLiteral("E"));

    auto start = Clock::now();
    auto opened = opener.open(QString::fromLocal8Bit(argv[1]), QString(), false);
    if (!opened) {
        return fail(opened.error());
    }
    tapwise::Workbook& workbook = *opened.value();
    const double openTime = seconds(start);
    const long openPeak = peakKilobytes();

    start = Clock::now();
    qsizetype characters = 0;
    int green = 0;
    for (const int row : dataRows) {
        green += workbook.rowColorIndex(row).valueOr(0) == tapwise::GreenColorIndex;
        QString text;
        for (int column = 1; column <= columns; ++column) {
            text += workbook.cellText(row, column).valueOr(QString()).trimmed();
        }
        characters += text.size();
    }
    const double readTime = seconds(start);

    start = Clock::now();
    for (const int row : dataRows) {
        if (const auto colored = workbook.setRowColorIndex(row, tapwise::GreenColorIndex);
            !colored) {
            return fail(colored.error());
        }
    }
    const double colorTime = seconds(start);

    start = Clock::now();
    if (const auto saved = workbook.save(); !saved) {
        return fail(saved.error());
    }
    const double saveTime = seconds(start);

    std::printf("{\"open\": %.3f, \"rowText\": %.3f, \"color\": %.3f, \"save\": %.3f, "
                "\"openPeakMB\": %.1f, \"peakMB\": %.1f, \"characters\": %lld, "
                "\"greenBefore\": %d, \"typed\": %d}\n",
                openTime, readTime, colorTime, saveTime, double(openPeak) / 1024.0,
                double(peakKilobytes()) / 1024.0, static_cast<long long>(characters), green, typed);
    return 0;
}
