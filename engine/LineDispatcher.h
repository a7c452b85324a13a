#pragma once

#include <QString>
#include <QtGlobal>

namespace tapwise {

class Run;

// Executes one working line: types keys and strings, makes mouse events,
// hands pause, check, condition and label lines to their handlers, then
// waits the line's WaitTime scaled by WaitPercent.
class LineDispatcher {
public:
    explicit LineDispatcher(Run& run);

    // Executes keys (already translated by KeysToSend; a condition line may
    // rewrite it, a character string loses its ":") and returns the line
    // outcome: a pause outcome for pause and check lines, a condition or
    // label outcome for those, 0 for every other line.
    qint16 ExecLine(QString& keys, qint32 waitTime);

    // A character string: every character after the ":" typed on its own
    // and followed by the scaled WaitTime.
    qint16 TypeChars(QString& keys, qint32 waitTime);

    // A mouse line.
    void DoMouse(const QString& keys);

    // One character of a string or a cell, typed literally and followed by
    // the scaled WaitTime.
    void TypeCharacter(const QString& character, qint32 waitTime);

private:
    void movePointer(const QString& keys, bool absolute);
    void turnWheel(const QString& keys);

    Run& run_;
};

} // namespace tapwise
