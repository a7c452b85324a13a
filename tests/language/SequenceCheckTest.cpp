#include "Printers.h"

#include "language/EditorRows.h"
#include "language/SequenceCheck.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

// Rows as the editor holds them, the end marker row last; "" is an empty row.
QStringList listOf(std::initializer_list<const char*> keys) {
    QStringList rows;
    for (const char* k : keys)
        rows << (*k ? enteredLineRow(k, "10") : QString());
    rows << MoreRow.toString();
    return rows;
}

QString reportOf(const QStringList& rows, const QString& lang = "E") {
    const auto fault = checkSequence(rows, "Daily", lang);
    if (fault) {
        EXPECT_EQ(fault->focus, CheckFocus::Unchanged);
    }
    return fault ? fault->message : QString();
}

TEST(SequenceCheck, PreliminaryMessagesComeAlone) {
    const SequenceFault keys{"Insert the keys!", CheckFocus::Combo1};
    EXPECT_EQ(checkSequence({"<ready>"}, "New1", "E"), keys);
    EXPECT_EQ(checkSequence({"", "   ", "<more...>"}, "", "E"), keys);
    EXPECT_EQ(checkSequence({"<ready>"}, "New1", "I"),
              (SequenceFault{"Inserisci le 'keys'!", CheckFocus::Combo1}));
    const QStringList rows = listOf({"*ChkExcelSheetCol*"});
    EXPECT_EQ(checkSequence(rows, "  ", "E"),
              (SequenceFault{"Insert the description!", CheckFocus::Text2}));
    EXPECT_EQ(checkSequence(rows, "\r\n", "I"),
              (SequenceFault{"Inserisci la descrizione!", CheckFocus::Text2}));
}

TEST(SequenceCheck, ASoundSequencePasses) {
    EXPECT_FALSE(
        checkSequence(listOf({"*Label(1)*", "ExcelSheetCol#A", "*ChkExcelSheetCol*",
                              "*BeginExcelLoop*", "{TAB}", "*EndExcelLoop*", "*if(Counter;<;3;1)*",
                              ":Label(1)", ":If x;9)", "#*If(True;;;9)*"}),
                      "Daily", "E"));
    EXPECT_EQ(reportOf(listOf({"ExcelSheetCol#A", "*EndExcelLoop*"})), "");
    // The row above a column check only has to hold the word, switched off or not.
    EXPECT_EQ(reportOf(listOf({"ExcelSheetCol#A", "#ExcelSheetCol#B", "*ChkExcelSheetCol*"})), "");
}

TEST(SequenceCheck, SwitchedOffRowsCountForNothingButTheirLineNumber) {
    EXPECT_EQ(reportOf(listOf({"", "#*Label(7)*", "*If(ClipB;Cn;x;7)*"})),
              "Line 3 'Label' do not exists: 7\n");
    EXPECT_EQ(reportOf(listOf({"#ExcelSheetCol#A", "*BeginExcelLoop*"})),
              "Line 2  '*BeginExcelLoop*' can not to exists without 'ExcelSheetCol#'\n");
}

TEST(SequenceCheck, OneReportRowFindingsFirstInBothLanguages) {
    const QStringList rows =
        listOf({"*EndExcelLoop*", "*ChkExcelSheetCol*", "*If(True;;;5)*", "*BeginExcelLoop*",
                "*Label(2)*", "*Label(2)*", "*BeginExcelLoop*", "*EndExcelLoop*"});
    EXPECT_EQ(reportOf(rows, "E"),
              "Line 2  '*ChkExcelSheetCol*' must to be after 'ExcelSheetCol#'\n"
              "Line 3 'Label' do not exists: 5\n"
              "Line 6 'Label' already exists: 2\n"
              "Line 7  '*BeginExcelLoop*' already exists\n"
              "Line 8  '*EndExcelLoop*' already exists\n"
              "Line 7  '*BeginExcelLoop*' can not to exists without 'ExcelSheetCol#'\n"
              "Line 8  '*EndExcelLoop*' can not to exists without 'ExcelSheetCol#'\n");
    EXPECT_EQ(reportOf(rows, "I"),
              "Line 2  '*ChkExcelSheetCol*' deve essere dopo 'ExcelSheetCol#'\n"
              "Line 3 'Label' non esistente: 5\n"
              "Line 6 'Label' gia' esistente: 2\n"
              "Line 7  '*BeginExcelLoop*' gia' esiste\n"
              "Line 8  '*EndExcelLoop*' gia' esiste\n"
              "Line 7  '*BeginExcelLoop*' non puo' esistere senza 'ExcelSheetCol#'\n"
              "Line 8  '*EndExcelLoop*' non puo' esistere senza 'ExcelSheetCol#'\n");
    EXPECT_EQ(reportOf(listOf({"ExcelSheetCol#A", "*EndExcelLoop*", "*BeginExcelLoop*"})),
              "Line 3  '*BeginExcelLoop*' must to be before '*EndExcelLoop*'\n");
    EXPECT_EQ(reportOf(listOf({"*EndExcelLoop*", "*BeginExcelLoop*"}), "I"),
              "Line 2  '*BeginExcelLoop*' non puo' esistere senza 'ExcelSheetCol#'\n"
              "Line 1  '*EndExcelLoop*' non puo' esistere senza 'ExcelSheetCol#'\n"
              "Line 2  '*BeginExcelLoop*' deve essere prima di '*EndExcelLoop*'\n");
}

} // namespace
} // namespace tapwise
