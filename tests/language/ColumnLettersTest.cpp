#include "Printers.h"

#include "language/ColumnLetters.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

// Every number round-trips, the letters grow by length and then
// alphabetically, and they run from "A" to "ZZ": together that fixes every
// column's letters, since ColumnNumber takes only one or two capitals.
TEST(ColumnLetters, EveryColumnRoundTripsInOrderFromAToZZ) {
    QString previous;
    for (int column = 1; column <= MaxColumnNumber; ++column) {
        const QString letters = ColumnLetters(column);
        ASSERT_EQ(ColumnNumber(letters), column) << letters.toStdString();
        ASSERT_TRUE(letters.size() > previous.size() ||
                    (letters.size() == previous.size() && letters > previous));
        previous = letters;
    }
    EXPECT_EQ(ColumnLetters(1), "A");
    EXPECT_EQ(ColumnLetters(MaxColumnNumber), "ZZ");
    for (const int outside : {0, -1, MaxColumnNumber + 1})
        EXPECT_EQ(ColumnLetters(outside), "") << outside;
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
