#pragma once

// What the end-to-end tests of the program share: an X server of their own,
// a data folder made by the store, and the program started on them.

#include "Subprocess.h"
#include "TestWindows.h"
#include "XvfbServer.h"
#include "language/Line.h"

#include <QPoint>
#include <QSize>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace tapwise::test {

class TapwiseSession : public ::testing::Test {
protected:
    void SetUp() override;

    // Appends a Key sequence to the data folder's file.
    void addSequence(const QString& description, const Lines& lines);
    // The data folder; its name has a blank in it.
    QString folder() const { return dir_.filePath(QStringLiteral("Tapwise data")); }
    QString pathInFolder(const QString& name) const { return folder() + u'/' + name; }
    // The home the program is started with.
    QString home() const { return dir_.filePath(QStringLiteral("home")); }

    // Starts `tapwise` with its words, as a shell would pass them.
    bool startTapwise(const QStringList& words);
    // Waits for the program to end: its exit status, -1 when it did not end.
    int waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(120));
    QString errorOutput() const { return QString::fromLocal8Bit(tapwise_.errors()); }

    // A visible window with exactly this title and, when given, this height.
    QString waitForWindow(const QString& title, int height = -1,
                          std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // A visible window with exactly this title other than the window except.
    QString waitForOtherWindow(const QString& title, const QString& except);
    QSize windowSize(const QString& windowId);
    // Clicks the left button at a point given in the window's own pixels.
    bool clickInWindow(const QString& windowId, QPoint point);
    // Presses keys (xdotool names) in the focused window.
    bool pressKeys(const QStringList& keys);
    // Types text in the focused window, as a person would.
    bool typeText(const QString& text);

    XvfbServer server_;
    Subprocess tapwise_;

private:
    QString searchWindow(const QString& title, std::chrono::milliseconds timeout,
                         const std::function<bool(const QString&)>& wanted);

    QTemporaryDir dir_;
};

} // namespace tapwise::test
