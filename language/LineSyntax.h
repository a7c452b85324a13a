#pragma once

#include <QString>

namespace tapwise {

// How a Keys text is recognised. Every layer asks these predicates; none
// repeats their rules. Keyword tests ignore letter case.

// "#" followed by anything but the single key "#" itself: never executed.
bool isNotExecutable(const QString& keys);
// "*" with a non-blank second character, or "#*", longer than 2 characters
// once trimmed: stored with WaitTime "0" and shown without one.
bool isCommandLine(const QString& keys);

} // namespace tapwise
