#include "TestWindows.h"

#include "Wait.h"

#include <QFile>

namespace tapwise::test {

QString findWindow(const XvfbServer& server, const QString& title,
                   std::chrono::milliseconds timeout) {
    QString id;
    waitUntil(
        [&] {
            const CommandResult r = runCommand({"xdotool", "search", "--onlyvisible", "--limit",
                                                "1", "--name", u'^' + title + u'$'},
                                               server.env());
            id = r.exitCode == 0 ? r.text().section(u'\n', 0, 0) : QString();
            return !id.isEmpty();
        },
        timeout, std::chrono::milliseconds(50));
    return id;
}

bool focusWindow(const XvfbServer& server, const QString& windowId, bool windowManager,
                 std::chrono::milliseconds timeout) {
    return waitUntil(
        [&] {
            const QString verb = windowManager ? "windowactivate" : "windowfocus";
            runCommand({"xdotool", verb, windowId}, server.env());
            const CommandResult r = runCommand({"xdotool", "getwindowfocus"}, server.env());
            if (r.exitCode != 0 || r.text() != windowId)
                return false;
            // The X server's focus moves before the window manager takes
            // note of it; its key bindings (Alt+F4) act on the window it
            // announces as active.
            if (!windowManager)
                return true;
            const CommandResult active = runCommand({"xdotool", "getactivewindow"}, server.env());
            return active.exitCode == 0 && active.text() == windowId;
        },
        timeout, std::chrono::milliseconds(100));
}

TestWindow::TestWindow(const QString& fileName) : file_(dir_.filePath(fileName)) {}

bool TestWindow::launch(const XvfbServer& server, bool windowManager, const QStringList& argv,
                        const QStringList& env, const QString& title, const QString& what) {
    server_ = &server;
    windowManager_ = windowManager;
    Subprocess::Options options;
    options.env = server.env() + env;
    if (!process_.start(argv, options)) {
        error_ = what + QStringLiteral(" could not be started");
        return false;
    }
    windowId_ = findWindow(server, title);
    if (windowId_.isEmpty()) {
        error_ = QStringLiteral("the window of ") + what + QStringLiteral(" did not appear");
        return false;
    }
    if (!refocus()) {
        error_ = QStringLiteral("the window of ") + what + QStringLiteral(" did not get the focus");
        return false;
    }
    return true;
}

bool TestWindow::refocus() {
    return focusWindow(*server_, windowId_, windowManager_);
}

QByteArray TestWindow::fileContent() const {
    QFile f(file_);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool CatTerminal::start(const XvfbServer& server, bool windowManager, const QString& title) {
    if (!launch(server, windowManager,
                {"xterm", "-u8", "-T", title, "-geometry", "100x30+0+0", "-e", "sh", "-c",
                 "exec cat > \"$1\"", "sh", file_},
                {"LC_ALL=C.UTF-8"}, title, QStringLiteral("xterm"))) {
        return false;
    }
    if (!waitUntil([&] { return QFile::exists(file_); })) {
        error_ = QStringLiteral("cat did not start in the xterm");
        return false;
    }
    return true;
}

bool CatTerminal::waitForSize(qsizetype bytes, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return content().size() >= bytes; }, timeout);
}

bool EventRecorder::start(const XvfbServer& server, bool windowManager, const QString& title) {
    return launch(server, windowManager, {QStringLiteral(TAPWISE_XEVENT_RECORDER), file_, title},
                  {}, title, QStringLiteral("the event recorder"));
}

QStringList EventRecorder::lines() const {
    return QString::fromUtf8(fileContent()).split(u'\n', Qt::SkipEmptyParts);
}

bool EventRecorder::waitForLine(const QString& line, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return lines().contains(line); }, timeout);
}

} // namespace tapwise::test
