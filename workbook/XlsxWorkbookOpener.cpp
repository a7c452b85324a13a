#include "workbook/XlsxWorkbookOpener.h"

#include "workbook/PackageEncryption.h"
#include "workbook/XlsxWorkbook.h"

#include <QFile>

namespace tapwise {

XlsxWorkbookOpener::XlsxWorkbookOpener(QString lang) : lang_(std::move(lang)) {}

// A password only opens an encrypted workbook; an unencrypted workbook
// opens whatever is given.
Result<std::unique_ptr<Workbook>> XlsxWorkbookOpener::open(const QString& path,
                                                           const QString& password, bool readOnly) {
    return XlsxWorkbook::open(path, password, readOnly, lang_);
}

// A file that cannot be read needs no password: opening it says why.
bool XlsxWorkbookOpener::needsPassword(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    return PackageEncryption::needsPassword(file.readAll());
}

} // namespace tapwise
