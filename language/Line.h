#pragma once

#include <QList>
#include <QString>

namespace tapwise {

// One line of a Key sequence as it is stored: a Keys text and its WaitTime
// (hundredths of a second, decimal digits; "0" for command lines).
struct Line {
    QString keys;
    QString waitTime;

    bool operator==(const Line&) const = default;
};

using Lines = QList<Line>;

} // namespace tapwise
