#include "editor/RowEditing.h"
#include "language/LineSyntax.h"

#include <gtest/gtest.h>

namespace tapwise {

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const RowList& list, std::ostream* os) {
    *os << "selected " << list.selected << ":";
    for (const QString& row : list.rows)
        *os << "\n  [" << row.toStdString() << "]";
}

namespace {

QString keysField(const QString& keys) {
    return keys.leftJustified(KeysWidth, u' ');
}
// A row placed in the editor.
QString entered(const QString& keys, const QString& waitTime = "0") {
    return keysField(keys) + waitTime.leftJustified(6, u' ');
}
// A row loaded from the store.
QString stored(const QString& keys, const QString& waitTime) {
    return keysField(keys) + waitTime;
}

const QString More = "<more...>";

TEST(PlacingLines, KeysTypedOneAfterAnotherFormConsecutiveLines) {
    RowList list = newRowList();
    EXPECT_FALSE(placeLine(list, "   ", "5"));
    EXPECT_EQ(list, newRowList());
    EXPECT_TRUE(placeLine(list, "a", "5"));
    EXPECT_TRUE(placeLine(list, "{ENTER}", "1234567"));
    EXPECT_TRUE(placeLine(list, "*Pause*look", "5"));
    EXPECT_TRUE(placeLine(list, QString(50, u'k'), "5"));
    EXPECT_EQ(list, (RowList{{entered("a", "5"), entered("{ENTER}", "123456"),
                              keysField("*Pause*look"), entered(QString(44, u'k'), "5"), More},
                             4}));
}

TEST(PlacingLines, OverAnExistingRowTheRowKeepsItsOwnWaitTime) {
    RowList list{{stored("x", "250"), entered("y", "3"), "", keysField("*Label(2)*"),
                  stored("z", "12345678"), More},
                 0};
    placeLine(list, "a", "7");
    EXPECT_EQ(list.rows[0], entered("a", "250"));
    list.selected = 1; // built in the editor: ends in blanks, takes the box's
    placeLine(list, "b", "7");
    EXPECT_EQ(list.rows[1], entered("b", "7"));
    list.selected = 2; // an empty row
    placeLine(list, "c", "7");
    EXPECT_EQ(list.rows[2], entered("c", "7"));
    list.selected = 3; // a command row has no WaitTime of its own
    placeLine(list, "d", "7");
    EXPECT_EQ(list.rows[3], entered("d", "7"));
    list.selected = 4; // a long stored WaitTime is kept whole
    placeLine(list, "e", "7");
    EXPECT_EQ(list.rows[4], keysField("e") + "12345678");
    EXPECT_EQ(list.rows.size(), 6);
    EXPECT_EQ(linesToSave(list),
              Lines({{"a", "250"}, {"b", "7"}, {"c", "7"}, {"d", "7"}, {"e", "12345678"}}));
}

TEST(ListButtons, InsertAndDeleteRows) {
    RowList list{{entered("a"), entered("b"), More}, 1};
    insertEmptyRow(list);
    EXPECT_EQ(list, (RowList{{entered("a"), "", entered("b"), More}, 1}));
    deleteSelected(list);
    deleteSelected(list);
    EXPECT_EQ(list, (RowList{{entered("a"), More}, 1}));
    EXPECT_FALSE(canDeleteSelected(list));
    EXPECT_FALSE(canDeleteSelected(newRowList()));
    // A line whose Keys are "<" is a line, not a marker.
    EXPECT_TRUE(canDeleteSelected({{entered("<"), More}, 0}));
    EXPECT_TRUE(canDeleteSelected({{"", More}, 0}));
}

TEST(WaitTimeBox, TypingAndLeaving) {
    for (const QString valid : {"", "  ", "0", "12", "12.9", "999999"}) {
        EXPECT_TRUE(waitTimeTextValid(valid)) << valid.toStdString();
    }
    for (const QString invalid : {"-5", "1-", "abc", "1,5", "inf", "9e9999", "1e7"}) {
        EXPECT_FALSE(waitTimeTextValid(invalid)) << invalid.toStdString();
        EXPECT_EQ(waitTimeOnLeave(invalid), std::nullopt);
        EXPECT_EQ(waitTimeOfBox(invalid), "0");
    }
    EXPECT_EQ(waitTimeOnLeave(" "), "0");
    EXPECT_EQ(waitTimeOnLeave("12.9"), "12");
    EXPECT_EQ(waitTimeOnLeave("007"), "7");
    EXPECT_EQ(waitTimeOfBox("1e3"), "1000");
}

TEST(KeyBoxEntries, OfferedColumnsAndPicks) {
    const QStringList entries = keyBoxEntries(10);
    ASSERT_EQ(entries.size(), 15 + 20);
    EXPECT_EQ(entries.mid(15, 2), QStringList({"ExcelSheetCol#A", "*PutClipBtoCol#A*"}));
    EXPECT_EQ(entries.last(), "*PutClipBtoCol#J*");

    const std::pair<const char*, PickAction> picks[] = {
        {"[LeftClick]", PickAction::Place},
        {"[PosMouse ...]", PickAction::MouseValues},
        {"[MoveMouse ...]", PickAction::MouseValues},
        {"*Pause*", PickAction::Remark},
        {"*Chk ...*", PickAction::CheckDialog},
        {"*If ...*", PickAction::IfDialog},
        {"*Label ...*", PickAction::Label},
        {"#**Remark ...", PickAction::Remark},
        {":<string>", PickAction::Remark},
        {"*ChkExcelSheetCol*", PickAction::ChkExcelSheet},
        {"*BeginExcelLoop*", PickAction::Place},
        {"ExcelSheetCol#C", PickAction::Place},
        {"*PutClipBtoCol#C*", PickAction::Place},
        {"  ", PickAction::Nothing},
    };
    for (const auto& [entry, action] : picks)
        EXPECT_EQ(pickAction(entry), action) << entry;

    EXPECT_FALSE(chkExcelAllowed({{entered("x"), More}, 0}));
    EXPECT_FALSE(chkExcelAllowed({{entered("x"), More}, 1}));
    EXPECT_FALSE(chkExcelAllowed({{entered("#ExcelSheetCol#A"), More}, 1}));
    EXPECT_TRUE(chkExcelAllowed({{entered("ExcelSheetCol#A"), More}, 1}));
}

RowList fiveLines(int selected) {
    return {{entered("1"), entered("2"), entered("3"), entered("4"), entered("5"), More}, selected};
}

TEST(Dragging, MovesAndCopiesAboveTheDropRow) {
    RowList list = fiveLines(1);
    EXPECT_TRUE(dropRow(list, 4, false));
    EXPECT_EQ(
        list,
        (RowList{{entered("1"), entered("5"), entered("2"), entered("3"), entered("4"), More}, 1}));
    list = fiveLines(1);
    EXPECT_TRUE(dropRow(list, 4, true));
    EXPECT_EQ(list.rows, QStringList({entered("1"), entered("5"), entered("2"), entered("3"),
                                      entered("4"), entered("5"), More}));
    list = fiveLines(4);
    EXPECT_TRUE(dropRow(list, 0, false));
    EXPECT_EQ(
        list,
        (RowList{{entered("2"), entered("3"), entered("4"), entered("1"), entered("5"), More}, 3}));
    // Onto the end marker: the row goes last.
    list = fiveLines(5);
    EXPECT_TRUE(dropRow(list, 0, false));
    EXPECT_EQ(list.rows[4], entered("1"));
    EXPECT_EQ(list.rows[5], More);
}

TEST(Dragging, ChangesNothingOntoTheNextRowOrFromAMarker) {
    RowList list = fiveLines(3);
    EXPECT_FALSE(dropRow(list, 2, false));
    EXPECT_EQ(list, fiveLines(3));
    list = fiveLines(0);
    EXPECT_FALSE(dropRow(list, 5, false)); // the end marker would hide the lines below it
    EXPECT_FALSE(dropRow(list, 5, true));
    EXPECT_EQ(list, fiveLines(0));
    EXPECT_FALSE(dropRow(list, 0, false));
}

TEST(ShiftClick, SwitchesLinesOffAndOn) {
    RowList list{
        {stored("a", "250"), entered("#"), keysField("*Pause*x"), keysField("#**note"), "", More},
        0};
    EXPECT_TRUE(toggleSelected(list));
    EXPECT_EQ(list.rows[0], stored("#a", "250"));
    EXPECT_TRUE(toggleSelected(list));
    EXPECT_EQ(list.rows[0], stored("a", "250"));
    list.selected = 1;
    EXPECT_TRUE(toggleSelected(list));
    EXPECT_EQ(list.rows[1], entered("##"));
    list.selected = 2;
    EXPECT_TRUE(toggleSelected(list));
    EXPECT_EQ(linesToSave({{list.rows[2]}, 0}), Lines({{"#*Pause*x", "0"}}));
    for (int unchanged : {3, 4, 5}) {
        list.selected = unchanged;
        EXPECT_FALSE(toggleSelected(list)) << unchanged;
    }
    // The 44th character drops off; the WaitTime stays where it is.
    RowList full{{QString(44, u'k') + "12"}, 0};
    toggleSelected(full);
    EXPECT_EQ(full.rows[0], "#" + QString(43, u'k') + "12");
}

TEST(CtrlClick, GivesTheLineTheBoxWaitTime) {
    RowList list{{stored("a", "250"), keysField("*Label(1)*"), stored("#a", "3"), More}, 0};
    EXPECT_EQ(updateSelectedWaitTime(list, "75"), WaitUpdate::Updated);
    EXPECT_EQ(list.rows[0], keysField("a") + "75        ");
    list.selected = 1;
    EXPECT_EQ(updateSelectedWaitTime(list, "75"), WaitUpdate::Nothing);
    list.selected = 2;
    EXPECT_EQ(updateSelectedWaitTime(list, "75"), WaitUpdate::NotExecutable);
    list.selected = 3;
    EXPECT_EQ(updateSelectedWaitTime(list, "75"), WaitUpdate::Nothing);
    EXPECT_EQ(list.rows[2], stored("#a", "3"));
}

TEST(Gestures, LeaveKeysWiderThanTheirColumnWhole) {
    const QString wide = QString(50, u'k') + " 5"; // as loaded from the store
    RowList list{{wide, More}, 0};
    EXPECT_FALSE(toggleSelected(list));
    EXPECT_EQ(updateSelectedWaitTime(list, "9"), WaitUpdate::Nothing);
    EXPECT_EQ(valuesUpdateOf(":" + QString(50, u'k') + " 5").entry, ValuesEntry::Nothing);
    EXPECT_EQ(list.rows[0], wide);
}

TEST(AltClick, ChoosesTheEntryAndItsStartingText) {
    const std::tuple<QString, ValuesEntry, QString> cases[] = {
        {stored("[PosMouse(100;200)]", "5"), ValuesEntry::MouseValues, "[PosMouse.100;200)]"},
        {stored("[MoveWheel(3)]", "5"), ValuesEntry::MouseValues, "[MoveWheel.3;]"},
        {stored("[MoveMouse(-4;2)]", "5"), ValuesEntry::MouseValues, "[MoveMouse.-4;2)]"},
        {keysField("*Chk(;;5;Saved)*"), ValuesEntry::CheckDialog, "*Chk(;;5;Saved)*"},
        {keysField("*If(True;;;2)*"), ValuesEntry::IfDialog, "*If(True;;;2)*"},
        {keysField("*Label(7)*"), ValuesEntry::Label, "*Label(7)*"},
        {keysField("#**a remark"), ValuesEntry::Remark, "#**a remark"},
        {keysField("*Pause*look"), ValuesEntry::Remark, "*Pause*look"},
        {stored(":John", "10"), ValuesEntry::Remark, ":John"},
        {stored("#[PosMouse(1;2)]", "5"), ValuesEntry::NotExecutable, "#[PosMouse(1;2)]"},
        {stored("[LeftClick]", "5"), ValuesEntry::Nothing, ""},
        {stored("(", "5"), ValuesEntry::Nothing, ""},
        {stored(":", "5"), ValuesEntry::Nothing, ""},
        {More, ValuesEntry::Nothing, ""},
    };
    for (const auto& [row, entry, keys] : cases) {
        const ValuesUpdate update = valuesUpdateOf(row);
        EXPECT_EQ(update.entry, entry) << row.toStdString();
        EXPECT_EQ(trimBlanks(update.editorKeys), keys) << row.toStdString();
    }
}

TEST(Saving, DescriptionLineBreaksAreStoredAsCrLf) {
    EXPECT_EQ(descriptionToSave("Daily\nsecond"), "Daily\r\nsecond");
    EXPECT_EQ(descriptionToSave("Daily\r\nsecond"), "Daily\r\nsecond");
    EXPECT_EQ(descriptionToShow("Daily\r\nsecond"), "Daily\nsecond");
    EXPECT_EQ(loadedRowList({{"a", "5"}, {"*Label(1)*", "0"}}),
              (RowList{{stored("a", "5"), keysField("*Label(1)*"), More}, 2}));
}

} // namespace
} // namespace tapwise
