#include "TapwiseSession.h"

#include "Wait.h"
#include "store/SequenceStore.h"

#include <QDir>

namespace tapwise::test {

void TapwiseSession::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Tapwise data")));
    ASSERT_TRUE(server_.start()) << server_.error().toStdString();
}

void TapwiseSession::addSequence(const QString& description, const Lines& lines) {
    SequenceStore store(folder());
    const auto added = store.AppendSequence(description, lines);
    ASSERT_TRUE(added.ok()) << added.error().message.toStdString();
}

bool TapwiseSession::startTapwise(const QStringList& words) {
    Subprocess::Options options;
    // A home of the test's own: launchers go to its desktop, never the user's.
    const QString home = dir_.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    options.env =
        server_.env() + QStringList{"QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8", "HOME=" + home,
                                    "XDG_CONFIG_HOME=" + home + "/.config"};
    options.captureOutput = true;
    return tapwise_.start(QStringList{QStringLiteral(TAPWISE_PROGRAM)} + words, options);
}

int TapwiseSession::waitForExit(std::chrono::milliseconds timeout) {
    return tapwise_.wait(timeout) ? tapwise_.exitCode() : -1;
}

// xdotool matches names with an extended regular expression.
static QString exactName(const QString& title) {
    QString pattern = QStringLiteral("^");
    for (const QChar c : title) {
        if (QStringLiteral("\\.^$|()[]{}*+?").contains(c))
            pattern += u'\\';
        pattern += c;
    }
    return pattern + u'$';
}

QString TapwiseSession::waitForWindow(const QString& title, int height,
                                      std::chrono::milliseconds timeout) {
    return searchWindow(title, timeout, [&](const QString& id) {
        return height < 0 || windowSize(id).height() == height;
    });
}

QString TapwiseSession::waitForOtherWindow(const QString& title, const QString& except) {
    return searchWindow(title, std::chrono::seconds(60),
                        [&](const QString& id) { return id != except; });
}

QString TapwiseSession::searchWindow(const QString& title, std::chrono::milliseconds timeout,
                                     const std::function<bool(const QString&)>& wanted) {
    QString found;
    waitUntil(
        [&] {
            const CommandResult r = runCommand(
                {"xdotool", "search", "--onlyvisible", "--name", exactName(title)}, server_.env());
            for (const QString& id : r.text().split(u'\n', Qt::SkipEmptyParts)) {
                if (wanted(id)) {
                    found = id;
                    return true;
                }
            }
            return false;
        },
        timeout, std::chrono::milliseconds(50));
    return found;
}

QSize TapwiseSession::windowSize(const QString& windowId) {
    const CommandResult r =
        runCommand({"xdotool", "getwindowgeometry", "--shell", windowId}, server_.env());
    QSize size;
    for (const QString& line : r.text().split(u'\n')) {
        if (line.startsWith("WIDTH="))
            size.setWidth(line.mid(6).toInt());
        if (line.startsWith("HEIGHT="))
            size.setHeight(line.mid(7).toInt());
    }
    return size;
}

bool TapwiseSession::clickInWindow(const QString& windowId, QPoint point) {
    return runCommand({"xdotool", "mousemove", "--window", windowId, "--sync",
                       QString::number(point.x()), QString::number(point.y()), "click", "1"},
                      server_.env())
               .exitCode == 0;
}

bool TapwiseSession::pressKeys(const QStringList& keys) {
    return runCommand(QStringList{"xdotool", "key", "--delay", "20"} + keys, server_.env())
               .exitCode == 0;
}

bool TapwiseSession::typeText(const QString& text) {
    return runCommand({"xdotool", "type", "--delay", "20", text}, server_.env()).exitCode == 0;
}

} // namespace tapwise::test
