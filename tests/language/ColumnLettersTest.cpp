#include "Printers.h"

#include "language/ColumnLetters.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

TEST(ColumnLetters, KnownColumnsAndNumbersWithoutLetters) {
    const std::pair<int, const char*> cases[] = {{1, "A"},   {26, "Z"},   {27, "AA"},  {52, "AZ"},
                                                 {53, "BA"}, {256, "IV"}, {702, "ZZ"}, {0, ""},
                                                 {-1, ""},   {703, ""}};
    for (const auto& [column, letters] : cases)
        EXPECT_EQ(ColumnLetters(column), letters) << column;
}

TEST(ColumnLetters, EveryColumnRoundTrips) {
    QString previous;
    for (int column = 1; column <= MaxColumnNumber; ++column) {
        const QString letters = ColumnLetters(column);
        ASSERT_EQ(ColumnNumber(letters), column) << letters.toStdString();
        // Headers grow like a spreadsheet's: by length, then alphabetically.
        ASSERT_TRUE(letters.size() > previous.size() ||
                    (letters.size() == previous.size() && letters > previous));
        previous = letters;
    }
    EXPECT_EQ(ColumnLetters(EditorColumnCount), "IV");
}

TEST(ColumnNumber, ReadsUpToTheFirstSemicolonAndRefusesAnythingButLetters) {
    EXPECT_EQ(ColumnNumber(u"C;St;X;4)*"), 3);
    EXPECT_EQ(ColumnNumber(u"IV;"), 256);
    for (const char16_t* text : {u"", u";A", u"c", u"aa", u"Ab", u"ABC", u"A1", u"1", u"@", u"[",
                                 u"C*", u"C ", u" C", u"É"})
        EXPECT_EQ(ColumnNumber(text), 0) << QString::fromUtf16(text).toStdString();
}

} // namespace
} // namespace tapwise
