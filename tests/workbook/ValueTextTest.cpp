// The pure rules of the workbook layer: value texts, date formats, text
// escapes, references and formula shifting.
#include "workbook/ValueText.h"
#include "workbook/CellReference.h"
#include "workbook/FormulaShift.h"
#include "workbook/NumberFormats.h"
#include "workbook/StringItem.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

// The everyday values (1234.5, 0.3, 1E+20, dates, errors, booleans) are
// read from real workbooks in XlsxReadTest; these are the edges.
TEST(ValueTextTest, NumbersKeepFifteenSignificantDigits) {
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(0.0001), "0.0001");
    EXPECT_EQ(numberText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberText(999999999999999.9), "1E+15");
    EXPECT_EQ(numberText(1234567890123456789.0), "1.23456789012346E+18");
    EXPECT_EQ(numberText(1.5e-7), "1.5E-07");
    EXPECT_EQ(numberText(1e100), "1E+100");
}

TEST(ValueTextTest, SerialsBecomeDatesTimesOrBoth) {
    EXPECT_EQ(serialDateText(45000.5, false), "2023-03-15 12:00:00");
    EXPECT_EQ(serialDateText(0, false), "00:00:00");
    // Rounded to the second, also across midnight.
    EXPECT_EQ(serialDateText(45000.9999999, false), "2023-03-16");
    // The 1900 system's first days and its 29 February 1900.
    EXPECT_EQ(serialDateText(1, false), "1900-01-01");
    EXPECT_EQ(serialDateText(59, false), "1900-02-28");
    EXPECT_EQ(serialDateText(60, false), "1900-02-29");
    EXPECT_EQ(serialDateText(61, false), "1900-03-01");
    EXPECT_EQ(serialDateText(2958465, false), "9999-12-31");
    EXPECT_EQ(serialDateText(43538, true), "2023-03-15");
    // What no date can show stays a number.
    EXPECT_EQ(serialDateText(-1, false), "-1");
    EXPECT_EQ(serialDateText(2958466, false), "2958466");
}

TEST(ValueTextTest, IsoDatesErrorsAndStoredNumbers) {
    EXPECT_EQ(isoDateText("2024-02-29T00:00:00Z"), "2024-02-29");
    EXPECT_EQ(isoDateText("2024-02-29"), "2024-02-29");
    EXPECT_EQ(isoDateText("2024-02-29T10:20:30.6"), "2024-02-29 10:20:31");
    EXPECT_EQ(isoDateText("10:20:30"), "10:20:30");
    EXPECT_EQ(isoDateText("soon"), "soon");
    EXPECT_EQ(errorText("#NULL!"), "Error 2000");
    EXPECT_EQ(errorText("#WHAT"), "#WHAT");
    EXPECT_EQ(parseNumber("1.5E+3"), 1500.0);
    EXPECT_EQ(parseNumber(" 7 "), 7.0);
    EXPECT_FALSE(parseNumber("7x"));
    EXPECT_FALSE(parseNumber(""));
}

TEST(NumberFormatsTest, DateFormatsAreToldFromOthers) {
    for (int id : {14, 22, 45, 47}) {
        EXPECT_TRUE(isBuiltinDateFormat(id)) << id;
    }
    for (int id : {0, 13, 23, 44, 48}) {
        EXPECT_FALSE(isBuiltinDateFormat(id)) << id;
    }
    for (const char* code : {"dd/mm/yyyy", "yyyy-mm-dd h:mm:ss", "[h]:mm", "mmm", "h:mm AM/PM",
                             "[$-410]dddd d mmmm yyyy", "[Red]d-m-y"}) {
        EXPECT_TRUE(isDateFormatCode(code)) << code;
    }
    for (const char* code : {"General", "0.00", "#,##0", "0%", "0.00E+00", "0 \"days\"", "[Red]0.0",
                             "@", "0\\h", "_-* #,##0_-", "#,##0 \"mq\";[Red]-0"}) {
        EXPECT_FALSE(isDateFormatCode(code)) << code;
    }
}

