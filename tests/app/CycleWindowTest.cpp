#include "app/CycleWindow.h"
#include "app/NumberBox.h"
#include "app/RunWindows.h"
#include "common/Settings.h"

#include "WindowTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

class CycleWindowTest : public ::testing::Test {
protected:
    CycleWindowTest() : form("E", "Tapwise 2.1") {}

    void SetUp() override {
        form.prepare({"Tapwise 2.1   (Excel Row N.: 5)",
                      "The following Excel data have been sent:\n(Do you want to continue without "
                      "any interruptions?)",
                      "Col#A  Rossi\r\nCol#B  12\r\n"});
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    template <typename W>
    W* control(const char* name) {
        return testing::control<W>(&form, name);
    }
    NumberBox* percentBox() { return control<NumberBox>("Text2"); }
    void typePercent(const QString& text) {
        percentBox()->setFocus();
        percentBox()->selectAll();
        QTest::keyClick(percentBox(), Qt::Key_Backspace);
        QTest::keyClicks(percentBox(), text);
    }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    CycleWindow form;
};

TEST_F(CycleWindowTest, ShowsTheRowItsDataAndThePercentage) {
    EXPECT_EQ(form.windowTitle(), "Tapwise 2.1   (Excel Row N.: 5)");
    EXPECT_TRUE(control<QLabel>("Label1")->text().startsWith("The following Excel data"));
    EXPECT_EQ(control<QPlainTextEdit>("Text1")->toPlainText(), "Col#A  Rossi\nCol#B  12\n");
    EXPECT_EQ(percentBox()->text(), "100");
}

TEST_F(CycleWindowTest, PercentageThatIsNotValidIsRedAndHoldsTheDialog) {
    typePercent("-5");
    EXPECT_TRUE(percentBox()->isRed());
    click("Command3");
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return percentBox()->hasFocus(); }, 2000));
    typePercent("abc");
    EXPECT_TRUE(percentBox()->isRed());
    typePercent("");
    EXPECT_FALSE(percentBox()->isRed());
    control<QPushButton>("Command3")->setFocus(); // leaving the empty box
    EXPECT_EQ(percentBox()->text(), "100");
    typePercent("75.9");
    EXPECT_FALSE(percentBox()->isRed());
    click("Command3");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.answer().noMsg, "NO");
    EXPECT_EQ(form.answer().waitPercent, 75);
}

TEST_F(CycleWindowTest, ExitCancelsEvenWithABadPercentage) {
    typePercent("x");
    click("Command4");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.answer().noMsg, "CANCEL");
}

TEST_F(CycleWindowTest, PercentageIsKeptForTheNextRow) {
    typePercent("40");
    click("Command3");
    form.prepare({"Tapwise 2.1   (Excel Row N.: 6)",
                  "(Do you want to continue without any "
                  "interruptions?)",
                  "Col#A  #REPEAT#\r\n"});
    EXPECT_EQ(percentBox()->text(), "40");
    EXPECT_EQ(form.answer().waitPercent, 40);
    form.show();
    click("Command2");
    EXPECT_EQ(form.answer().noMsg, "YES");
    EXPECT_EQ(form.answer().waitPercent, 40);
}

TEST_F(CycleWindowTest, ClosingTheDialogGoesOnAndAsksAgain) {
    form.close();
    EXPECT_EQ(form.answer().noMsg, "NO");
    EXPECT_EQ(form.answer().waitPercent, 100);
}

TEST(RunningWindowTest, SmallMinimisedRedWindowInTheBottomRightCorner) {
    Settings settings;
    RunWindows windows(settings);
    windows.showRunningWindow("Tapwise 2.1 is running... Use 'Pause' key to pause/ cancel!",
                              "Tapwise is running...\nUse 'Pause' key to pause/ cancel!");
    CycleWindow* form = windows.cycleWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isVisible(); }, 2000));
    EXPECT_TRUE(form->isMinimized());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form->size(), QSize(165, 90));
    EXPECT_EQ(form->pos(), QPoint(screen.right() + 1 - 165, screen.bottom() + 1 - 90));
    auto* label = form->findChild<QLabel*>("Label1");
    EXPECT_EQ(label->text(), "Tapwise is running...\nUse 'Pause' key to pause/ cancel!");
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (const char* hidden : {"Text1", "Text2", "Label2", "Command2", "Command3", "Command4"})
        EXPECT_FALSE(form->findChild<QWidget*>(hidden)->isVisible()) << hidden;
    EXPECT_FALSE(windows.runningWindowActivated());

    form->showNormal();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return windows.runningWindowActivated(); }, 2000));
    form->showNotice("Error!\nTapwise is ended!", std::chrono::milliseconds(50));
    EXPECT_EQ(label->text(), "Error!\nTapwise is ended!");
    EXPECT_FALSE(form->isVisible());
    windows.closeRunningWindow();
    EXPECT_EQ(windows.cycleWindow(), nullptr);
    EXPECT_FALSE(windows.runningWindowActivated());
}

TEST(RunningWindowTest, CycleDialogIsNotAStatusWindow) {
    Settings settings;
    RunWindows windows(settings);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->activateWindow();
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command3"), Qt::LeftButton);
    });
    const RunUi::CycleAnswer answer = windows.showCycleDialog({"Tapwise 2.1", "sent", ""});
    EXPECT_EQ(answer.noMsg, "NO");
    EXPECT_FALSE(windows.runningWindowActivated());
}

} // namespace
} // namespace tapwise
