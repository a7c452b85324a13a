// Check lines in their three modes, and the column check.

#include "RunFixture.h"

namespace tapwise {
namespace {

using namespace std::chrono_literals;

class Checks : public RunFixture {
protected:
    // The focused program copies this text with Ctrl+C.
    void copyGives(const QString& text) {
        desktop.onKeys([text](const QString& keys, FakeDesktop& d) {
            if (keys == "^c")
                d.putClipboardText(text);
        });
    }
};

TEST_F(Checks, WindowTitlePassesAtOnceAndWaitsATenth) {
    desktop.setForegroundWindow({"Invoice 12 - Sheet", "calc"});
    ASSERT_EQ(runNoMsg({{"*Chk(0;0;5;invoice)*", "0"}, {"a", "0"}}), RunEnd::Finished);
    EXPECT_TRUE(ui.windows.empty());
    EXPECT_EQ(desktop.events(), QStringList({"sleep 630ms", "keys a"})); // 30 + 500 + 100
}

TEST_F(Checks, WindowTitleKeepsTryingForItsSecondsThenReportsTheLastTitle) {
    desktop.setForegroundWindow({"Editor   ", "gedit"});
    std::chrono::nanoseconds opened{};
    ui.onMessageWindow = [&](const RunUi::MessageRequest&) { opened = desktop.monotonicTime(); };
    ASSERT_EQ(runNoMsg({{"*Chk(0;0;5;Invoice)*", "0"}}), RunEnd::Finished);
    ASSERT_EQ(ui.windows.size(), 1u);
    EXPECT_EQ(ui.windows[0].mode, 3);
    EXPECT_EQ(ui.windows[0].countdownSeconds, 0);
    EXPECT_EQ(ui.windows[0].text,
              "*Chk(0;0;5;Invoice)*\n***** Wrong data has been found ***** \nEditor");
    EXPECT_GT(opened, 530ms + 5s);
    EXPECT_LT(opened, 530ms + 5s + 150ms);
}

TEST_F(Checks, WindowTitleThatAppearsInTimePasses) {
    desktop.setForegroundWindow({"Loading", "calc"});
    desktop.at(2s, [](FakeDesktop& d) { d.setForegroundWindow({"Invoice 12", "calc"}); });
    ASSERT_EQ(runNoMsg({{"*Chk(0;0;5;Invoice)*", "0"}}), RunEnd::Finished);
    EXPECT_TRUE(ui.windows.empty());
}

TEST_F(Checks, WindowTitleWithZeroSecondsTriesOnce) {
    std::chrono::nanoseconds opened{};
    ui.onMessageWindow = [&](const RunUi::MessageRequest&) { opened = desktop.monotonicTime(); };
    ASSERT_EQ(runNoMsg({{"*Chk(0;0;0;x)*", "0"}}), RunEnd::Finished);
    EXPECT_EQ(opened, 530ms + 100ms);
}

TEST_F(Checks, ClipboardCheckAndItsCountdown) {
    desktop.putClipboardText("ABC");
    ASSERT_EQ(runNoMsg({{"*Chk(;ClipB;0;abc)*", "0"}}), RunEnd::Finished);
    EXPECT_TRUE(ui.windows.empty());
    desktop.putClipboardImage("png");
    ASSERT_EQ(runNoMsg({{"*Chk(;ClipB;7;abc)*", "0"}}), RunEnd::Finished);
    ASSERT_EQ(ui.windows.size(), 1u);
    EXPECT_EQ(ui.windows[0].text, "*Chk(;ClipB;7;abc)*\n***** Wrong data has been found ***** \n");
    EXPECT_EQ(ui.windows[0].countdownSeconds, 7);
    EXPECT_EQ(desktop.events().filter("clipboard").size(), 0); // only read
}

TEST_F(Checks, ScreenTextIsDraggedCopiedAndTheClipboardPutBack) {
    desktop.putClipboardText("mine");
    copyGives("Grand Total 12");
    ASSERT_EQ(runNoMsg({{"*Chk(100;200;0;Total)*", "0"}}), RunEnd::Finished);
    EXPECT_TRUE(ui.windows.empty());
    EXPECT_EQ(actions(), QStringList({"clipboard-clear", "pointer 100,200", "button-down left",
                                      "pointer 1918,200", "button-up left", "pointer 100,200",
                                      "keys ^c", "clipboard-restore text mine", "click left"}));
}

TEST_F(Checks, ScreenTextFailureShowsTheFirstCopiedLineAndCountsDown) {
    ASSERT_TRUE(desktop.setPointer({40, 50}));
    desktop.clearEvents();
    copyGives("Sum 12   \r\nTotal is elsewhere");
    ASSERT_EQ(runNoMsg({{"*Chk(;;2;Grand)*", "0"}}), RunEnd::Finished);
    ASSERT_EQ(ui.windows.size(), 1u);
    EXPECT_EQ(ui.windows[0].text,
              "*Chk(;;2;Grand)*\n***** Wrong data has been found ***** \nSum 12");
    EXPECT_EQ(ui.windows[0].countdownSeconds, 2);
    EXPECT_TRUE(actions().contains("pointer 1918,50"));
    EXPECT_FALSE(actions().contains("click left")); // the selection stays to be seen
}

TEST_F(Checks, ButtonIsReleasedWhenTheDesktopFailsDuringTheDrag) {
    desktop.putClipboardText("mine");
    desktop.failNext("pointer", Error{3005, "The X display reported an error (BadMatch)."});
    EXPECT_EQ(runNoMsg({{"*Chk(;;0;Total)*", "0"}}), RunEnd::Failed);
    EXPECT_EQ(actions(), QStringList({"clipboard-clear", "button-down left", "button-up left",
                                      "clipboard-restore text mine", "beep"}));
    EXPECT_TRUE(ui.report().startsWith("Tapwise has been stopped by an error:\n3005    "));
}

TEST_F(Checks, ColumnCheckComparesTheTypedCellIgnoringCase) {
    workbook()->setRow(2, {"Rossi"});
    copyGives("ROSSI");
    desktop.putClipboardText("mine");
    ASSERT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}, {"*ChkExcelSheetCol*", "0"}}, BookPath),
              RunEnd::Finished);
    EXPECT_TRUE(ui.windows.empty());
    EXPECT_EQ(actions().mid(5), QStringList({"clipboard-clear", "keys +{LEFT 5}", "keys ^c",
                                             "keys {RIGHT}", "clipboard-restore text mine"}));
}

