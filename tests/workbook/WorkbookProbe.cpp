// Opens a workbook the way a run does and prints what it sees as JSON:
//   tapwise_workbook_probe FILE ROWS COLUMNS
// {"rows": [{"row": 1, "color": -4142, "cells": ["a", "b"]}, ...]} or
// {"error": {"code": 1004, "message": "..."}}. Tests read workbooks back
// through it in a process of their own.
#include "workbook/XlsxWorkbookOpener.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonObject errorObject(const tapwise::Error& error) {
    return {{"error", QJsonObject{{"code", error.code}, {"message", error.message}}}};
}

QJsonObject dump(tapwise::Workbook& workbook, int rows, int columns) {
    QJsonArray list;
    for (int row = 1; row <= rows; ++row) {
        const auto color = workbook.rowColorIndex(row);
        QJsonArray cells;
        for (int column = 1; column <= columns; ++column) {
            const auto text = workbook.cellText(row, column);
            if (!text) {
                return errorObject(text.error());
            }
            cells.append(text.value());
        }
        list.append(QJsonObject{{"row", row}, {"color", color.valueOr(0)}, {"cells", cells}});
    }
    return {{"rows", list}};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 && args.size() != 5) {
        std::fprintf(stderr, "usage: %s FILE ROWS COLUMNS [PASSWORD]\n", argv[0]);
        return 2;
    }
    tapwise::XlsxWorkbookOpener opener(QStringLiteral("E"));
    auto workbook = opener.open(args[1], args.value(4), true);
    const QJsonObject result = workbook ? dump(*workbook.value(), args[2].toInt(), args[3].toInt())
                                        : errorObject(workbook.error());
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
