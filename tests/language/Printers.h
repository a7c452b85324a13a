#pragma once

#include "language/Line.h"

#include <QString>

#include <ostream>

// Readable failure messages for the Qt and line types.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tapwise {
inline void PrintTo(const Line& line, std::ostream* os) {
    *os << "{\"" << line.keys.toStdString() << "\", \"" << line.waitTime.toStdString() << "\"}";
}
} // namespace tapwise
