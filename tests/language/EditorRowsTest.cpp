#include "Printers.h"

#include "language/EditorRows.h"
#include "language/LineSyntax.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

QString padded(const QString& keys) {
    return keys.leftJustified(KeysWidth, u' ');
}

TEST(EditorRows, RowsOfStoredAndEnteredLines) {
    EXPECT_EQ(storedLineRow({"x", "10"}), padded("x") + "10");
    EXPECT_EQ(storedLineRow({"*Pause*", "0"}), padded("*Pause*"));
    EXPECT_EQ(storedLineRow({QString(50, u'k'), "5"}), QString(50, u'k') + " 5");
    EXPECT_EQ(enteredLineRow("x", "10"), padded("x") + "10    ");
    EXPECT_EQ(enteredLineRow("x", "10", UpdatedWaitWidth), padded("x") + "10        ");
    EXPECT_EQ(enteredLineRow(QString(50, u'k'), "1234567"), QString(44, u'k') + "123456");
    EXPECT_EQ(enteredLineRow("*Label(3)*", "10"), padded("*Label(3)*"));
    EXPECT_EQ(rowWaitTime(padded("x") + "25", "7"), "25");
    EXPECT_EQ(rowWaitTime(padded("x") + "25    ", "7"), "7");
    EXPECT_EQ(rowWaitTime(padded("*Pause*"), "7"), "7");
}

TEST(EditorRows, DecodingStopsAtTheEndMarkerAndSkipsEmptyRows) {
    const QStringList rows = {padded("x") + "10", "", padded("{ENTER}") + "5    ", "<more...>",
                              padded("y") + "3"};
    EXPECT_EQ(decodeRows(rows), Lines({{"x", "10"}, {"{ENTER}", "5"}}));
    EXPECT_TRUE(decodeRows({"<ready>"}).isEmpty());
    EXPECT_TRUE(decodeRows({"", "   ", "<more...>"}).isEmpty());
    // Keys with blanks keep them; rows without a blank keep their Keys.
    EXPECT_EQ(decodeRows({padded(":John Smith") + "10"}), Lines({{":John Smith", "10"}}));
    EXPECT_EQ(decodeRows({QString(44, u'k') + "10"}), Lines({{QString(44, u'k'), "10"}}));
    EXPECT_EQ(decodeRows({padded("x")}), Lines({{"x", "0"}}));
}

TEST(EditorRows, EveryKindOfLineSurvivesLoadingAndSaving) {
    const Lines lines = {{"x", "10"},
                         {"#", "3"},
                         {"*", "4"},
                         {"#*", "5"}, // saved as a command it would swallow its WaitTime
                         {"Shift+Ctrl+Alt+{DELETE}", "0"},
                         {":John Smith", "250"},
                         {"#[PosMouse(120;455)]", "20"},
                         {"ExcelSheetCol#IV", "2"},
                         {"*If(Counter;<;" + QString(24, u'9') + ";999)*", "0"},
                         {"#**log in first", "0"},
                         {"*Pause*check the total", "0"},
                         // Longer than the Keys column (written by other programs).
                         {QString(50, u'k'), "5"},
                         {":" + QString("one two ").repeated(6) + "end", "7"}};
    QStringList rows;
    for (const Line& line : lines)
        rows << storedLineRow(line);
    rows << MoreRow.toString();
    EXPECT_EQ(decodeRows(rows), lines);
}

TEST(EditorRows, ToggleSwitchesTheKeysAndKeepsTheWaitTime) {
    const QString row = padded("[LeftClick]") + "10";
    const auto off = toggleRowNotExecutable(row);
    ASSERT_TRUE(off);
    EXPECT_EQ(*off, padded("#[LeftClick]") + "10");
    EXPECT_EQ(toggleRowNotExecutable(*off), row);
    EXPECT_EQ(toggleRowNotExecutable(padded("#") + "5"), padded("##") + "5");
    EXPECT_EQ(decodeRows({*toggleRowNotExecutable(padded("*") + "8")}), Lines({{"#*", "8"}}));
    // "#" before "**" would make a remark, never switched on again, whose
    // WaitTime is dropped at saving.
    const QString stars = padded("**x") + "7";
    EXPECT_EQ(decodeRows({*toggleRowNotExecutable(stars)}), Lines({{"##**x", "7"}}));
    EXPECT_EQ(toggleRowNotExecutable(*toggleRowNotExecutable(stars)), stars);
    const QString longest = "*If(Counter;<;" + QString(24, u'9') + ";999)*";
    EXPECT_EQ(toggleRowNotExecutable(longest), "#" + longest.left(43));
    for (const char* unchanged : {"#**remark", "<more...>", "<ready>", ""})
        EXPECT_FALSE(toggleRowNotExecutable(unchanged)) << unchanged;
}

TEST(EditorRows, FindIntoListboxAndRowFinderAgree) {
    const QStringList rows = {
        padded("*Label(7)*"), padded("*Label(É)*"), padded("*label(é)*"), "",
        padded("x") + "1",    "<more...>",          padded("*LABEL(ß)*"), padded("*Label(7)*")};
    EXPECT_EQ(FindIntoListbox(rows, "*LABEL(7)*"), 0);
    EXPECT_EQ(FindIntoListbox(rows, "*label(é)*"), 1);
    EXPECT_EQ(FindIntoListbox(rows, "*LABEL(8)*"), -1);
    const RowFinder finder(rows);
    for (const char* text : {"*LABEL(7)*", "*label(é)*", "*LABEL(É)*", "", "<MORE...>",
                             "*label(ß)*", "*LABEL(SS)*", "X", "x 1", "*Label(8)*"})
        EXPECT_EQ(finder.find(text), FindIntoListbox(rows, text)) << text;
}

} // namespace
} // namespace tapwise
