#pragma once

#include <QString>

namespace tapwise {

// Gives a control its design name (Label1, Command2...), by which tests and
// the end-to-end scripts find it.
template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace tapwise
