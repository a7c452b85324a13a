#include "TestWindows.h"

#include "Wait.h"

#include <QFile>

namespace tapwise::test {
namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

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
            return r.exitCode == 0 && r.text() == windowId;
        },
        timeout, std::chrono::milliseconds(100));
}

bool CatTerminal::start(const XvfbServer& server, bool windowManager, const QString& title) {
    server_ = &server;
    windowManager_ = windowManager;
    dir_ = std::make_unique<QTemporaryDir>();
    file_ = dir_->filePath(QStringLiteral("typed.txt"));
    Subprocess::Options options;
    options.env = server.env() + QStringList{"LC_ALL=C.UTF-8"};
    if (!process_.start({"xterm", "-u8", "-T", title, "-geometry", "100x30+0+0", "-e", "sh", "-c",
                         "exec cat > \"$1\"", "sh", file_},
                        options)) {
        error_ = QStringLiteral("xterm could not be started");
        return false;
    }
    windowId_ = findWindow(server, title);
    if (windowId_.isEmpty()) {
        error_ = QStringLiteral("the xterm window did not appear");
        return false;
    }
    if (!waitUntil([&] { return QFile::exists(file_); })) {
        error_ = QStringLiteral("cat did not start in the xterm");
        return false;
    }
    if (!refocus()) {
        error_ = QStringLiteral("the xterm did not get the focus");
        return false;
    }
    return true;
}

bool CatTerminal::refocus() {
    return focusWindow(*server_, windowId_, windowManager_);
}

QByteArray CatTerminal::content() const {
    return readFile(file_);
}

bool CatTerminal::waitForSize(qsizetype bytes, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return content().size() >= bytes; }, timeout);
}

bool EventRecorder::start(const XvfbServer& server, bool windowManager, const QString& title) {
    server_ = &server;
    windowManager_ = windowManager;
    dir_ = std::make_unique<QTemporaryDir>();
    file_ = dir_->filePath(QStringLiteral("events.txt"));
    Subprocess::Options options;
    options.env = server.env();
    if (!process_.start({QStringLiteral(TAPWISE_XEVENT_RECORDER), file_, title}, options)) {
        error_ = QStringLiteral("the event recorder could not be started");
        return false;
    }
    windowId_ = findWindow(server, title);
    if (windowId_.isEmpty()) {
        error_ = QStringLiteral("the event recorder window did not appear");
        return false;
    }
    if (!refocus()) {
        error_ = QStringLiteral("the event recorder window did not get the focus");
        return false;
    }
    return true;
}

bool EventRecorder::refocus() {
    return focusWindow(*server_, windowId_, windowManager_);
}

QStringList EventRecorder::lines() const {
    return QString::fromUtf8(readFile(file_)).split(u'\n', Qt::SkipEmptyParts);
}

bool EventRecorder::waitForLine(const QString& line, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return lines().contains(line); }, timeout);
}

} // namespace tapwise::test
