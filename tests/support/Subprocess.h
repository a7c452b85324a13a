#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <sys/types.h>

namespace tapwise::test {

// A child process for end-to-end tests. It runs in its own process group,
// dies with the test process (PR_SET_PDEATHSIG) and is stopped, with all of
// its group, when the object goes away: a failing or crashing test leaves no
// X server or terminal behind.
class Subprocess {
public:
    struct Options {
        QStringList env;            // "NAME=value" entries added to the environment
        bool captureOutput = false; // keep stdout and stderr (else /dev/null)
        QByteArray input;           // written to stdin, which is then closed
        int passFdAs3 = -1;         // a descriptor the child gets as fd 3
    };

    Subprocess() = default;
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;
    ~Subprocess();

    // Starts argv[0] (looked up in PATH) with the rest as arguments, each
    // passed as its path bytes (encodePath), so names need not be UTF-8.
    bool start(const QStringList& argv, const Options& options);
    // Stops the process group: SIGTERM, then SIGKILL after a grace time.
    void stop(std::chrono::milliseconds grace = std::chrono::milliseconds(3000));
    // Waits for the end (reading captured output meanwhile); false on timeout.
    bool wait(std::chrono::milliseconds timeout);
    bool running();

    int exitCode() const { return exitCode_; } // -1 while running or when killed
    const QByteArray& output() const { return out_; }
    const QByteArray& errors() const { return err_; }

private:
    void pump(int timeoutMs);
    void reap(bool block);
    void closePipes();

    pid_t pid_ = -1;
    bool exited_ = true;
    int exitCode_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    QByteArray out_;
    QByteArray err_;
};

struct CommandResult {
    bool finished = false; // false: killed at the time limit
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
    QString text() const { return QString::fromUtf8(output).trimmed(); }
};

// Runs a command to its end and returns what it printed. While it runs,
// pending Qt events are processed (when there is an application object), so
// that the test's own clipboard can answer a reading program.
CommandResult runCommand(const QStringList& argv, const QStringList& env = {},
                         std::chrono::milliseconds timeout = std::chrono::seconds(60));

} // namespace tapwise::test
