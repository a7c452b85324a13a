#include "app/CommandLine.h"
#include "app/ConsoleWindow.h"
#include "app/NumberInput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

class ParseRunArgumentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        workbook = dir.filePath("My Book.xlsx");
        QFile file(workbook);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    QString folder;
    QString workbook;
};

TEST(JoinArgumentsTest, WordsJoinedBySingleSpacesAndTrimmed) {
    EXPECT_EQ(JoinArguments({"/home/ann/My", "Data,Invoices"}), "/home/ann/My Data,Invoices");
    EXPECT_EQ(JoinArguments({"  /data  ", ""}), "/data");
    EXPECT_EQ(JoinArguments({}), "");
}

// "|I" and "|i" are taken in StartupTest.
TEST(TakeLanguageSuffixTest, BarAndLetterSelectTheLanguageAndAreRemoved) {
    QString argument = "/data,Run|E";
    EXPECT_EQ(TakeLanguageSuffix(argument), "E");
    EXPECT_EQ(argument, "/data,Run");
    argument = "/data|x";
    EXPECT_EQ(TakeLanguageSuffix(argument), "E");
    EXPECT_EQ(argument, "/data|x");
    argument = "I";
    EXPECT_EQ(TakeLanguageSuffix(argument), "E");
    EXPECT_EQ(argument, "I");
    // Only one suffix is taken.
    argument = "/data|I|E";
    EXPECT_EQ(TakeLanguageSuffix(argument), "E");
    EXPECT_EQ(argument, "/data|I");
}

TEST_F(ParseRunArgumentsTest, AllFieldsTrimmedAndTheFolderEndsInASlash) {
    const auto parsed = ParseRunArguments(
        "  " + folder + "  , Invoices , " + workbook + " |  secret word , nomsg", "E");
    ASSERT_TRUE(parsed.ok()) << parsed.error().message.toStdString();
    EXPECT_EQ(parsed.value().dataFolder, folder + "/");
    EXPECT_EQ(parsed.value().name, "Invoices");
    EXPECT_EQ(parsed.value().excelFile, workbook);
    EXPECT_EQ(parsed.value().password, "secret word");
    EXPECT_EQ(parsed.value().noMsg, "nomsg");
    EXPECT_TRUE(IsNoMsg(parsed.value().noMsg));
}

TEST_F(ParseRunArgumentsTest, MissingFieldsStayEmptyAndExtraFieldsAreIgnored) {
    auto parsed = ParseRunArguments(folder + "/", "E");
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value().dataFolder, folder + "/");
    EXPECT_EQ(parsed.value().name, "");
    EXPECT_EQ(parsed.value().excelFile, "");
    parsed = ParseRunArguments(folder + ",Run,,,anything,else", "E");
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value().name, "Run");
    EXPECT_EQ(parsed.value().noMsg, "");
    parsed = ParseRunArguments(folder + ",Run," + workbook + "|", "E");
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value().excelFile, workbook);
    EXPECT_EQ(parsed.value().password, "");
}

// The messages themselves are checked through the start-up routine; here
// the reasons that are easy to get wrong.
TEST_F(ParseRunArgumentsTest, WhatCountsAsMissingOrInvalid) {
    auto parsed = ParseRunArguments(workbook, "E"); // a file is not a folder
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.error().message, "Error!!!!\n20    Not a directory\n" + workbook);
    parsed = ParseRunArguments(folder + ",Run," + folder, "E"); // nor a workbook
    ASSERT_FALSE(parsed.ok());
    EXPECT_TRUE(parsed.error().message.endsWith("The Excel file does not exists!"));
    EXPECT_TRUE(ParseRunArguments(folder + ",Run,,  ", "E").ok());
    EXPECT_FALSE(ParseRunArguments(folder + ",Run,,NoMsgs", "E").ok());
}

TEST_F(ParseRunArgumentsTest, FieldsAreCheckedInOrderFolderWorkbookNoMsg) {
    auto parsed = ParseRunArguments(folder + ",,/no/such.xlsx,bad", "E");
    ASSERT_FALSE(parsed.ok());
    EXPECT_TRUE(parsed.error().message.endsWith("The Excel file does not exists!"));
    parsed = ParseRunArguments("/no/such/folder,Run,/no/such.xlsx,bad", "E");
    ASSERT_FALSE(parsed.ok());
    EXPECT_TRUE(parsed.error().message.startsWith("Error!!!!"));
}

TEST(IsConsoleWindowTest, BatchTitlesAndTerminalEmulators) {
    EXPECT_TRUE(IsConsoleWindow({"C:\\WINDOWS\\system32\\cmd.exe", ""}));
    EXPECT_TRUE(IsConsoleWindow({"run invoices.bat", "wine"}));
    EXPECT_TRUE(IsConsoleWindow({"START.CMD", ""}));
    EXPECT_TRUE(IsConsoleWindow({"ann@desk: ~/data", "XTerm"}));
    EXPECT_TRUE(IsConsoleWindow({"ann@desk: ~", "Gnome-terminal"}));
    EXPECT_TRUE(IsConsoleWindow({"~ : bash", "konsole"}));
    EXPECT_TRUE(IsConsoleWindow({"Terminal - ann@desk", "Xfce4-terminal"}));
    EXPECT_TRUE(IsConsoleWindow({"xterm", ""}));
    EXPECT_FALSE(IsConsoleWindow({"Invoices.xlsx - LibreOffice Calc", "libreoffice-calc"}));
    EXPECT_FALSE(IsConsoleWindow({"Terminal orders.txt - gedit", "Gedit"}));
    EXPECT_FALSE(IsConsoleWindow({"", ""}));
}

TEST(NumberInputTest, StartRowBetween2And65536WithoutMinus) {
    for (const char* valid : {"", "2", "65536", " 17 ", "3.9", "65536.5", "1e3", "+5"})
        EXPECT_TRUE(StartRowTextValid(valid)) << valid;
    for (const char* invalid : {"1", "0", "-3", "65537", "abc", "  ", "2a", "1e9", "inf"})
        EXPECT_FALSE(StartRowTextValid(invalid)) << invalid;
    EXPECT_EQ(StartRowValue(""), 2);
    EXPECT_EQ(StartRowValue("3.9"), 3);
    EXPECT_EQ(StartRowValue("1e3"), 1000);
    EXPECT_EQ(StartRowValue("1"), std::nullopt);
    EXPECT_EQ(StartRowValue("x"), std::nullopt);
}

TEST(NumberInputTest, WaitPercentWithoutUpperLimitButWithinRange) {
    for (const char* valid : {"", "0", "100", "250.7", "2147483647"})
        EXPECT_TRUE(WaitPercentTextValid(valid)) << valid;
    for (const char* invalid : {"-1", "50%", "x", "2147483648", "1e12"})
        EXPECT_FALSE(WaitPercentTextValid(invalid)) << invalid;
    EXPECT_EQ(WaitPercentValue(""), 100);
    EXPECT_EQ(WaitPercentValue("250.7"), 250);
    EXPECT_EQ(WaitPercentValue("-5"), std::nullopt);
}

} // namespace
} // namespace tapwise
