#include "workbook/XlsxWorkbookOpener.h"

#include "workbook/XlsxWorkbook.h"

namespace tapwise {

XlsxWorkbookOpener::XlsxWorkbookOpener(QString lang) : lang_(std::move(lang)) {}

// A password only opens an encrypted workbook; an unencrypted workbook
// opens whatever is given.
Result<std::unique_ptr<Workbook>> XlsxWorkbookOpener::open(const QString& path,
                                                           const QString& password, bool readOnly) {
    return XlsxWorkbook::open(path, password, readOnly, lang_);
}

} // namespace tapwise
