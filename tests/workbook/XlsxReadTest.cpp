// Workbooks written by openpyxl and packed by hand, read as a run reads them.
#include "WorkbookFixtures.h"

#include "workbook/PartSizeGuard.h"
#include "workbook/WorkbookTexts.h"
#include "workbook/XlsxWorkbookOpener.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

using test::WorkbookFixtures;

class XlsxReadTest : public ::testing::Test {
protected:
    std::unique_ptr<Workbook> open(const QString& path, bool readOnly = true) {
        auto workbook = opener_.open(path, QString(), readOnly);
        EXPECT_TRUE(workbook) << workbook.error().message.toStdString();
        return workbook ? std::move(workbook).value() : nullptr;
    }
    Error refusal(const QString& path, const QString& lang = QStringLiteral("E")) {
        XlsxWorkbookOpener opener(lang);
        auto workbook = opener.open(path, QStringLiteral("secret"), false);
        EXPECT_FALSE(workbook);
        return workbook ? Error{} : workbook.error();
    }
    QString text(Workbook& workbook, int row, int column) {
        auto cell = workbook.cellText(row, column);
        EXPECT_TRUE(cell) << cell.error().message.toStdString();
        return cell.valueOr(QStringLiteral("<error>"));
    }

    WorkbookFixtures fixtures_;
    XlsxWorkbookOpener opener_{QStringLiteral("E")};
};

TEST_F(XlsxReadTest, EveryKindOfValueAsText) {
    auto workbook = open(fixtures_.make("types"));
    ASSERT_TRUE(workbook);
    const std::vector<std::pair<int, QString>> expected{
        {2, QStringLiteral("Città €")},
        {3, QStringLiteral("   ")},
        {4, QStringLiteral("a\nb")},
        {5, QStringLiteral("007")},
        {6, QStringLiteral("7")},
        {7, QStringLiteral("1234.5")},
        {8, QStringLiteral("0.3")},
        {9, QStringLiteral("1E+20")},
        {10, QStringLiteral("1E-05")},
        {11, QStringLiteral("1.23456789012346E+17")},
        {12, QStringLiteral("-2.5")},
        {13, QStringLiteral("True")},
        {14, QStringLiteral("False")},
        {15, QStringLiteral("2024-03-01 10:20:30")},
        {16, QStringLiteral("2024-03-01")},
        {17, QStringLiteral("10:20:30")},
        {18, QStringLiteral("Error 2042")},
        {19, QStringLiteral("Error 2007")},
        {20, QString()}, // a formula never calculated
        {21, QStringLiteral("0.25")},
        {22, QStringLiteral("2023-03-15")},
        {23, QStringLiteral("12")},
    };
    for (const auto& [row, value] : expected) {
        EXPECT_EQ(text(*workbook, row, 2), value) << "row " << row;
    }
    EXPECT_EQ(text(*workbook, 1, 1), "Kind");
    EXPECT_EQ(text(*workbook, 25, 2), "");
    EXPECT_EQ(text(*workbook, 2, 3), "");
    EXPECT_EQ(text(*workbook, 1048576, 16384), "");
}

TEST_F(XlsxReadTest, PrefixedPartsUnnumberedRowsRichTextAndThe1904System) {
    auto workbook = open(fixtures_.make("prefixed"));
    ASSERT_TRUE(workbook);
    // The active tab is the second sheet; the first holds "wrong sheet".
    EXPECT_EQ(text(*workbook, 1, 1), "Hello World"); // runs joined, phonetic run left out
    EXPECT_EQ(text(*workbook, 1, 2), "AB_x0043_\r");
    EXPECT_EQ(text(*workbook, 1, 3), "");
    EXPECT_EQ(text(*workbook, 1, 4), "   ");
    EXPECT_EQ(text(*workbook, 2, 1), "");
    const QStringList row3{
        "1904-01-02", "5", "inline", "from formula", "2024-02-29 13:45:00", "2027-03-16 12:00:00"};
    for (int column = 1; column <= row3.size(); ++column) {
        EXPECT_EQ(text(*workbook, 3, column), row3[column - 1]) << "column " << column;
    }
    // Row 4 has no number: it follows row 3, beyond the sheet's stated size.
    EXPECT_EQ(text(*workbook, 4, 1), "True");
    EXPECT_EQ(text(*workbook, 4, 2), "Error 2023");
    EXPECT_EQ(text(*workbook, 4, 3), "1904-01-02 12:00:00");
    EXPECT_EQ(text(*workbook, 4, 26), "second");
    EXPECT_EQ(text(*workbook, 4, 4), "");
}

// Stored formula results are read in XlsxSaveTest (the "calc" workbook).
TEST_F(XlsxReadTest, StrictNamespace) {
    auto strict = open(fixtures_.make("strict"));
    ASSERT_TRUE(strict);
    EXPECT_EQ(text(*strict, 1, 1), "42");
    EXPECT_EQ(text(*strict, 1, 2), "strict");
}

