#pragma once

#include "gui/MessageBox.h"
#include "tests/support/WindowTests.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace tapwise::testing {

// A home of the test's own for as long as it lives, so that launchers land
// in a desktop folder of its own.
class TestHome {
public:
    TestHome() : savedHome_(qgetenv("HOME")), savedConfig_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("HOME", QFile::encodeName(dir_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath("config")));
    }
    ~TestHome() {
        qputenv("HOME", savedHome_);
        qputenv("XDG_CONFIG_HOME", savedConfig_);
    }
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QString desktop() const { return dir_.filePath("Desktop"); }
    QString launcherPath(const QString& name) const { return desktop() + '/' + name + ".desktop"; }
    QStringList launchers() const { return QDir(desktop()).entryList(QDir::Files); }

private:
    QTemporaryDir dir_;
    QByteArray savedHome_;
    QByteArray savedConfig_;
};

} // namespace tapwise::testing
