// Conditions, labels, the counter and the time condition.

#include "RunFixture.h"

#include "engine/CompareValues.h"

#include <utility>

namespace tapwise {
namespace {

using namespace std::chrono_literals;

class Conditions : public RunFixture {};

TEST_F(Conditions, CounterRepeatsTheLinesAfterItsLabel) {
    // The Pause key seen during the first jump: the check point after it
    // names the label line, which is not run again.
    desktop.onKeys([first = true](const QString& keys, FakeDesktop& d) mutable {
        if (keys == "b" && std::exchange(first, false))
            d.pressPauseAtQuery(3); // after b's wait and key poll, in the condition's wait
    });
    ASSERT_EQ(runNoMsg({{"a", "0"},
                        {"*Label(7)*", "0"},
                        {"b", "0"},
                        {"*If(Counter;<;3;7)*", "0"},
                        {"c", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"a", "b", "b", "b", "c"}));
    ASSERT_EQ(ui.windowTexts(1).size(), 1);
    EXPECT_TRUE(ui.windowTexts(1)[0].endsWith("(Test run  -  *Label(7)*)"));
}

TEST_F(Conditions, CounterWithLimitOneNeverJumps) {
    ASSERT_EQ(runNoMsg({{"*Label(1)*", "0"}, {"b", "0"}, {"*If(Counter;<;1;1)*", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"b"}));
}

TEST_F(Conditions, MissingLabelContinuesAtTheSecondLine) {
    ASSERT_EQ(runNoMsg({{"x", "0"}, {"y", "0"}, {"*If(Counter;<;2;9)*", "0"}, {"z", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"x", "y", "y", "z"}));
}

TEST_F(Conditions, ClipboardAndWindowTitleConditions) {
    desktop.putClipboardText("  xABCy ");
    desktop.setForegroundWindow({"Old Invoices", "calc"});
    ASSERT_EQ(runNoMsg({{"*If(ClipB;Cn;abc;1)*", "0"},
                        {"a", "0"},
                        {"*Label(1)*", "0"},
                        {"*If(WinTit;NS;Invoices;2)*", "0"},
                        {"b", "0"},
                        {"*Label(2)*", "0"},
                        {"*If(WinTit;St;Invoices;3)*", "0"},
                        {"c", "0"},
                        {"*Label(3)*", "0"},
                        {"*If(False;;;4)*", "0"},
                        {"d", "0"},
                        {"*Label(4)*", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"c", "d"}));
}

TEST_F(Conditions, TimeEqualFiresOnceWithinItsMoment) {
    // The desktop's clock starts at 2024-01-02 09:00:00.
    ASSERT_EQ(runNoMsg({{"*Label(1)*", "0"}, {"a", "0"}, {"*If(Time;=;08:59:55;1)*", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"a", "a"}));
    EXPECT_FALSE(ui.log.contains("running")); // no status window with a time condition
}

TEST_F(Conditions, TimeEqualOutsideItsMomentNeverFires) {
    ASSERT_EQ(runNoMsg({{"*Label(1)*", "0"},
                        {"a", "0"},
                        {"*If(Time;=;08:59:50;1)*", "0"},
                        {"*If(Time;=;2024-01-01 09:00:00;1)*", "0"},
                        {"*If(Time;=;09:00:02;1)*", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"a"}));
    ASSERT_EQ(
        runNoMsg({{"*Label(1)*", "0"}, {"b", "0"}, {"*If(Time;=;2024-01-02 08:59:59;1)*", "0"}}),
        RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"a", "b", "b"}));
}

TEST_F(Conditions, TimeNotEqualHoldsUntilItsMomentThenFallsThroughOnce) {
    ASSERT_EQ(
        runNoMsg(
            {{"*Label(1)*", "0"}, {"a", "100"}, {"*If(Time;<>;09:00:03;1)*", "0"}, {"b", "0"}}),
        RunEnd::Finished);
    // Each "a" takes a second: 09:00:01 and 09:00:02 jump back, 09:00:03 falls through.
    EXPECT_EQ(keysSent(), QStringList({"a", "a", "a", "b"}));
}

TEST_F(Conditions, TimeOrderOperatorsCompareMoments) {
    ASSERT_EQ(runNoMsg({{"*If(Time;>;08:00:00;1)*", "0"},
                        {"a", "0"},
                        {"*Label(1)*", "0"},
                        {"*If(Time;<;08:00:00;2)*", "0"},
                        {"b", "0"},
                        {"*Label(2)*", "0"}}),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"b"}));
}

// Cn, St and NS as conditions hold them are in the runs above.
TEST(CompareValues, TextOperatorsIgnoreLetterCase) {
    EXPECT_EQ(CompareValues("", "abc", "CN"), 0);
    EXPECT_EQ(CompareValues("xABCy", "abd", "NC"), 5);
    EXPECT_EQ(CompareValues("Invoices - March", "Invoices", "St"), 5);
    EXPECT_EQ(CompareValues("Invoices - March", "Invoices", "NS"), 0);
    EXPECT_EQ(CompareValues("Editor", "Invoices", "ns"), 0);
    EXPECT_EQ(CompareValues("report.xls", "XLS", "Fn"), 5);
    EXPECT_EQ(CompareValues("report.xls", "XLS", "NF"), 0);
    EXPECT_EQ(CompareValues("xls file", "XLS", "NF"), 5);
    EXPECT_EQ(CompareValues("xls.xls", "xls", "NF"), 0);
    EXPECT_EQ(CompareValues("Abc", "aBC", "="), 5);
    EXPECT_EQ(CompareValues("5", "5.0", "="), 0);
    EXPECT_EQ(CompareValues("5", "5.0", "<>"), 5);
    EXPECT_EQ(CompareValues("a", "b", "=="), 0);
    // "ab" does not end with "abc", whatever the lengths say.
    EXPECT_EQ(CompareValues("ab", "abc", "Fn"), 0);
    EXPECT_EQ(CompareValues("ab", "abc", "NF"), 0);
}

TEST(CompareValues, OrderIsNumericForNumbersTextualOtherwise) {
    EXPECT_EQ(CompareValues("10", "9", ">"), 5);
    EXPECT_EQ(CompareValues("b10", "b9", ">"), 0);
    EXPECT_EQ(CompareValues(" 2.5", "2.50", ">="), 5);
    EXPECT_EQ(CompareValues("2", "3", "<"), 5);
    EXPECT_EQ(CompareValues("3", "3", "<="), 5);
    EXPECT_EQ(CompareValues("B", "a", ">"), 5);
    EXPECT_EQ(CompareValues("apple", "Banana", "<"), 5);
    const QDateTime nine(QDate(2024, 1, 2), QTime(9, 0));
    EXPECT_EQ(CompareValues(nine, nine.addSecs(1), "<"), 5);
    EXPECT_EQ(CompareValues(nine, nine.addSecs(1), ">"), 0);
}

} // namespace
} // namespace tapwise
