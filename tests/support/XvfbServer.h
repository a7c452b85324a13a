#pragma once

#include "Subprocess.h"

#include <QSize>
#include <QString>
#include <QStringList>

namespace tapwise::test {

// An Xvfb X server on a display number that was free (Xvfb picks it itself),
// stopped when the object goes away, also when the test fails.
//
//     XvfbServer x;
//     ASSERT_TRUE(x.start()) << x.error();
//     runCommand({"xdotool", "getmouselocation"}, x.env());
class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer() { stop(); }

    bool start(QSize size = QSize(1280, 1024),
               std::chrono::milliseconds timeout = std::chrono::seconds(60));
    void stop();

    QString display() const { return display_; } // ":N"
    QStringList env() const { return {QStringLiteral("DISPLAY=") + display_}; }
    // Sets DISPLAY of this process, for code under test that opens the default display.
    void makeCurrent() const;
    QString error() const { return error_; }

private:
    Subprocess process_;
    QString display_;
    QString error_;
};

// The openbox window manager on a display; it is up when the root window
// names a supporting window manager (_NET_SUPPORTING_WM_CHECK).
class WindowManager {
public:
    bool start(const XvfbServer& server,
               std::chrono::milliseconds timeout = std::chrono::seconds(60));
    void stop() { process_.stop(); }

private:
    Subprocess process_;
};

} // namespace tapwise::test
