// The in-memory workbook that engine tests run rows against.
#include "workbook/MemoryWorkbook.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

// What the engine's tests read back from it (saved cells and colours, the
// requests, the failures) is checked there; these are its two states.
TEST(MemoryWorkbookTest, OpenStartsFromTheSavedStateAndSaveKeepsTheChanges) {
    MemoryWorkbookOpener opener;
    auto book = opener.add(QStringLiteral("/data/book.xlsx"));
    book->setRow(2, {QStringLiteral("Ann"), QStringLiteral("Rome")});
    EXPECT_FALSE(opener.open(QStringLiteral("/data/other.xlsx"), QString(), true));
    auto opened = opener.open(QStringLiteral("/data/book.xlsx"), QString(), true);
    ASSERT_TRUE(opened);
    Workbook& workbook = *opened.value();
    EXPECT_EQ(workbook.cellText(2, 2).valueOr({}), "Rome");
    ASSERT_TRUE(workbook.setRowColorIndex(2, GreenColorIndex));
    EXPECT_EQ(book->savedRowColor(2), NoColorIndex);
    ASSERT_TRUE(workbook.save());
    EXPECT_EQ(book->savedRowColor(2), GreenColorIndex);

    // Unsaved changes are gone when the workbook is opened again.
    ASSERT_TRUE(workbook.setCellText(5, 5, QStringLiteral("lost")));
    workbook.close();
    EXPECT_FALSE(workbook.cellText(1, 1));
    auto again = opener.open(QStringLiteral("/data/book.xlsx"), QString(), true);
    ASSERT_TRUE(again);
    EXPECT_EQ(again.value()->cellText(5, 5).valueOr({}), "");
    EXPECT_EQ(again.value()->rowColorIndex(2).valueOr(0), GreenColorIndex);
}

TEST(MemoryWorkbookTest, FailuresComeOnceWhereTheyWereAskedFor) {
    MemoryWorkbookOpener opener;
    auto book = opener.add(QStringLiteral("b.xlsx"));
    opener.failNextOpen(Error{1004, QStringLiteral("no way")});
    EXPECT_EQ(opener.open(QStringLiteral("b.xlsx"), QString(), true).error().message, "no way");
    auto opened = opener.open(QStringLiteral("b.xlsx"), QString(), true);
    ASSERT_TRUE(opened);
    Workbook& workbook = *opened.value();

    book->failNextWrite(Error{1004, QStringLiteral("disk full")});
    EXPECT_FALSE(workbook.setCellText(2, 1, QStringLiteral("x")));
    EXPECT_EQ(book->cell(2, 1), "");
    EXPECT_TRUE(workbook.setCellText(2, 1, QStringLiteral("x")));

    book->failNextSave(Error{1004, QStringLiteral("locked")});
    EXPECT_EQ(workbook.save().error().message, "locked");
    EXPECT_EQ(book->savedCell(2, 1), "");
    EXPECT_TRUE(workbook.save());
    EXPECT_EQ(book->savedCell(2, 1), "x");
    EXPECT_FALSE(workbook.setRowColorIndex(2, 99));
    EXPECT_FALSE(workbook.cellText(0, 1));
}

} // namespace
} // namespace tapwise
