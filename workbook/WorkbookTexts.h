#pragma once

#include "common/Result.h"

#include <QString>

#include <initializer_list>

namespace tapwise {

// Error number of every workbook failure, the one a spreadsheet program's
// automation gives for a workbook it cannot open, read or change.
inline constexpr int WorkbookErrorCode = 1004;
// Error number of a copy refused because its file exists ("File already
// exists"), so that a caller can pick another name.
inline constexpr int FileExistsErrorCode = 58;

// The workbook layer's user-visible texts; each has an English and an
// Italian form (WorkbookTexts.cpp). %1, %2... are filled in order.
enum class WorkbookMessage {
    NotFound,
    CannotRead,
    NotWorkbook,
    OldFormat,
    Damaged,
    MissingPart,
    PartUnreadable,
    BadXml,
    NoWorkbookPart,
    NoSheets,
    NotWorksheet,
    BadSharedString,
    TooLarge,
    Locked,
    OpenedReadOnly,
    FileReadOnly,
    ChangedOnDisk,
    SaveFailed,
    Closed,
    OutsideSheet,
    BadColorIndex,
    TextTooLong,
    InsideArray,
    FileReadOnlyAtOpen,
    FolderReadOnlyAtOpen,
    TooDeep,
    WrongPart,
    OutOfProportion,
    NotEnoughMemory,
    CopyExists,
    PasswordIncorrect,
    PasswordMissing,
    EncryptionUnsupported,
    RightsManaged,
    EncryptionDamaged,
    EncryptionFailed,
};

QString workbookText(WorkbookMessage message, const QString& lang,
                     std::initializer_list<QString> args = {});
Error workbookError(WorkbookMessage message, const QString& lang,
                    std::initializer_list<QString> args = {});

} // namespace tapwise
