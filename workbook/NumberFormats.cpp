#include "workbook/NumberFormats.h"

namespace tapwise {

bool isBuiltinDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 45 && id <= 47);
}

bool isDateFormatCode(std::string_view code) {
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const size_t close = code.find('"', i + 1);
            i = close == std::string_view::npos ? code.size() : close;
        } else if (c == '[') {
            const size_t close = code.find(']', i + 1);
            i = close == std::string_view::npos ? code.size() : close;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i; // an escaped character, a blank as wide as one, a fill character
        } else {
            const char lower = char(c | 0x20);
            if (lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' || lower == 's') {
                return true;
            }
        }
    }
    return false;
}

} // namespace tapwise
