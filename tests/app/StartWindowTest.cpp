#include "app/StartWindow.h"
#include "app/NumberBox.h"
#include "app/RunWindows.h"
#include "common/Settings.h"

#include "WindowTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

class StartWindowTest : public ::testing::Test {
protected:
    void open(const QString& lang, const QString& excelFile) {
        form = std::make_unique<StartWindow>(lang);
        form->prepare({"Tapwise 2.1", "Invoices\r\nmonthly run", excelFile});
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename W>
    W* control(const char* name) {
        return testing::control<W>(form.get(), name);
    }
    NumberBox* rowBox() { return control<NumberBox>("Text1"); }
    void typeRow(const QString& text) {
        rowBox()->setFocus();
        rowBox()->selectAll();
        QTest::keyClick(rowBox(), Qt::Key_Backspace);
        QTest::keyClicks(rowBox(), text);
    }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    std::unique_ptr<StartWindow> form;
};

TEST_F(StartWindowTest, ShowsTheSequenceTheWorkbookAndTheStartRow) {
    open("E", "/data/Book 1.xlsx");
    EXPECT_EQ(form->windowTitle(), "Tapwise 2.1");
    EXPECT_EQ(control<QLabel>("Label1")->text(),
              "The following 'Key sequence' is going to send:\n\nInvoices\r\nmonthly run");
    EXPECT_TRUE(control<QGroupBox>("Frame1")->isVisible());
    EXPECT_EQ(control<QGroupBox>("Frame1")->title(), "Excel file name: /data/Book 1.xlsx");
    EXPECT_EQ(rowBox()->text(), "2");
    EXPECT_FALSE(rowBox()->isRed());
}

TEST_F(StartWindowTest, WithoutWorkbookTheFrameIsHiddenAndGoStartsAtRow2) {
    open("E", "");
    EXPECT_FALSE(control<QGroupBox>("Frame1")->isVisible());
    click("Command2");
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->answer().go);
    EXPECT_EQ(form->answer().startRow, 2);
}

// Which texts are valid is NumberInputTest's; here the box shows it.
TEST_F(StartWindowTest, RowThatIsNotValidIsRedAndCannotStartTheRun) {
    open("E", "/data/a.xlsx");
    typeRow("1");
    EXPECT_TRUE(rowBox()->isRed());
    click("Command2");
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->answer().go);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rowBox()->hasFocus(); }, 2000));
    typeRow("17.8");
    EXPECT_FALSE(rowBox()->isRed());
    click("Command2");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->answer().startRow, 17);
}

TEST_F(StartWindowTest, LeavingTheBox) {
    open("E", "/data/a.xlsx");
    typeRow("");
    control<QPushButton>("Command1")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(rowBox()->text(), "2");
    typeRow("abc");
    control<QPushButton>("Command1")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rowBox()->hasFocus(); }, 2000));
    EXPECT_EQ(rowBox()->text(), "abc");
}

TEST_F(StartWindowTest, ExitAndTheCloseBoxCancel) {
    open("E", "/data/a.xlsx");
    typeRow("x");
    click("Command1");
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->answer().go);
    open("E", "");
    form->close();
    EXPECT_FALSE(form->answer().go);
}

TEST(RunWindowsTest, AskModallyInTheProgramsLanguage) {
    Settings settings;
    settings.Lang = "I";
    RunWindows windows(settings);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->findChild<QPushButton*>("Command2")->text(), "Vai");
        auto* box = dialog->findChild<NumberBox*>("Text1");
        box->selectAll();
        QTest::keyClicks(box, "12");
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    });
    const RunUi::StartAnswer answer = windows.showStartWindow({"Tapwise 2.1", "Run", "/b.xlsx"});
    EXPECT_TRUE(answer.go);
    EXPECT_EQ(answer.startRow, 12);
}

TEST(WorkbookDialogTest, ChosenWorkbookOrNothingWhenCancelled) {
    QTemporaryDir dir;
    const QString book = dir.filePath("Orders.xlsx");
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Settings settings;
    settings.DataFolder = dir.path() + "/";
    RunWindows windows(settings);

    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().absolutePath(), dir.path());
        EXPECT_TRUE(dialog->nameFilters().join(' ').contains("*.xlsx *.xlsm"));
        dialog->selectFile(book);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(windows.chooseWorkbook(), book);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(windows.chooseWorkbook(), "");
}

} // namespace
} // namespace tapwise
