#include "workbook/CellReference.h"

namespace tapwise {

namespace {

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

CellReference CellReference::parse(std::string_view text) {
    CellReference reference;
    size_t i = 0;
    long column = 0;
    for (; i < text.size() && isLetter(text[i]) && column <= MaxSheetColumns; ++i) {
        column = column * 26 + ((text[i] & ~0x20) - 'A' + 1);
    }
    long row = 0;
    size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]) && row <= MaxSheetRows; ++i, ++digits) {
        row = row * 10 + (text[i] - '0');
    }
    const bool complete = i == text.size();
    if (complete && column >= 1 && column <= MaxSheetColumns) {
        reference.column = int(column);
    }
    if (complete && digits > 0 && row >= 1 && row <= MaxSheetRows) {
        reference.row = int(row);
    }
    return reference;
}

std::string columnName(int column) {
    std::string name;
    for (int n = column; n > 0; n = (n - 1) / 26) {
        name.insert(name.begin(), char('A' + (n - 1) % 26));
    }
    return name;
}

std::string cellName(int row, int column) {
    return columnName(column) + std::to_string(row);
}

} // namespace tapwise
