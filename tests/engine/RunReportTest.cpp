// A run from start to end: the report, the windows shown, and how a run
// ends when it cannot go on.

#include "RunFixture.h"

namespace tapwise {
namespace {

using namespace std::chrono_literals;

class RunReport : public RunFixture {};

TEST_F(RunReport, CountsKeystrokesAndMouseEventsButNotCommands) {
    const RunEnd end = run({{":abcde", "0"},
                            {"[LeftClick]", "0"},
                            {"*Label(1)*", "0"},
                            {"{ENTER}", "0"},
                            {"Ctrl+c", "0"},
                            {"#not executed", "0"},
                            {"[x]", "0"}});
    EXPECT_EQ(end, RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"a", "b", "c", "d", "e", "{ENTER}", "^c"}));
    EXPECT_EQ(ui.report(), "Tapwise is ended!\n\nNumber of KeyStrokes: 7\n"
                           "Number of Mouse Events: 2\n");
    EXPECT_EQ(ui.log.first(), "main-closed");
    ASSERT_EQ(ui.starts.size(), 1u);
    EXPECT_EQ(ui.starts[0].description, "Test run");
}

TEST_F(RunReport, ItalianReportAndStoredDescriptionComeBack) {
    settings.Lang = QStringLiteral("I");
    description = QStringLiteral("Fatture\nseconda riga");
    ASSERT_EQ(run({{"x", "0"}}), RunEnd::Finished);
    EXPECT_EQ(ui.report(), "Tapwise e' terminato!\n\nNumero di tasti: 1\n"
                           "Numero di eventi del Mouse: 0\n");
    EXPECT_EQ(finalDescription, "Fatture\nseconda riga");
}

TEST_F(RunReport, ExitInTheStartWindowCancelsWithAllCountsZero) {
    ui.startAnswers = {{false, 2}};
    EXPECT_EQ(run({{"a", "0"}, {"[LeftClick]", "0"}}), RunEnd::Cancelled);
    EXPECT_TRUE(keysSent().isEmpty());
    EXPECT_EQ(ui.report(), "Tapwise has been canceled!\n\nNumber of KeyStrokes: 0\n"
                           "Number of Mouse Events: 0\n");
    EXPECT_EQ(settings.NoMsg, "CANCEL");
}

TEST_F(RunReport, NormalRunShowsTheStatusWindowAfterTheStartWindow) {
    ASSERT_EQ(run({{"a", "0"}}), RunEnd::Finished);
    EXPECT_EQ(ui.log, QStringList({"main-closed", "start", "running-closed", "running",
                                   "running-closed", "window 0 " + ui.report()}));
}

TEST_F(RunReport, NoMsgRunShowsOnlyTheStatusWindow) {
    ASSERT_EQ(runNoMsg({{"a", "0"}, {"b", "0"}}), RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"a", "b"}));
    EXPECT_EQ(ui.log, QStringList({"main-closed", "running-closed", "running", "running-closed"}));
    // Half a second for the user to let go of the keys that started the run.
    EXPECT_EQ(desktop.events(), QStringList({"sleep 530ms", "keys a", "keys b"}));
}

TEST_F(RunReport, SequenceWithoutExecutableLineEndsWithAMessageOrSilently) {
    EXPECT_EQ(run({{"#a", "0"}, {"#**remark", "0"}}), RunEnd::Failed);
    EXPECT_EQ(ui.log, QStringList({"message The 'Key sequence' has no line to run: all its "
                                   "lines are not executable or remarks."}));
    ui.log.clear();
    EXPECT_EQ(runNoMsg({{"#a", "0"}}), RunEnd::Failed);
    EXPECT_TRUE(ui.log.isEmpty());
    EXPECT_TRUE(desktop.events().isEmpty());
}

TEST_F(RunReport, LinesThatCannotRunAreRefusedBeforeAnythingIsTyped) {
    EXPECT_EQ(run({{"a", "0"}, {"*If(Time;=;25:00:00;1)*", "0"}, {"*Label(1)*", "0"}}),
              RunEnd::Failed);
    EXPECT_EQ(ui.messages, QStringList({"Line 2: \"25:00:00\" is not a time \"HH:mm:ss\" "
                                        "(optionally preceded by a date)."}));
    ui.messages.clear();
    EXPECT_EQ(run({{"ExcelSheetCol#A", "0"}, {"ExcelSheetCol#b", "0"}}), RunEnd::Failed);
    EXPECT_EQ(ui.messages, QStringList({"Line 2: \"b\" does not name a worksheet column (\"A\" "
                                        "to \"ZZ\", in capital letters)."}));
    EXPECT_TRUE(desktop.events().isEmpty());
    EXPECT_TRUE(workbooks.requests().empty());
}

TEST_F(RunReport, UnreadableMouseLineStopsTheRunInsteadOfClickingAnywhere) {
    EXPECT_EQ(run({{"[PosMouse(12;x)]", "0"}, {"[LeftClick]", "0"}}), RunEnd::Failed);
    EXPECT_FALSE(actions().contains("click left"));
    EXPECT_TRUE(ui.report().contains("The mouse line \"[PosMouse(12;x)]\" does not hold"));
}

TEST_F(RunReport, MouseLinesReachTheDesktop) {
    ASSERT_EQ(runNoMsg({{"[DblClick]", "0"},
                        {"[RightClick]", "0"},
                        {"[MiddleClick]", "0"},
                        {"[PosMouse(120;455)]", "0"},
                        {"[MoveMouse(-4;0)]", "0"},
                        {"[MoveWheel(-360)]", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(actions(), QStringList({"doubleclick", "click right", "click middle",
                                      "pointer 120,455", "move -4,0", "wheel -360"}));
}

} // namespace
} // namespace tapwise