TEST(StringItemTest, EscapesDecodeAndEncodeBackToTheSameText) {
    EXPECT_EQ(decodeEscapes("_x0041_B"), "AB");
    EXPECT_EQ(decodeEscapes("a_x000D__x000A_b"), "a\r\nb");
    EXPECT_EQ(decodeEscapes("_x005F_x0041_"), "_x0041_");
    EXPECT_EQ(decodeEscapes("_x00G1_ and _x41_"), "_x00G1_ and _x41_");
    EXPECT_EQ(decodeEscapes("_xD83D__xDE00_"), QString::fromUtf8("\xF0\x9F\x98\x80"));

    EXPECT_EQ(encodeEscapes("_x0041_"), "_x005F_x0041_");
    EXPECT_EQ(encodeEscapes(QStringLiteral("a\rb\x01")), "a_x000D_b_x0001_");
    EXPECT_EQ(encodeEscapes(QStringLiteral("tab\tline\n")), "tab\tline\n");
    const QString lone = QString(QChar(char16_t(0xD800))) + u'x';
    EXPECT_EQ(encodeEscapes(lone), "_xD800_x");
    for (const QString& text : {QStringLiteral("_x0041_"), QStringLiteral("a\r\n\x02z"),
                                QStringLiteral("Città €"), QStringLiteral("__x_x12345_"), lone}) {
        EXPECT_EQ(decodeEscapes(encodeEscapes(text)), text) << text.toStdString();
    }
}

TEST(CellReferenceTest, ReferencesAndNames) {
    EXPECT_EQ(CellReference::parse("A1").column, 1);
    EXPECT_EQ(CellReference::parse("AB12").column, 28);
    EXPECT_EQ(CellReference::parse("AB12").row, 12);
    EXPECT_EQ(CellReference::parse("xfd1048576").column, 16384);
    EXPECT_EQ(CellReference::parse("XFE1").column, 0);
    EXPECT_EQ(CellReference::parse("A1048577").row, 0);
    EXPECT_EQ(CellReference::parse("A1B").column, 0);
    EXPECT_EQ(CellReference::parse("").row, 0);
    EXPECT_EQ(cellName(12, 28), "AB12");
    EXPECT_EQ(columnName(16384), "XFD");
    EXPECT_EQ(columnName(26), "Z");
    EXPECT_EQ(columnName(27), "AA");
}

TEST(FormulaShiftTest, RelativeReferencesMoveAbsoluteOnesStay) {
    EXPECT_EQ(shiftFormula("A1+$A$1", 1, 0), "A2+$A$1");
    EXPECT_EQ(shiftFormula("SUM(A1:B2)*$C1+D$1", 2, 1), "SUM(B3:C4)*$C3+E$1");
    EXPECT_EQ(shiftFormula("Sheet2!A1+'My Sheet'!B2", 1, 1), "Sheet2!B2+'My Sheet'!C3");
    EXPECT_EQ(shiftFormula("\"A1\"&A1", 1, 0), "\"A1\"&A2");
    EXPECT_EQ(shiftFormula("SUM(A:A)+SUM(1:1)", 1, 1), "SUM(B:B)+SUM(2:2)");
    EXPECT_EQ(shiftFormula("LOG10(A1)+1E5+TRUE", 1, 0), "LOG10(A2)+1E5+TRUE");
    EXPECT_EQ(shiftFormula("Table1[Col1]+A1", 1, 0), "Table1[Col1]+A2");
    EXPECT_EQ(shiftFormula("A1", -1, 0), "#REF!");
    // Names that merely end in digits are no references.
    EXPECT_EQ(shiftFormula("Amount1*A1+Total2024", 1, 0), "Amount1*A2+Total2024");
    EXPECT_EQ(shiftFormula("A2000000+A1", 1, 0), "A2000000+A2");
}

} // namespace
} // namespace tapwise