TEST_F(Checks, ColumnCheckReportsADifference) {
    workbook()->setRow(2, {"Rossi"});
    copyGives("Rosi");
    ASSERT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}, {"*ChkExcelSheetCol*", "0"}}, BookPath),
              RunEnd::Finished);
    ASSERT_EQ(ui.windows.size(), 1u);
    EXPECT_EQ(ui.windows[0].mode, 2);
    EXPECT_EQ(ui.windows[0].text, "A difference between Excel data      (Rossi)     a\n"
                                  "nd received data     (Rosi)      has been detected\n!");
    EXPECT_TRUE(ui.windows[0].worksheet);
    EXPECT_EQ(ui.windows[0].caption, "Tapwise 2.1   (Excel Row N.: 2)");
}

// Editors on this system copy a cell's CR LF back as a line feed.
TEST_F(Checks, ColumnCheckTakesEveryKindOfLineEndAsOne) {
    workbook()->setRow(2, {"Via Roma\r\n10"});
    workbook()->setRow(3, {"Via Po\r\n2"});
    workbook()->setRow(4, {"Via Ponte\r\n3"});
    QStringList copies{"via roma\n10", "Via Po\r2", "Via Ponte 3"};
    desktop.onKeys([&](const QString& keys, FakeDesktop& d) {
        if (keys == "^c")
            d.putClipboardText(copies.takeFirst());
    });
    ASSERT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}, {"*ChkExcelSheetCol*", "0"}}, BookPath),
              RunEnd::Finished);
    ASSERT_EQ(ui.windows.size(), 1u); // a blank is still not a line end
    EXPECT_TRUE(ui.windows[0].text.contains("(Via Ponte 3)"));
    EXPECT_TRUE(actions().contains("keys +{LEFT 11}")); // "\r\n" is one character to select
}

TEST_F(Checks, ColumnCheckDeselectsAndRestoresWhenTheCopyFails) {
    workbook()->setRow(2, {"Rossi"});
    desktop.putClipboardText("mine");
    desktop.onKeys([](const QString& keys, FakeDesktop& d) {
        if (keys.startsWith("+{LEFT"))
            d.failNext("keys", Error{3005, "The X display reported an error (BadWindow)."});
    });
    EXPECT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}, {"*ChkExcelSheetCol*", "0"}}, BookPath),
              RunEnd::Failed);
    EXPECT_EQ(actions().mid(5), QStringList({"clipboard-clear", "keys +{LEFT 5}", "keys {RIGHT}",
                                             "clipboard-restore text mine", "beep"}));
    EXPECT_TRUE(ui.report().startsWith("Tapwise has been stopped by an error:\n3005    "));
}

TEST_F(Checks, ColumnCheckSkipsEmptyAndRepeatCells) {
    workbook()->setRow(2, {"#Repeat#", "x"});
    workbook()->setRow(3, {"", "y"});
    ASSERT_EQ(
        runNoMsg({{"ExcelSheetCol#A", "0"}, {"*ChkExcelSheetCol*", "0"}, {"ExcelSheetCol#B", "0"}},
                 BookPath),
        RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"x", "y"}));
}

} // namespace
} // namespace tapwise
