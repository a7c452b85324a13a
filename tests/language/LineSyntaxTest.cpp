#include "Printers.h"

#include "language/KeyTranslation.h"
#include "language/LineSyntax.h"

#include <gtest/gtest.h>

#include <vector>

namespace tapwise {
namespace {

TEST(LineSyntax, KindsInTheOrderOfARun) {
    const std::pair<LineKind, std::vector<const char*>> cases[] = {
        {LineKind::NotExecutable, {"#*Pause*", "#**remark", "##"}},
        {LineKind::Keystrokes, {"#", "[", "[]", ":", "*", "*Unknown*", "Ctrl+c"}},
        {LineKind::WorksheetColumn, {"ExcelSheetCol#C"}},
        {LineKind::Mouse, {"[LeftClick]", "[x]"}},
        {LineKind::CharacterString, {":J"}},
        {LineKind::Pause, {"*pause*", "*PAUSE*Hello"}},
        {LineKind::Check, {"*Chk(0;0;5;Inv)*"}},
        {LineKind::Condition, {"*If(True;;;4)*"}},
        {LineKind::Label, {"*Label(7)*"}},
        {LineKind::WorksheetCommand,
         {"*ChkExcelSheetCol*", "*BeginExcelLoop*", "*endexcelloop*", "*PutClipBtoCol#B*"}},
    };
    for (const auto& [kind, texts] : cases) {
        for (const char* keys : texts) {
            EXPECT_EQ(lineKind(keys), kind) << keys;
            // What the dispatcher sees after translation keeps its kind.
            if (kind != LineKind::WorksheetColumn && kind != LineKind::NotExecutable &&
                kind != LineKind::Keystrokes) {
                EXPECT_EQ(lineKind(KeysToSend(keys)), kind) << keys;
            }
        }
    }
}

TEST(LineSyntax, CommandLinesAndRemarks) {
    for (const char* keys : {"*Pause*", "#**x", "#*Label(3)*", "*Pause*                 "})
        EXPECT_TRUE(isCommandLine(keys)) << keys;
    // The single key "*", on or off, keeps its WaitTime.
    for (const char* keys : {"*", "#*", "*                 ", "[LeftClick]", "#[LeftClick]"})
        EXPECT_FALSE(isCommandLine(keys)) << keys;
    EXPECT_TRUE(isRemark("#**log in first"));
    EXPECT_FALSE(isRemark("#*Pause*"));
}

TEST(LineSyntax, MouseEventsByTheKeywordAtTheSecondCharacter) {
    const std::pair<const char*, MouseEvent> cases[] = {
        {"[RightClick]", MouseEvent::RightClick},   {"[leftclick]", MouseEvent::LeftClick},
        {"[MiddleClick]", MouseEvent::MiddleClick}, {"[DblClick]", MouseEvent::DblClick},
        {"[PosMouse(1;2)]", MouseEvent::PosMouse},  {"[MoveMouse(-4;0)]", MouseEvent::MoveMouse},
        {"[MoveWheel(-3)]", MouseEvent::MoveWheel}, {"[x]", MouseEvent::None},
        {"[ LeftClick]", MouseEvent::None},         {"LeftClick", MouseEvent::None},
    };
    for (const auto& [keys, event] : cases)
        EXPECT_EQ(mouseEvent(keys), event) << keys;
}

TEST(LineSyntax, MarkingSwitchesALineOffAndBack) {
    EXPECT_EQ(markNotExecutable("[LeftClick]"), "#[LeftClick]");
    EXPECT_EQ(unmarkNotExecutable("#[LeftClick]"), "[LeftClick]");
    EXPECT_EQ(markNotExecutable("#"), "##");
    EXPECT_EQ(unmarkNotExecutable("##"), "#");
    EXPECT_EQ(markNotExecutable("#a"), "#a");
    EXPECT_EQ(unmarkNotExecutable("a"), "a");
    EXPECT_EQ(unmarkNotExecutable("#**remark"), "#**remark");
    // "#" in front of "**" would make a remark that never switches on again.
    for (const QString keys : {"**", "**x y"}) {
        const QString marked = markNotExecutable(keys);
        EXPECT_TRUE(isNotExecutable(marked) && !isRemark(marked)) << marked.toStdString();
        EXPECT_EQ(unmarkNotExecutable(marked), keys);
    }
    EXPECT_EQ(markNotExecutable("**" + QString(42, u'a')), "##**" + QString(40, u'a'));
}

TEST(LineSyntax, MarkingALineOf44CharactersDropsItsLastCharacter) {
    const QString longest = "*If(Counter;<;" + QString(24, u'9') + ";999)*";
    ASSERT_EQ(longest.size(), KeysWidth);
    const QString marked = markNotExecutable(longest);
    EXPECT_EQ(marked, "#" + longest.left(43));
    EXPECT_TRUE(isNotExecutable(marked));
    EXPECT_EQ(markNotExecutable(QString(43, u'a')), "#" + QString(43, u'a'));
    // A longer text (never written by the editor) loses no more than that.
    EXPECT_EQ(markNotExecutable(QString(50, u'a')), "#" + QString(49, u'a'));
}

} // namespace
} // namespace tapwise
