#pragma once

#include <QString>

#include <optional>

namespace tapwise {

// The rules of the numeric input boxes of a run's windows. A box is red while
// its text is not valid; an empty box is not red, and takes its default
// value when it is left.

// A number as the user may type it: blanks around it, a sign, a decimal
// separator ("." or the system's), an exponent.
std::optional<double> NumberOfText(const QString& text);

// Start row of a worksheet run: a number without "-" whose whole part lies
// in 2..65536.
bool StartRowTextValid(const QString& text);
// The start row a left box gives: 2 when empty, nothing when not valid.
std::optional<int> StartRowValue(const QString& text);

// WaitTime percentage: a number without "-" whose whole part fits in 32 bits.
bool WaitPercentTextValid(const QString& text);
// The percentage a left box gives: 100 when empty, nothing when not valid.
std::optional<int> WaitPercentValue(const QString& text);

} // namespace tapwise
