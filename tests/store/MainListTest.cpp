#include "store/MainList.h"

#include <gtest/gtest.h>

using namespace tapwise;

TEST(SequenceName, IsTheFirstLineOfTheDescription) {
    EXPECT_EQ(SequenceName(QStringLiteral("  Daily  ")), QStringLiteral("  Daily  "));
    EXPECT_EQ(SequenceName(QStringLiteral("  Daily \r\nsecond\r\nthird")), QStringLiteral("Daily"));
    EXPECT_EQ(SequenceName(QStringLiteral("\r\nDaily")), QStringLiteral("\r\n"));
    EXPECT_EQ(SequenceName(QStringLiteral("D\r\n")), QStringLiteral("D"));
    // Only blanks are trimmed, and only CR LF ends a line.
    EXPECT_EQ(SequenceName(QStringLiteral("\tDaily\r\nx")), QStringLiteral("\tDaily"));
    EXPECT_EQ(SequenceName(QStringLiteral("a\nb")), QStringLiteral("a\nb"));
}

TEST(MainListRow, PadsTheDescriptionAndEndsInThePosition) {
    const QString row = MainListRow(QStringLiteral("Sample"), 5);
    EXPECT_EQ(row, QStringLiteral("Sample") + QString(124 + 10, ' ') + QStringLiteral("5"));

    const QString longRow = MainListRow(QString(150, 'x'), 123456);
    EXPECT_EQ(longRow, QString(130, 'x') + QString(10, ' ') + QStringLiteral("123456"));

    const QString twoLines = MainListRow(QStringLiteral("Daily\r\nrest"), 40);
    EXPECT_TRUE(twoLines.startsWith(QStringLiteral("Daily\r\nrest ")));
    EXPECT_EQ(twoLines.size(), 142);
}

TEST(SelectSequenceRow, FindsTheRowByTheNumberAfterItsLastSpace) {
    const QStringList rows = {MainListRow(QStringLiteral("Run 40 times"), 5),
                              MainListRow(QStringLiteral("40"), 61),
                              MainListRow(QStringLiteral("Other"), 40)};
    EXPECT_EQ(RowPosition(rows[0]), 5);
    EXPECT_EQ(SelectSequenceRow(rows, 40), 2);
    EXPECT_EQ(SelectSequenceRow(rows, 61), 1);
    EXPECT_EQ(SelectSequenceRow(rows, 6), -1);
    EXPECT_EQ(SelectSequenceRow({}, 5), -1);
}

TEST(MainList, KnowsTheNameOfEveryRow) {
    const QString descriptions[] = {
        QStringLiteral("  Daily  \r\nsecond"),
        QStringLiteral("\r\nstarts with a break"),
        QStringLiteral("  spaced  "),
        QString(130, 'n') + QStringLiteral("\r\n"),
        QString(131, 'L') + QStringLiteral("\r\nrest"),
        QString(200, 'w'),
    };
    MainList list;
    for (qint32 i = 0; i < 6; ++i)
        list.append(descriptions[i], 5 + 100 * i);
    ASSERT_EQ(list.size(), 6);
    // Names that run past a row's 130 characters are kept whole.
    for (qint32 i = 0; i < 6; ++i)
        EXPECT_EQ(list.name(i), SequenceName(descriptions[i])) << i;
}
