#include "Printers.h"

#include "language/LineFields.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

TEST(LineFields, CommandFieldsLieBetweenFirstOpenAndLastCloseBracket) {
    EXPECT_EQ(CommandFields("*Chk(;ClipB;0;Total )*"), QStringList({"", "ClipB", "0", "Total "}));
    EXPECT_EQ(CommandFields("*If(Time;=;(Day) 12:00:00;9)*"),
              QStringList({"Time", "=", "(Day) 12:00:00", "9"}));
    EXPECT_TRUE(CommandFields("*Pause*").isEmpty());
    EXPECT_TRUE(CommandFields("*If)x(*").isEmpty());
}

TEST(LineFields, ColumnLettersOfTheLinesThatNameAColumn) {
    EXPECT_EQ(worksheetColumnLetters("ExcelSheetCol"), "");
    EXPECT_EQ(clipboardColumnLetters("*PutClipBtoCol#IV*"), "IV");
    EXPECT_EQ(clipboardColumnLetters("*PutClipBtoCol#"), "");
    EXPECT_EQ(clipboardColumnLetters("*PutClipBtoCol"), "");
}

TEST(LineFields, MouseNumbers) {
    EXPECT_EQ(mouseValues("[MoveMouse( -4 ;+0)]"), (MouseValues{-4, 0}));
    EXPECT_EQ(mouseValues("[PosMouse(2.5;3.5)]"), (MouseValues{2, 4}));
    EXPECT_EQ(mouseValues("[PosMouse(-2147483648;2147483647)]"),
              (MouseValues{-2147483647 - 1, 2147483647}));
    for (const char* keys : {"[PosMouse(120)]", "[PosMouse(a;1)]", "[PosMouse(;1)]",
                             "[PosMouse(2147483648;0)]", "[PosMouse]"})
        EXPECT_FALSE(mouseValues(keys)) << keys;
    for (const char* keys : {"[MoveWheel()]", "[MoveWheel(inf)]", "[MoveWheel)3(]"})
        EXPECT_FALSE(wheelAmount(keys)) << keys;
}

} // namespace
} // namespace tapwise
