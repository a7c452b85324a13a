// The small text rules of a run and the time values of time conditions.

#include "RunFixture.h"

#include "engine/TextRules.h"
#include "engine/WorkingLines.h"
#include "language/TimeValue.h"

namespace tapwise {
namespace {

TEST(TextRules, WrapTextBreaksEveryFiftyCharactersFromTheLastLineFeed) {
    EXPECT_EQ(WrapText(QString(50, u'a')), QString(50, u'a'));
    EXPECT_EQ(WrapText(QString(120, u'a')),
              QString(50, u'a') + "\n" + QString(50, u'a') + "\n" + QString(20, u'a'));
    EXPECT_EQ(WrapText(QString(30, u'a') + "\n" + QString(55, u'b')),
              QString(30, u'a') + "\n" + QString(50, u'b') + "\n" + QString(5, u'b'));
}

// 2.5 -> 2 and 3.5 -> 4 are checked through the cycle dialog's percentage.
TEST(TextRules, ScaledWaitsRoundHalvesToEven) {
    EXPECT_EQ(scaledWait(3, 50), 2);
    EXPECT_EQ(scaledWait(1, 50), 0);
    EXPECT_EQ(scaledWait(2000000000, 1000000), 2147483647);
}

TEST(TextRules, CharactersBeyondTheBasicPlaneStayWhole) {
    EXPECT_EQ(characters(QStringLiteral("a\U0001F600b")),
              QStringList({"a", QStringLiteral("\U0001F600"), "b"}));
}

TEST(WorkingLines, ColumnsLoopsLabelsAndWaitTimes) {
    const WorkingLines working = buildWorkingLines({{"#ExcelSheetCol#C", "0"},
                                                    {"ExcelSheetCol#B", "12"},
                                                    {"*If(Col#AA;=;x;3)*", "0"},
                                                    {"*BeginExcelLoop*", "0"},
                                                    {"*label(3)*", "0"},
                                                    {"*If(Time;=;09:00:00;4)*", "0"},
                                                    {"ExcelSheetCol#B", "7x"}});
    EXPECT_EQ(working.UsedColumns, QList<int>({2, 27, 2}));
    EXPECT_EQ(working.Keys.size(), 6);
    EXPECT_EQ(working.WaitTime, QList<qint32>({12, 0, 0, 0, 0, 7}));
    EXPECT_EQ(working.LabelIndex, QList<int>({0, 3, 0, 0, 0, 0}));
    EXPECT_TRUE(working.HasExcelLoop);
    EXPECT_TRUE(working.HasTimeCondition);
}

TEST(TimeValue, TimeOfDayAloneOrAfterADate) {
    const QLocale italy(QLocale::Italian, QLocale::Italy);
    EXPECT_EQ(parseTimeValue(u" 08:30:00 ", italy), (TimeValue{std::nullopt, QTime(8, 30)}));
    EXPECT_EQ(parseTimeValue(u"8:30:05", italy), (TimeValue{std::nullopt, QTime(8, 30, 5)}));
    EXPECT_EQ(parseTimeValue(u"2024-12-31 23:59:59", italy),
              (TimeValue{QDate(2024, 12, 31), QTime(23, 59, 59)}));
    EXPECT_EQ(parseTimeValue(u"31/12/24 23:59:59", italy),
              (TimeValue{QDate(2024, 12, 31), QTime(23, 59, 59)}));
    EXPECT_EQ(parseTimeValue(u"31/12/2024  07:00:00", italy),
              (TimeValue{QDate(2024, 12, 31), QTime(7, 0)}));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(parseTimeValue(u"12/31/2024 07:00:00", us),
              (TimeValue{QDate(2024, 12, 31), QTime(7, 0)}));
    const QDate today(2024, 1, 2);
    EXPECT_EQ(parseTimeValue(u"23:59:59", us)->on(today), QDateTime(today, QTime(23, 59, 59)));
}

TEST(TimeValue, RefusesWhatIsNotADateAndTime) {
    const QLocale italy(QLocale::Italian, QLocale::Italy);
    for (const char16_t* text :
         {u"", u"8:30", u"24:00:00", u"12:60:00", u"12:00:00 2024-01-01", u"2024-02-30 12:00:00",
          u"(Day) 12:00:00", u"12/31/24 12:00:00", u"12:00:00pm"})
        EXPECT_FALSE(parseTimeValue(text, italy)) << QString::fromUtf16(text).toStdString();
}

} // namespace
} // namespace tapwise
