#include "gui/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::setTestMode(true);
        MessageBox::clearShown();
    }
    void TearDown() override { MessageBox::setTestMode(false); }
};

TEST_F(MessageBoxTest, QueuedAnswersAreTakenInOrderAndTheTextsRecorded) {
    MessageBox::setNextAnswer(QMessageBox::No);
    MessageBox::setNextInput(QStringLiteral("Reports"));
    MessageBox::setNextAnswer(QMessageBox::Yes);

    EXPECT_FALSE(MessageBox::askYesNo(nullptr, "Tapwise", "Do you confirm?"));
    EXPECT_EQ(MessageBox::input(nullptr, "Tapwise", "Fill with new folder name:"),
              std::optional<QString>("Reports"));
    EXPECT_TRUE(MessageBox::askYesNo(nullptr, "Tapwise", "Sure?"));

    ASSERT_EQ(MessageBox::shown().size(), 3);
    EXPECT_EQ(MessageBox::shown()[1].text, "Fill with new folder name:");
    EXPECT_FALSE(MessageBox::shown()[2].unanswered);
    EXPECT_EQ(MessageBox::pendingAnswers(), 0);
}

// A box that nobody answered must not block a test: it takes the choice that
// does least (No or Cancel where the default is not given) and is marked.
TEST_F(MessageBoxTest, AnUnansweredBoxIsMarkedAndAWrongKindOfAnswerIsNotTaken) {
    MessageBox::setNextInput(std::nullopt);
    EXPECT_EQ(MessageBox::show(nullptr, "Tapwise", "Select a row!"), QMessageBox::Ok);
    EXPECT_EQ(MessageBox::show(nullptr, "Tapwise", "Save?",
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                               QMessageBox::No),
              QMessageBox::No);
    EXPECT_EQ(MessageBox::input(nullptr, "Tapwise", "Name:"), std::nullopt);

    ASSERT_EQ(MessageBox::shown().size(), 3);
    EXPECT_TRUE(MessageBox::shown()[0].unanswered);
    EXPECT_TRUE(MessageBox::shown()[1].unanswered);
    EXPECT_FALSE(MessageBox::shown()[2].unanswered);
}

// The buttons follow the program's language, not the desktop's.
TEST(MessageBoxLanguageTest, ItalianButtons) {
    MessageBox::setTestMode(false);
    MessageBox::setLanguage(QStringLiteral("I"));
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QString::fromUtf8("S\u00ec"));
        EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("No"));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(
        MessageBox::askYesNo(nullptr, QStringLiteral("Tapwise"), QStringLiteral("Confermi?")));
    MessageBox::setLanguage(QStringLiteral("E"));
}

// A password prompt shows dots, never the characters typed.
TEST(MessageBoxLanguageTest, HiddenInputShowsNoCharacters) {
    MessageBox::setTestMode(false);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textEchoMode(), QLineEdit::Password);
        dialog->setTextValue(QStringLiteral("Segreto 42"));
        dialog->accept();
    });
    EXPECT_EQ(MessageBox::input(nullptr, QStringLiteral("Tapwise"), QStringLiteral("Password:"),
                                QString(), MessageBox::Echo::Hidden),
              std::optional<QString>("Segreto 42"));
}

} // namespace
} // namespace tapwise
