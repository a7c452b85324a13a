#pragma once

#include "workbook/PackageEncryption.h"
#include "workbook/PackageWriter.h"
#include "workbook/StyleSheet.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookFile.h"
#include "workbook/Worksheet.h"
#include "workbook/XlsxPackage.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace tapwise {

// A workbook file (.xlsx, .xlsm) read and written directly: its active sheet
// is loaded when it is opened, and a save rewrites only the parts that
// changed. Nothing keeps the file open in between.
class XlsxWorkbook : public Workbook {
public:
    // The password opens an encrypted workbook, which a save encrypts again.
    static Result<std::unique_ptr<Workbook>> open(const QString& path, const QString& password,
                                                  bool readOnly, const QString& lang);

    QString fullName() const override { return file_.fullName(); }
    Result<QString> cellText(int row, int column) override;
    Status setCellText(int row, int column, const QString& text) override;
    Result<int> rowColorIndex(int row) override;
    Status setRowColorIndex(int row, int colorIndex) override;
    Status save() override;
    Status saveCopy(const QString& path) override;
    void close() override;

private:
    struct Key {
        explicit Key() = default;
    };

public:
    XlsxWorkbook(Key, const QString& path, bool readOnly, const QString& lang);

private:
    Status decrypt(const QString& password);
    PackageWriter writerFor(const QString& target, const QString& displayName,
                            QByteArray& newPackage) const;
    Status load(const XlsxPackage& package);
    Status findActiveSheet(const XlsxPackage& package, pugi::xml_node workbook,
                           const std::vector<XlsxPackage::Relationship>& relationships);
    Status loadSharedStrings(const XlsxPackage& package,
                             const std::vector<XlsxPackage::Relationship>& relationships);
    Status loadStyles(const XlsxPackage& package,
                      const std::vector<XlsxPackage::Relationship>& relationships);
    Status checkPartKinds(const XlsxPackage& package, pugi::xml_node sheetRoot) const;
    Status checkCell(int row, int column) const;
    Result<QString> valueText(pugi::xml_node cell, int row, int column);
    bool hasChanges() const;
    Result<PackageChanges> collectChanges() const;
    Status addWorkbookChanges(const XlsxPackage& package, PackageChanges& changes) const;
    Status addPackageChanges(const XlsxPackage& package, PackageChanges& changes) const;
    void markSaved();

    WorkbookFile file_;
    QString lang_;
    bool readOnly_;
    bool closed_ = false;
    QByteArray diskBytes_;
    QByteArray packageBytes_; // the zip package: diskBytes_ unless encrypted
    std::unique_ptr<PackageEncryption> encryption_;
    std::string workbookPart_;
    std::string sheetPart_;
    std::string stylesPart_;
    std::string namespaceUri_;
    std::string relationshipTypeBase_;
    bool date1904_ = false;
    bool cellsWritten_ = false;
    bool formulaRemoved_ = false;
    std::vector<QString> sharedStrings_;
    std::unique_ptr<StyleSheet> styles_;
    std::unique_ptr<Worksheet> sheet_;
};

} // namespace tapwise
