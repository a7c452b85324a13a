#pragma once

#include <QString>

namespace tapwise {

// The program-wide values set at start-up and read by the store, the run and
// the windows. One object, passed to whoever needs it.
struct Settings {
    QString MainTitle = QStringLiteral("Tapwise 2.1");
    QString Lang = QStringLiteral("E");
    QString DataFolder; // always ends in "/"
    QString NoMsg;      // "NOMSG", "", "CANCEL", "YES" or "NO"
    // Set by the editor when it has saved; cleared before the editor opens.
    int SequenceChanged = 0;

    // The title of a run's windows: MainTitle up to and including the
    // character after its first "." ("Tapwise 2.1").
    QString runTitle() const {
        const qsizetype dot = MainTitle.indexOf(QLatin1Char('.'));
        return dot < 0 ? MainTitle : MainTitle.left(dot + 2);
    }
};

} // namespace tapwise
