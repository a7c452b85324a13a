#pragma once

#include <string>
#include <string_view>

namespace tapwise {

// A formula as it reads in another cell: relative references (A1, A:C, 2:5)
// moved by rows and columns, absolute parts ($A$1) kept. Used when the cell
// that holds the text of a shared formula is overwritten and the next cell
// of the group takes the formula over. A reference moved off the sheet
// becomes #REF!.
std::string shiftFormula(std::string_view formula, int rows, int columns);

} // namespace tapwise
