#pragma once

#include <string_view>

namespace tapwise {

// Whether a number format shows its number as a date or a time: the
// built-in formats 14 to 22 and 45 to 47, and format codes that hold d, m,
// y, h or s outside quoted texts, brackets and escaped characters.
bool isBuiltinDateFormat(int id);
bool isDateFormatCode(std::string_view code);

} // namespace tapwise
