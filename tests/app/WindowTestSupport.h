#pragma once

#include "gui/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace tapwise::testing {

// The control of a window by its design name.
template <typename W = QWidget>
W* control(const QWidget* window, const char* name) {
    W* widget = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Message boxes answered from a queue that each test must use up; a box
// that found no answer fails the test.
class AnsweredMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::setTestMode(true);
        MessageBox::clearShown();
    }
    void TearDown() override {
        EXPECT_EQ(MessageBox::pendingAnswers(), 0);
        for (const MessageBox::Shown& shown : MessageBox::shown())
            EXPECT_FALSE(shown.unanswered) << shown.text.toStdString();
        MessageBox::setTestMode(false);
    }
};

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
