// Workbooks still open when the program is ended under a run's feet.
#include "app/ExitSafeWorkbooks.h"

#include "workbook/MemoryWorkbook.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

TEST(ExitSafeWorkbooks, RowsAreSavedAtExitOrKeptInACopyWhenTheSaveFails) {
    MemoryWorkbookOpener memory;
    auto book = memory.add(QStringLiteral("/data/Book1.xlsx"));
    ExitSafeWorkbookOpener opener(memory);
    auto opened = opener.open(QStringLiteral("/data/Book1.xlsx"), QString(), false);
    ASSERT_TRUE(opened);
    ASSERT_TRUE(opened.value()->setRowColorIndex(2, GreenColorIndex));
    ExitSafeWorkbookOpener::saveOpenWorkbooks();
    EXPECT_EQ(book->savedRowColor(2), GreenColorIndex);

    ASSERT_TRUE(opened.value()->setRowColorIndex(3, GreenColorIndex));
    book->failNextSave(Error{1004, "Changed on disk."});
    ExitSafeWorkbookOpener::saveOpenWorkbooks();
    EXPECT_EQ(book->savedRowColor(3), NoColorIndex);
    ASSERT_EQ(book->copies().size(), 1);
    EXPECT_TRUE(book->copies()[0].startsWith("/data/Book1 (rows sent "));
    EXPECT_EQ(book->copyRowColor(book->copies()[0], 3), GreenColorIndex);

    // A workbook its run has closed is left alone.
    opened.value()->close();
    ExitSafeWorkbookOpener::saveOpenWorkbooks();
    EXPECT_EQ(book->saveCount(), 1);
    EXPECT_EQ(book->copies().size(), 1);
}

} // namespace
} // namespace tapwise
