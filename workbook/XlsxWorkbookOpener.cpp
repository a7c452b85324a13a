#include "workbook/XlsxWorkbookOpener.h"

#include "workbook/XlsxWorkbook.h"

namespace tapwise {

XlsxWorkbookOpener::XlsxWorkbookOpener(QString lang) : lang_(std::move(lang)) {}

// A password only opens an encrypted workbook, which is refused for now with
// a message that says so; an unencrypted workbook opens whatever is given.
Result<std::unique_ptr<Workbook>>
XlsxWorkbookOpener::open(const QString& path, const QString& /*password*/, bool readOnly) {
    return XlsxWorkbook::open(path, readOnly, lang_);
}

} // namespace tapwise
