#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tapwise {

// Where the editor puts the focus after showing a check message.
enum class CheckFocus {
    Unchanged, // the report of the rules: the list stays as it is
    Combo1,    // the key entry box: there is no line yet
    Text2,     // the description box: the description is empty
};

// Why a Key sequence cannot be saved: the text of the one message box shown
// (the application's title, an OK button) and the focus afterwards.
struct SequenceFault {
    QString message;
    CheckFocus focus = CheckFocus::Unchanged;

    bool operator==(const SequenceFault&) const = default;
};

// The rules that the editor's SvData applies before it saves, on the rows of
// the line list and the description box, with texts in the language of lang.
//
// First, alone: "Insert the keys!" when the list holds no line (a single row,
// or nothing but empty rows and the end marker row), then "Insert the
// description!" when the description is empty or blank.
//
// Then every row except those beginning with "#" is checked, line numbers
// counting all rows from 1: "*ChkExcelSheetCol*" must follow a row holding
// "EXCELSHEET"; "*BeginExcelLoop*" and "*EndExcelLoop*" may appear once each,
// need a worksheet column line and must come in that order; every If line's
// label must exist and no label twice. All findings make one report: the
// findings of the rows in row order, then the loop findings.
//
// Nothing when the Key sequence may be saved.
std::optional<SequenceFault> checkSequence(const QStringList& rows, const QString& description,
                                           const QString& lang);

} // namespace tapwise
