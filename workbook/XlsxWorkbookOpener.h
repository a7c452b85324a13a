#pragma once

#include "workbook/Workbook.h"

#include <QString>

namespace tapwise {

// Opens .xlsx and .xlsm workbooks from disk; errors come in the language
// lang ("I" Italian, anything else English).
class XlsxWorkbookOpener : public WorkbookOpener {
public:
    explicit XlsxWorkbookOpener(QString lang);

    Result<std::unique_ptr<Workbook>> open(const QString& path, const QString& password,
                                           bool readOnly) override;
    bool needsPassword(const QString& path) override;

private:
    QString lang_;
};

} // namespace tapwise
