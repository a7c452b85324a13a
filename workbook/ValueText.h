#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace tapwise {

// How a cell's stored value becomes the text a run types (docs/workbook.md
// lists the rules).

// Up to 15 significant digits, "." as decimal separator, no grouping;
// exponent form ("1E+20", "1E-05") below 1E-4 and from 1E+15 on.
QString numberText(double value);
// A date serial of a cell formatted as a date or a time: "yyyy-mm-dd",
// "yyyy-mm-dd hh:mm:ss" or, for a serial below 1, "hh:mm:ss". Serials that
// are no date (negative, after 9999) come out as numbers.
QString serialDateText(double serial, bool date1904);
// The ISO 8601 text of a cell stored as a date ("2024-03-01T10:00:00"), in
// the same patterns; a text that is no date stays as it is.
QString isoDateText(std::string_view iso);
// "#N/A" gives "Error 2042" and so on; an unknown error stays as it is.
QString errorText(std::string_view code);
QString booleanText(std::string_view stored);

std::optional<double> parseNumber(std::string_view text);

} // namespace tapwise