TEST_F(XlsxReadTest, CellsOutsideTheSheetAndClosedWorkbooksFail) {
    auto workbook = open(fixtures_.make("strict"));
    ASSERT_TRUE(workbook);
    EXPECT_FALSE(workbook->cellText(0, 1));
    EXPECT_FALSE(workbook->cellText(1, 16385));
    EXPECT_FALSE(workbook->rowColorIndex(1048577));
    EXPECT_EQ(workbook->cellText(1, 0).error().code, WorkbookErrorCode);
    workbook->close();
    EXPECT_FALSE(workbook->cellText(1, 1));
    EXPECT_FALSE(workbook->save());
}

TEST_F(XlsxReadTest, UnreadableFilesAreRefusedWithANumberAndADescription) {
    const QString text = fixtures_.path("notes.xlsx");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some notes\n");
    file.close();
    const std::vector<std::pair<QString, QString>> cases{
        {text, "file format or file extension is not valid"},
        {fixtures_.path("missing.xlsx"), "could not be found"},
        {fixtures_.folder(), "cannot be read"},
        {fixtures_.make("plainzip"), "holds no workbook part"},
        {fixtures_.make("badsheet"), "xl/worksheets/sheet1.xml is not valid XML"},
        {fixtures_.make("encrypted"), "encrypted in a way that cannot be opened"},
        {fixtures_.make("oldformat"), "old Excel format (.xls)"},
        {fixtures_.make("chartsheet"), "is not a worksheet"},
    };
    for (const auto& [path, reason] : cases) {
        const QByteArray before = WorkbookFixtures::bytes(path);
        const QDateTime changed = QFileInfo(path).lastModified();
        const Error error = refusal(path);
        EXPECT_EQ(error.code, WorkbookErrorCode) << path.toStdString();
        EXPECT_TRUE(error.message.contains(reason)) << error.message.toStdString();
        EXPECT_EQ(WorkbookFixtures::bytes(path), before);
        EXPECT_EQ(QFileInfo(path).lastModified(), changed);
    }
    EXPECT_TRUE(refusal(fixtures_.make("encrypted"), QStringLiteral("I"))
                    .message.contains("crittografato in un modo"));
}

// Each of these opened once and lost a run's work later: a crash while a
// cell was written, a save that "succeeded" into the wrong part, or
// gigabytes of memory taken by a small file.
TEST_F(XlsxReadTest, WorkbooksThatWouldCrashOrLoseWritesAreRefusedAtOpen) {
    const std::vector<std::pair<const char*, QString>> cases{
        {"deepnest", "xl/worksheets/sheet1.xml nests its elements more than 1000 levels deep"},
        {"sheetisstyles", "the worksheet part xl/styles.xml is not a part of that kind"},
        {"sheetisworkbook", "the worksheet part xl/workbook.xml is not a part of that kind"},
        {"stylesissheet", "the styles part xl/worksheets/sheet1.xml is not a part of that kind"},
        {"bomb", "would unpack to 82 MB from 245 KB"},
    };
    for (const auto& [fixture, reason] : cases) {
        const Error error = refusal(fixtures_.make(fixture));
        EXPECT_EQ(error.code, WorkbookErrorCode) << fixture;
        EXPECT_TRUE(error.message.contains(reason)) << error.message.toStdString();
    }
}

TEST_F(XlsxReadTest, PartSizesAreJudgedByProportionAndFreeMemory) {
    constexpr uint64_t MB = uint64_t(1) << 20;
    // Small parts always unpack; a 200 MB sheet of 20 MB is a normal big sheet.
    EXPECT_EQ(judgePartSize(60 * MB, 1024, 100 * MB), PartSize::Fine);
    EXPECT_EQ(judgePartSize(200 * MB, 20 * MB, 8192 * MB), PartSize::Fine);
    EXPECT_EQ(judgePartSize(200 * MB, 20 * MB, std::nullopt), PartSize::Fine);
    // 475 KB unpacking to 200 MB, 2.4 MB to 1 GiB.
    EXPECT_EQ(judgePartSize(200 * MB, 475 * 1024, 8192 * MB), PartSize::OutOfProportion);
    EXPECT_EQ(judgePartSize(1024 * MB, 2400 * 1024, 65536 * MB), PartSize::OutOfProportion);
    EXPECT_EQ(judgePartSize(200 * MB, 0, 8192 * MB), PartSize::OutOfProportion);
    // Parsed, a part takes about ten times its size; kept as text, twice.
    EXPECT_EQ(judgePartSize(200 * MB, 20 * MB, 1500 * MB), PartSize::TooLargeForMemory);
    EXPECT_EQ(judgePartSize(600 * MB, 60 * MB, 1500 * MB, TextBytesPerByte), PartSize::Fine);
    EXPECT_EQ(judgePartSize(600 * MB, 60 * MB, 1100 * MB, TextBytesPerByte),
              PartSize::TooLargeForMemory);
}

} // namespace
} // namespace tapwise
