#include "workbook/FormulaShift.h"

#include "workbook/CellReference.h"

#include <optional>

namespace tapwise {

namespace {

bool isNameChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '$' ||
           c == '_' || c == '.' || c == '\\' || c == '?' || u >= 0x80;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The end of a quoted run that starts at text[at] (the quote doubled inside).
size_t quotedEnd(std::string_view text, size_t at) {
    const char quote = text[at];
    size_t i = at + 1;
    while (i < text.size()) {
        if (text[i] == quote && i + 1 < text.size() && text[i + 1] == quote) {
            i += 2;
        } else if (text[i] == quote) {
            return i + 1;
        } else {
            ++i;
        }
    }
    return text.size();
}

size_t bracketEnd(std::string_view text, size_t at) {
    int depth = 0;
    for (size_t i = at; i < text.size(); ++i) {
        depth += text[i] == '[' ? 1 : text[i] == ']' ? -1 : 0;
        if (depth == 0) {
            return i + 1;
        }
    }
    return text.size();
}

// One part of a reference: optional "$" and a run of letters or of digits.
struct Part {
    bool absolute = false;
    std::string_view text;
};

std::optional<Part> takePart(std::string_view& token, bool letters) {
    Part part;
    if (!token.empty() && token.front() == '$') {
        part.absolute = true;
        token.remove_prefix(1);
    }
    size_t n = 0;
    while (n < token.size() && (letters ? isLetter(token[n]) : isDigit(token[n]))) {
        ++n;
    }
    if (n == 0) {
        return std::nullopt;
    }
    part.text = token.substr(0, n);
    token.remove_prefix(n);
    return part;
}

std::optional<std::string> shiftColumn(const Part& part, int columns) {
    const int column = CellReference::parse(part.text).column;
    const int moved = part.absolute ? column : column + columns;
    if (column == 0 || moved < 1 || moved > MaxSheetColumns) {
        return std::nullopt;
    }
    return (part.absolute ? "$" : "") + columnName(moved);
}

std::optional<std::string> shiftRow(const Part& part, int rows) {
    const int row = CellReference::parse("A" + std::string(part.text)).row;
    const int moved = part.absolute ? row : row + rows;
    if (row == 0 || moved < 1 || moved > MaxSheetRows) {
        return std::nullopt;
    }
    return (part.absolute ? "$" : "") + std::to_string(moved);
}

// Whether the letters and digits name a cell of the sheet.
bool isCellName(std::string_view letters, std::string_view digits) {
    const CellReference reference =
        CellReference::parse(std::string(letters) + std::string(digits));
    return reference.column != 0 && reference.row != 0;
}

// A whole token: "A1" (cell), "A" or "12" (one side of a column or row
// range). Nothing when the token is no reference.
std::optional<std::string> shiftToken(std::string_view token, bool inRange, int rows, int columns) {
    std::string_view rest = token;
    if (auto column = takePart(rest, true)) {
        if (rest.empty()) {
            return inRange ? shiftColumn(*column, columns) : std::nullopt;
        }
        auto row = takePart(rest, false);
        if (!row || !rest.empty() || !isCellName(column->text, row->text)) {
            return std::nullopt; // a name such as "Amount1"
        }
        const auto c = shiftColumn(*column, columns);
        const auto r = shiftRow(*row, rows);
        return c && r ? std::optional(*c + *r) : std::optional<std::string>("#REF!");
    }
    rest = token;
    auto row = takePart(rest, false);
    if (inRange && row && rest.empty()) {
        return shiftRow(*row, rows);
    }
    return std::nullopt;
}

bool looksLikeReference(std::string_view token) {
    return !token.empty() && (isLetter(token[0]) || isDigit(token[0]) || token[0] == '$');
}

} // namespace

std::string shiftFormula(std::string_view formula, int rows, int columns) {
    std::string out;
    size_t i = 0;
    while (i < formula.size()) {
        const char c = formula[i];
        size_t end = i + 1;
        if (c == '"' || c == '\'') {
            end = quotedEnd(formula, i);
        } else if (c == '[') {
            end = bracketEnd(formula, i);
        } else if (isNameChar(c)) {
            while (end < formula.size() && isNameChar(formula[end])) {
                ++end;
            }
            const std::string_view token = formula.substr(i, end - i);
            const char next = end < formula.size() ? formula[end] : '\0';
            const char before = i > 0 ? formula[i - 1] : '\0';
            const bool inRange = next == ':' || before == ':';
            if (next != '(' && next != '!' && next != '[' && looksLikeReference(token)) {
                if (auto shifted = shiftToken(token, inRange, rows, columns)) {
                    out += *shifted;
                    i = end;
                    continue;
                }
            }
        }
        out.append(formula.substr(i, end - i));
        i = end;
    }
    return out;
}

} // namespace tapwise
