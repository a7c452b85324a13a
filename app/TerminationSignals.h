#pragma once

#include <QObject>

class QSocketNotifier;

namespace tapwise {

// Turns SIGTERM, SIGHUP and SIGINT (a session that logs out, a kill, Ctrl+C
// in the terminal) into an orderly exit() from the event loop, which a run
// reaches every few milliseconds: the exit handlers then save what the run
// changed in its workbook. Without this the signal would end the process
// where it stands.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void exitOnSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tapwise
