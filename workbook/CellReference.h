#pragma once

#include <string>
#include <string_view>

namespace tapwise {

inline constexpr int MaxSheetRows = 1048576;
inline constexpr int MaxSheetColumns = 16384;

// A cell reference such as "AB12" split into its numbers; 0 where a part is
// missing or out of the sheet's range.
struct CellReference {
    int row = 0;
    int column = 0;

    static CellReference parse(std::string_view text);
};

std::string columnName(int column);
std::string cellName(int row, int column);

} // namespace tapwise
