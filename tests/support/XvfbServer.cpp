#include "XvfbServer.h"

#include "Wait.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace tapwise::test {
namespace {

// Reads the display number that Xvfb writes to its -displayfd once it
// accepts connections.
QString readDisplayNumber(int fd, std::chrono::milliseconds timeout, Subprocess& process) {
    QByteArray line;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!line.contains('\n') && std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) > 0) {
            char buffer[32];
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0 && errno != EINTR) {
                break;
            }
            line.append(buffer, n > 0 ? n : 0);
        } else if (!process.running()) {
            break;
        }
    }
    return line.contains('\n') ? QString::fromLatin1(line.trimmed()) : QString();
}

// Whether the window named `title` is in the window manager's client list.
bool isManaged(const XvfbServer& server, const QString& title) {
    const CommandResult id =
        runCommand({"xdotool", "search", "--name", u'^' + title + u'$'}, server.env());
    const CommandResult list = runCommand({"xprop", "-root", "_NET_CLIENT_LIST"}, server.env());
    bool ok = false;
    const qulonglong wid = id.text().section(u'\n', 0, 0).toULongLong(&ok);
    return ok && list.text().contains(QStringLiteral("0x%1").arg(wid, 0, 16));
}

} // namespace

bool XvfbServer::start(QSize size, std::chrono::milliseconds timeout) {
    stop();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error_ = QStringLiteral("pipe failed");
        return false;
    }
    Subprocess::Options options;
    options.passFdAs3 = fds[1];
    const QString screen = QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height());
    const bool started = process_.start(
        {"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
        options);
    close(fds[1]);
    const QString number = started ? readDisplayNumber(fds[0], timeout, process_) : QString();
    close(fds[0]);
    if (number.isEmpty()) {
        error_ = started ? QStringLiteral("Xvfb did not report a display in time")
                         : QStringLiteral("Xvfb could not be started");
        process_.stop();
        return false;
    }
    display_ = u':' + number;
    return true;
}

void XvfbServer::stop() {
    process_.stop();
    display_.clear();
}

void XvfbServer::makeCurrent() const {
    qputenv("DISPLAY", display_.toLocal8Bit());
}

bool WindowManager::start(const XvfbServer& server, std::chrono::milliseconds timeout) {
    Subprocess::Options options;
    options.env = server.env();
    if (!process_.start({"openbox", "--sm-disable"}, options)) {
        return false;
    }
    const bool announced = waitUntil(
        [&] {
            const CommandResult r =
                runCommand({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, server.env());
            return r.exitCode == 0 && r.output.contains("window id");
        },
        timeout, std::chrono::milliseconds(50));
    // Openbox names itself before it manages windows: a window mapped in
    // between stays unmanaged. It is ready once it lists a probe window; a
    // probe that came too early is replaced by a new one.
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (announced && std::chrono::steady_clock::now() < end) {
        Subprocess probe;
        if (!probe.start({TAPWISE_XEVENT_RECORDER, "/dev/null", "tapwise-wm-probe"}, options)) {
            return false;
        }
        if (waitUntil([&] { return isManaged(server, "tapwise-wm-probe"); },
                      std::chrono::seconds(3), std::chrono::milliseconds(50))) {
            return true;
        }
    }
    return false;
}

} // namespace tapwise::test
