#include "Subprocess.h"

#include "common/NativePath.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tapwise::test {
namespace {

using Clock = std::chrono::steady_clock;

// The child's environment: ours with `extra` laid over it.
std::vector<std::string> childEnvironment(const QStringList& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const QString& x : extra) {
            replaced = replaced || x.section(u'=', 0, 0).toStdString() == name;
        }
        if (!replaced) {
            env.push_back(entry);
        }
    }
    for (const QString& x : extra) {
        env.push_back(x.toStdString());
    }
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (std::string& s : strings) {
        p.push_back(s.data());
    }
    p.push_back(nullptr);
    return p;
}

// Runs in the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void execChild(char** argv, char** envp, int in, int out, int err, int fd3) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    setpgid(0, 0);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (fd3 >= 0) {
        dup2(fd3, 3);
    }
    execvpe(argv[0], argv, envp);
    _exit(127);
}

// Gives a child its standard input; one that does not read it gets no
// SIGPIPE through us.
void writeAndClose(int fd, const QByteArray& input) {
    signal(SIGPIPE, SIG_IGN);
    if (!input.isEmpty()) {
        [[maybe_unused]] const ssize_t n = write(fd, input.constData(), input.size());
    }
    close(fd);
}

} // namespace

Subprocess::~Subprocess() {
    stop();
}

bool Subprocess::start(const QStringList& argv, const Options& options) {
    stop();
    std::vector<std::string> args(argv.size());
    std::transform(argv.begin(), argv.end(), args.begin(),
                   [](const QString& a) { return encodePath(a).toStdString(); });
    std::vector<std::string> env = childEnvironment(options.env);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(env);
    int inPipe[2] = {-1, -1};
    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (pipe2(inPipe, O_CLOEXEC) != 0 ||
        (options.captureOutput &&
         (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0))) {
        return false;
    }
    const int childOut = options.captureOutput ? outPipe[1] : devNull;
    const int childErr = options.captureOutput ? errPipe[1] : devNull;
    pid_ = fork();
    if (pid_ == 0) {
        execChild(argp.data(), envp.data(), inPipe[0], childOut, childErr, options.passFdAs3);
    }
    close(inPipe[0]);
    close(devNull);
    if (options.captureOutput) {
        close(outPipe[1]);
        close(errPipe[1]);
        outFd_ = outPipe[0];
        errFd_ = errPipe[0];
    }
    if (pid_ < 0) {
        close(inPipe[1]);
        closePipes();
        return false;
    }
    setpgid(pid_, pid_); // also here, so that stop() works even before the child ran
    exited_ = false;
    exitCode_ = -1;
    out_.clear();
    err_.clear();
    writeAndClose(inPipe[1], options.input);
    return true;
}

void Subprocess::pump(int timeoutMs) {
    pollfd fds[2];
    int n = 0;
    for (int fd : {outFd_, errFd_}) {
        if (fd >= 0) {
            fds[n++] = pollfd{fd, POLLIN, 0};
        }
    }
    if (n == 0) {
        usleep(timeoutMs * 1000);
        return;
    }
    if (poll(fds, n, timeoutMs) <= 0) {
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (fds[i].revents == 0) {
            continue;
        }
        char buffer[65536];
        const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
        QByteArray& target = fds[i].fd == outFd_ ? out_ : err_;
        if (got > 0) {
            target.append(buffer, got);
        } else if (got == 0 || errno != EINTR) {
            close(fds[i].fd);
            (fds[i].fd == outFd_ ? outFd_ : errFd_) = -1;
        }
    }
}

void Subprocess::reap(bool block) {
    if (exited_ || pid_ <= 0) {
        return;
    }
    int status = 0;
    const pid_t r = waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (r == pid_) {
        exited_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    } else if (r < 0 && errno == ECHILD) {
        exited_ = true;
    }
}

bool Subprocess::running() {
    reap(false);
    return !exited_;
}

bool Subprocess::wait(std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        if (QCoreApplication::instance()) {
            QCoreApplication::processEvents();
        }
        pump(10);
        reap(false);
        if (exited_ && outFd_ < 0 && errFd_ < 0) {
            return true;
        }
        if (exited_) {
            // Drain what is left, without waiting for an end of file that a
            // grandchild holding the pipe (a daemon) may never give.
            qsizetype before = -1;
            while (before != out_.size() + err_.size()) {
                before = out_.size() + err_.size();
                pump(0);
            }
            closePipes();
            return true;
        }
    }
    return false;
}

void Subprocess::stop(std::chrono::milliseconds grace) {
    if (pid_ > 0) {
        kill(-pid_, SIGTERM); // what the process left running in its group
    }
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGTERM);
        const auto end = Clock::now() + grace;
        while (Clock::now() < end && running()) {
            usleep(10000);
        }
        if (running()) {
            kill(-pid_, SIGKILL);
            kill(pid_, SIGKILL);
            reap(true);
        }
    }
    closePipes();
    pid_ = -1;
    exited_ = true;
}

void Subprocess::closePipes() {
    for (int* fd : {&outFd_, &errFd_}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}

CommandResult runCommand(const QStringList& argv, const QStringList& env,
                         std::chrono::milliseconds timeout) {
    Subprocess::Options options;
    options.env = env;
    options.captureOutput = true;
    Subprocess process;
    CommandResult result;
    if (!process.start(argv, options)) {
        return result;
    }
    result.finished = process.wait(timeout);
    if (!result.finished) {
        process.stop();
    }
    result.exitCode = process.exitCode();
    result.output = process.output();
    result.errors = process.errors();
    return result;
}

} // namespace tapwise::test
