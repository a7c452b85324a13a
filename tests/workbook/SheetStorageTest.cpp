// The active sheet kept as text: where its rows are found, what is written
// back for rows that did not change, and changes that outlive the few rows
// kept parsed.
#include "workbook/SheetLayout.h"
#include "workbook/SheetText.h"
#include "workbook/Worksheet.h"
#include "workbook/XmlNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tapwise {
namespace {

const std::string Main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

SheetText textOf(std::string_view xml) {
    SheetText text;
    text.append(xml);
    return text;
}

std::vector<std::string> segmentTexts(const SheetText& text, const SheetLayout& layout) {
    std::vector<std::string> texts;
    for (const SheetLayout::Segment& segment : layout.segments) {
        texts.push_back(text.copy(segment.gapBegin, segment.end));
    }
    return texts;
}

std::unique_ptr<Worksheet> load(std::string_view xml) {
    auto sheet = Worksheet::load(textOf(xml), "xl/worksheets/sheet1.xml", QStringLiteral("E"));
    EXPECT_TRUE(sheet) << (sheet ? "" : sheet.error().message.toStdString());
    return sheet ? std::move(sheet).value() : nullptr;
}

std::string written(const Worksheet& sheet) {
    const std::unique_ptr<PartContent> content = sheet.content();
    std::string out(content->size(), '\0');
    EXPECT_EQ(content->read(out.data(), out.size()), out.size());
    char more = 0;
    EXPECT_EQ(content->read(&more, 1), 0U);
    return out;
}

std::string text(Worksheet& sheet, int row, int column) {
    const pugi::xml_node cell = sheet.cell(row, column);
    return firstChild(firstChild(cell, "is"), "t").text().get() + std::string("|") +
           firstChild(cell, "v").text().get();
}

std::string sheetOf(std::string_view rows) {
    return "<worksheet xmlns=\"" + Main + "\"><dimension ref=\"A1:C9\"/><sheetData>" +
           std::string(rows) + "</sheetData><pageMargins left=\"1\"/></worksheet>";
}

std::string numberedRows(int count) {
    std::string rows;
    for (int n = 1; n <= count; ++n) {
        const std::string r = std::to_string(n);
        rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + r + "</v></c><c r=\"B" + r +
                "\" t=\"inlineStr\"><is><t>b" + r + "</t></is></c></row>";
    }
    return rows;
}

TEST(SheetLayoutTest, RowsAreFoundWhateverTheirTextHolds) {
    const std::string xml =
        "<?xml version=\"1.0\"?><!-- <sheetData> --><x:worksheet xmlns:x=\"" + Main +
        "\"><x:sheetPr codeName=\"a>b\"/><x:sheetData>\n  "
        "<x:row r=\"1\" note='</x:row>'><x:c r=\"A1\"><x:v>1</x:v></x:c></x:row>\n  "
        "<!-- <x:row r=\"9\"> --><x:row r=\"2\"/><?pi <row>?>"
        "<x:row r=\"3\"><x:c r=\"A3\" t=\"inlineStr\"><x:is><x:t><![CDATA[</x:row>]]></x:t>"
        "</x:is></x:c><x:extLst><x:sheetData/></x:extLst></x:row>\n"
        "</x:sheetData><x:sheetData/></x:worksheet>";
    const SheetText text = textOf(xml);
    const SheetLayout layout = SheetLayout::scan(text);
    ASSERT_TRUE(layout.found);
    ASSERT_FALSE(layout.brokenAt);
    const std::vector<std::string> expected{
        "\n  <x:row r=\"1\" note='</x:row>'><x:c r=\"A1\"><x:v>1</x:v></x:c></x:row>",
        "\n  <!-- <x:row r=\"9\"> --><x:row r=\"2\"/>",
        "<?pi <row>?><x:row r=\"3\"><x:c r=\"A3\" t=\"inlineStr\"><x:is><x:t><![CDATA[</x:row>]]>"
        "</x:t></x:is></x:c><x:extLst><x:sheetData/></x:extLst></x:row>"};
    EXPECT_EQ(segmentTexts(text, layout), expected);
    EXPECT_EQ(text.copy(layout.segments.back().end, layout.contentEnd), "\n");
    EXPECT_TRUE(text.startsWith(layout.contentEnd, "</x:sheetData><x:sheetData/>"));

    const SheetText empty = textOf("<worksheet><sheetData/><cols/></worksheet>");
    const SheetLayout none = SheetLayout::scan(empty);
    EXPECT_TRUE(none.found);
    EXPECT_EQ(none.contentBegin, none.contentEnd);
    EXPECT_TRUE(none.segments.empty());

    for (const char* broken : {"<worksheet><sheetData><row r=\"1\">", "<worksheet><sheetData><row",
                               "<worksheet><sheetData><!-- open"}) {
        EXPECT_TRUE(SheetLayout::scan(textOf(broken)).brokenAt) << broken;
    }
}

TEST(SheetLayoutTest, TextIsSearchedAndCopiedAcrossItsBlocks) {
    SheetText text;
    const std::string filler(SheetText::BlockSize - 3, 'a');
    text.append(filler);
    text.append("<row/>"); // starts three bytes before the second block
    text.append(std::string(10, 'b'));
    EXPECT_EQ(text.size(), SheetText::BlockSize + 13);
    EXPECT_EQ(text.find('<', 0), SheetText::BlockSize - 3);
    EXPECT_EQ(text.find("row/>", 0), SheetText::BlockSize - 2);
    EXPECT_EQ(text.find('/', SheetText::BlockSize + 2), SheetText::npos);
    EXPECT_EQ(text.copy(SheetText::BlockSize - 4, SheetText::BlockSize + 4), "a<row/>b");
}

TEST(WorksheetTextTest, RowsThatDidNotChangeAreWrittenAsTheyWereRead) {
    const std::string rows =
        "\n <row r=\"1\"  spans=\"1:2\" ><c r=\"A1\" t='inlineStr'><is><t>a &#65; b</t></is></c>"
        "</row>\n <row r=\"2\"><c r=\"A2\"><v>2</v></c></row>\n <row r=\"3\"><c r=\"A3\"/></row>\n";
    auto sheet = load(sheetOf(rows));
    ASSERT_TRUE(sheet);
    EXPECT_FALSE(sheet->changed());
    EXPECT_EQ(text(*sheet, 1, 1), "a A b|");
    sheet->setCellStyle(sheet->cell(2, 1), 4);
    EXPECT_TRUE(sheet->changed());
    EXPECT_EQ(written(*sheet),
              sheetOf("\n <row r=\"1\"  spans=\"1:2\" ><c r=\"A1\" t='inlineStr'><is><t>a &#65; "
                      "b</t></is></c></row>\n <row r=\"2\"><c r=\"A2\" s=\"4\"><v>2</v></c></row>"
                      "\n <row r=\"3\"><c r=\"A3\"/></row>\n"));
}

TEST(WorksheetTextTest, ChangesOutliveTheRowsKeptParsed) {
    auto sheet = load(sheetOf(numberedRows(300)));
    ASSERT_TRUE(sheet);
    for (int row = 1; row <= 300; row += 3) {
        sheet->setRowStyle(row, 5);
        for (const Worksheet::Cell& cell : sheet->cellsOfRow(row)) {
            sheet->setCellStyle(cell.node, 5);
        }
        EXPECT_EQ(text(*sheet, 300 - row, 2), "b" + std::to_string(300 - row) + "|");
    }
    sheet->setText(10, 2, QStringLiteral("ten"));
    sheet->setText(299, 3, QStringLiteral("new & <cell>"));

    auto again = load(written(*sheet));
    ASSERT_TRUE(again);
    for (Worksheet* each : {sheet.get(), again.get()}) {
        for (int row = 1; row <= 300; ++row) {
            const bool coloured = row % 3 == 1;
            EXPECT_EQ(each->rowStyle(row), coloured ? std::optional<int>(5) : std::nullopt) << row;
            EXPECT_EQ(each->cell(row, 1).attribute("s").as_int(0), coloured ? 5 : 0) << row;
        }
        EXPECT_EQ(text(*each, 10, 2), "ten|");
        EXPECT_EQ(text(*each, 299, 3), "new & <cell>|");
        EXPECT_EQ(text(*each, 298, 2), "b298|");
    }
}

TEST(WorksheetTextTest, NewRowsStandInOrderAmongTheOldOnes) {
    auto sheet = load(sheetOf("<row r=\"2\"/><row r=\"5\"/>\n<row r=\"9\"/>\n"));
    ASSERT_TRUE(sheet);
    for (int row : {7, 6, 1, 12, 3, 11}) {
        sheet->setRowStyle(row, 1);
    }
    const std::string expected =
        "<row r=\"1\" s=\"1\" customFormat=\"1\"/><row r=\"2\"/><row r=\"3\" s=\"1\" "
        "customFormat=\"1\"/><row r=\"5\"/><row r=\"6\" s=\"1\" customFormat=\"1\"/><row r=\"7\" "
        "s=\"1\" customFormat=\"1\"/>\n<row r=\"9\"/><row r=\"11\" s=\"1\" customFormat=\"1\"/>"
        "<row r=\"12\" s=\"1\" customFormat=\"1\"/>\n";
    EXPECT_EQ(written(*sheet), sheetOf(expected));

    // A sheet without rows, or without sheetData, gets them where they belong.
    auto empty = load("<worksheet><sheetData/></worksheet>");
    auto bare = load("<worksheet><dimension ref=\"A1\"/><pageMargins/></worksheet>");
    ASSERT_TRUE(empty && bare);
    for (Worksheet* each : {empty.get(), bare.get()}) {
        each->setText(2, 2, QStringLiteral("x"));
    }
    EXPECT_EQ(written(*empty), "<worksheet><sheetData><row r=\"2\"><c r=\"B2\" t=\"inlineStr\">"
                               "<is><t>x</t></is></c></row></sheetData></worksheet>");
    EXPECT_EQ(written(*bare),
              "<worksheet><dimension ref=\"A1:B2\"/><sheetData><row r=\"2\"><c r=\"B2\" "
              "t=\"inlineStr\"><is><t>x</t></is></c></row></sheetData><pageMargins/></worksheet>");
}

TEST(WorksheetTextTest, ASharedFormulaIsHandedOverToARowNotKeptParsed) {
    std::string rows = "<row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:A20\" si=\"0\">B1*2</f>"
                       "<v>2</v></c></row>";
    for (int n = 2; n <= 20; ++n) {
        const std::string r = std::to_string(n);
        rows +=
            "<row r=\"" + r + "\"><c r=\"A" + r + "\"><f t=\"shared\" si=\"0\"/><v>2</v></c></row>";
    }
    auto sheet = load(sheetOf(rows));
    ASSERT_TRUE(sheet);
    for (int row = 20; row >= 8; --row) {
        sheet->cell(row, 1); // fills the rows kept parsed
    }
    EXPECT_TRUE(sheet->setText(1, 1, QStringLiteral("x")));
    const pugi::xml_node heir = firstChild(sheet->cell(2, 1), "f");
    EXPECT_STREQ(heir.text().get(), "B2*2");
    EXPECT_STREQ(heir.attribute("ref").value(), "A2:A20");
    EXPECT_EQ(text(*sheet, 1, 1), "x|");
}

std::string nested(int depth) {
    std::string inner;
    for (int i = 0; i < depth; ++i) {
        inner = "<r>" + inner + "</r>";
    }
    return sheetOf("<row r=\"1\"><c><is>" + inner + "</is></c></row>");
}

// The row nests below worksheet, sheetData, row, c and is.
TEST(WorksheetTextTest, DamagedOrTooDeepRowsAreRefusedAtOpen) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {sheetOf(numberedRows(2000) + "<row r=\"2001\"><c r=\"A1\"></row>"), "not valid XML"},
        {sheetOf(numberedRows(3)).substr(0, 300), "not valid XML"},
        {nested(996), "more than 1000 levels deep"},
        {nested(995), ""},
    };
    for (const auto& [xml, reason] : cases) {
        auto sheet = Worksheet::load(textOf(xml), "xl/worksheets/sheet1.xml", QStringLiteral("E"));
        EXPECT_EQ(bool(sheet), reason.empty()) << reason;
        const std::string message = sheet ? "" : sheet.error().message.toStdString();
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        EXPECT_TRUE(reason.empty() || message.find("xl/worksheets/sheet1.xml") != std::string::npos)
            << message;
    }
}

} // namespace
} // namespace tapwise
