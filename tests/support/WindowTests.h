#pragma once

// What window tests of every subsystem share: controls found by their design
// names, and message boxes answered in advance.
#include "gui/MessageBox.h"

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

} // namespace tapwise::testing
