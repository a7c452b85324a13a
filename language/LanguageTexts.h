#pragma once

#include "common/Lang.h"

namespace tapwise::languagetexts {

// Messages of the check made before a Key sequence is saved.
inline constexpr BilingualText InsertKeys{"Insert the keys!", "Inserisci le 'keys'!"};
inline constexpr BilingualText InsertDescription{"Insert the description!",
                                                 "Inserisci la descrizione!"};

// Each finding of the report is "Line ", the line number, one of these texts
// (the label texts followed by the label number) and a line feed.
inline constexpr char LinePrefix[] = "Line ";
inline constexpr BilingualText ChkAfterCol{
    "  '*ChkExcelSheetCol*' must to be after 'ExcelSheetCol#'",
    "  '*ChkExcelSheetCol*' deve essere dopo 'ExcelSheetCol#'"};
inline constexpr BilingualText BeginNeedsCol{
    "  '*BeginExcelLoop*' can not to exists without 'ExcelSheetCol#'",
    "  '*BeginExcelLoop*' non puo' esistere senza 'ExcelSheetCol#'"};
inline constexpr BilingualText EndNeedsCol{
    "  '*EndExcelLoop*' can not to exists without 'ExcelSheetCol#'",
    "  '*EndExcelLoop*' non puo' esistere senza 'ExcelSheetCol#'"};
inline constexpr BilingualText BeginBeforeEnd{
    "  '*BeginExcelLoop*' must to be before '*EndExcelLoop*'",
    "  '*BeginExcelLoop*' deve essere prima di '*EndExcelLoop*'"};
inline constexpr BilingualText BeginTwice{"  '*BeginExcelLoop*' already exists",
                                          "  '*BeginExcelLoop*' gia' esiste"};
inline constexpr BilingualText EndTwice{"  '*EndExcelLoop*' already exists",
                                        "  '*EndExcelLoop*' gia' esiste"};
inline constexpr BilingualText LabelMissing{" 'Label' do not exists: ", " 'Label' non esistente: "};
inline constexpr BilingualText LabelTwice{" 'Label' already exists: ", " 'Label' gia' esistente: "};

} // namespace tapwise::languagetexts
