#include "workbook/XlsxWorkbook.h"

#include "common/NativePath.h"
#include "workbook/CellReference.h"
#include "workbook/CompoundFile.h"
#include "workbook/PackageEncryption.h"
#include "workbook/StringItem.h"
#include "workbook/ValueText.h"
#include "workbook/WorkbookTexts.h"
#include "workbook/XmlNames.h"

#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>

#include <sys/stat.h>

namespace tapwise {

namespace {

constexpr int MaxCellText = 32767;
const std::string ContentTypesPart = "[Content_Types].xml";

using Relationships = std::vector<XlsxPackage::Relationship>;

const XlsxPackage::Relationship* findByType(const Relationships& list, std::string_view type) {
    const auto found = std::find_if(list.begin(), list.end(), [&](const auto& relationship) {
        return !relationship.external && XlsxPackage::isType(relationship.type, type);
    });
    return found != list.end() ? &*found : nullptr;
}

std::string namespaceOf(pugi::xml_node root) {
    const std::string_view name = root.name();
    const size_t colon = name.find(':');
    const std::string attribute =
        colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(name.substr(0, colon));
    return root.attribute(attribute.c_str()).value();
}

std::string folderOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? "" : part.substr(0, slash + 1);
}

std::string unusedRelationshipId(pugi::xml_node relationships) {
    for (int n = 1;; ++n) {
        const std::string id = "rId" + std::to_string(n);
        if (!relationships.find_child_by_attribute("Id", id.c_str())) {
            return id;
        }
    }
}

bool samePartName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// Removes the first relationship of the type from the relationships of
// source; gives the part it named.
std::string dropRelationship(pugi::xml_node relationships, const std::string& source,
                             std::string_view type) {
    for (pugi::xml_node node = firstChild(relationships, "Relationship"); node;
         node = nextSibling(node, "Relationship")) {
        if (XlsxPackage::isType(node.attribute("Type").value(), type)) {
            const std::string part =
                XlsxPackage::resolveTarget(source, node.attribute("Target").value());
            relationships.remove_child(node);
            return part;
        }
    }
    return {};
}

void dropOverride(pugi::xml_node types, const std::string& part) {
    for (pugi::xml_node node = firstChild(types, "Override"); node && !part.empty();
         node = nextSibling(node, "Override")) {
        if (samePartName(node.attribute("PartName").value(), "/" + part)) {
            types.remove_child(node);
            return;
        }
    }
}

} // namespace

XlsxWorkbook::XlsxWorkbook(Key, const QString& path, bool readOnly, const QString& lang)
    : file_(path), lang_(lang), readOnly_(readOnly) {}

Result<std::unique_ptr<Workbook>> XlsxWorkbook::open(const QString& path, const QString& password,
                                                     bool readOnly, const QString& lang) {
    auto workbook = std::make_unique<XlsxWorkbook>(Key{}, path, readOnly, lang);
    const QString name = workbook->fullName();
    Result<QByteArray> bytes = workbook->file_.read(lang);
    if (!bytes) {
        return bytes.error();
    }
    workbook->diskBytes_ = std::move(bytes).value();
    const bool encrypted = CompoundFile::hasSignature(workbook->diskBytes_) &&
                           CompoundFile::isEncryptedWorkbook(workbook->diskBytes_);
    if (CompoundFile::hasSignature(workbook->diskBytes_) && !encrypted) {
        return workbookError(WorkbookMessage::OldFormat, lang, {name});
    }
    if (const auto lock = readOnly ? std::nullopt : workbook->file_.lockFile()) {
        return workbookError(WorkbookMessage::Locked, lang, {name, *lock});
    }
    // Refused before a run types anything: rows it could not colour and save
    // would be typed again by the next run.
    if (Status writable = readOnly ? Status() : workbook->file_.checkWritable(lang); !writable) {
        return writable.error();
    }
    if (Status decrypted = encrypted ? workbook->decrypt(password) : Status(); !decrypted) {
        return decrypted.error();
    }
    workbook->packageBytes_ = encrypted ? workbook->packageBytes_ : workbook->diskBytes_;
    Result<std::unique_ptr<XlsxPackage>> package =
        XlsxPackage::open(workbook->packageBytes_, name, lang);
    if (!package) {
        return package.error();
    }
    if (Status loaded = workbook->load(*package.value()); !loaded) {
        return loaded.error();
    }
    return std::unique_ptr<Workbook>(std::move(workbook));
}

// The zip package inside an encrypted file; the password is kept for saving.
Status XlsxWorkbook::decrypt(const QString& password) {
    Result<PackageEncryption::Opened> opened =
        PackageEncryption::open(diskBytes_, password, fullName(), lang_);
    if (!opened) {
        return opened.error();
    }
    packageBytes_ = std::move(opened.value().package);
    encryption_ = std::move(opened.value().encryption);
    return {};
}

// An encrypted workbook is written encrypted again; the package it now
// holds is what a later save builds on.
PackageWriter XlsxWorkbook::writerFor(const QString& target, const QString& displayName,
                                      QByteArray& newPackage) const {
    PackageWriter writer(target, displayName, lang_);
    if (encryption_) {
        writer.setSeal([this, &newPackage](const QByteArray& package) {
            newPackage = package;
            return encryption_->seal(package);
        });
    }
    return writer;
}

Status XlsxWorkbook::load(const XlsxPackage& package) {
    const Result<Relationships> root = package.relationships("");
    if (!root) {
        return root.error();
    }
    const XlsxPackage::Relationship* office = findByType(root.value(), "officeDocument");
    if (!office || !package.has(office->target)) {
        return package.damaged(workbookText(WorkbookMessage::NoWorkbookPart, lang_));
    }
    workbookPart_ = office->target;
    Result<std::unique_ptr<XmlPart>> workbook = package.readXml(workbookPart_);
    if (!workbook) {
        return workbook.error();
    }
    const pugi::xml_node workbookRoot = workbook.value()->root();
    if (!hasLocalName(workbookRoot, "workbook")) {
        return workbookError(WorkbookMessage::NotWorkbook, lang_, {fullName()});
    }
    namespaceUri_ = namespaceOf(workbookRoot);
    date1904_ = firstChild(workbookRoot, "workbookPr").attribute("date1904").as_bool();
    const Result<Relationships> relationships = package.relationships(workbookPart_);
    if (!relationships) {
        return relationships.error();
    }
    Status status = findActiveSheet(package, workbookRoot, relationships.value());
    status = status ? loadSharedStrings(package, relationships.value()) : status;
    status = status ? loadStyles(package, relationships.value()) : status;
    if (!status) {
        return status;
    }
    SheetText text;
    const auto take = [&](std::string_view piece) { text.append(piece); };
    if (Status read = package.readInPieces(sheetPart_, take); !read) {
        return read;
    }
    Result<std::unique_ptr<Worksheet>> sheet = Worksheet::load(std::move(text), sheetPart_, lang_);
    if (!sheet) {
        return package.damaged(sheet.error().message);
    }
    if (Status kinds = checkPartKinds(package, sheet.value()->root()); !kinds) {
        return kinds;
    }
    sheet_ = std::move(sheet).value();
    return {};
}

// A relationship may name the wrong part: a sheet that is the styles or the
// workbook part would be written over by the other on save (or the other way
// round), and every change lost without a word. Such a package is refused.
Status XlsxWorkbook::checkPartKinds(const XlsxPackage& package, pugi::xml_node sheetRoot) const {
    const auto wrong = [&](const char* kind, const std::string& part) {
        return package.damaged(workbookText(WorkbookMessage::WrongPart, lang_,
                                            {QLatin1String(kind), QString::fromStdString(part)}));
    };
    if (!hasLocalName(sheetRoot, "worksheet") || samePartName(sheetPart_, workbookPart_) ||
        samePartName(sheetPart_, stylesPart_)) {
        return wrong("worksheet", sheetPart_);
    }
    return {};
}

// The active tab is an index into the workbook's list of sheets.
Status XlsxWorkbook::findActiveSheet(const XlsxPackage& package, pugi::xml_node workbook,
                                     const Relationships& relationships) {
    std::vector<pugi::xml_node> sheets;
    const pugi::xml_node list = firstChild(workbook, "sheets");
    for (pugi::xml_node sheet = firstChild(list, "sheet"); sheet;
         sheet = nextSibling(sheet, "sheet")) {
        sheets.push_back(sheet);
    }
    if (sheets.empty()) {
        return package.damaged(workbookText(WorkbookMessage::NoSheets, lang_));
    }
    const pugi::xml_node view = firstChild(firstChild(workbook, "bookViews"), "workbookView");
    int active = view.attribute("activeTab").as_int(0);
    active = active >= 0 && size_t(active) < sheets.size() ? active : 0;
    const std::string id = prefixedAttribute(sheets[size_t(active)], "id").value();
    const auto found =
        std::find_if(relationships.begin(), relationships.end(),
                     [&](const auto& relationship) { return relationship.id == id; });
    if (found == relationships.end() || found->external) {
        return package.damaged(
            workbookText(WorkbookMessage::MissingPart, lang_, {QString::fromStdString(id)}));
    }
    if (!XlsxPackage::isType(found->type, "worksheet")) {
        return workbookError(WorkbookMessage::NotWorksheet, lang_, {fullName()});
    }
    sheetPart_ = found->target;
    relationshipTypeBase_ = found->type.substr(0, found->type.size() - strlen("worksheet"));
    return {};
}

Status XlsxWorkbook::loadSharedStrings(const XlsxPackage& package,
                                       const Relationships& relationships) {
    const XlsxPackage::Relationship* strings = findByType(relationships, "sharedStrings");
    if (!strings) {
        return {};
    }
    Result<std::unique_ptr<XmlPart>> part = package.readXml(strings->target);
    if (!part) {
        return part.error();
    }
    const pugi::xml_node root = part.value()->root();
    sharedStrings_.reserve(size_t(std::max(0, root.attribute("uniqueCount").as_int(0))));
    for (pugi::xml_node item = firstChild(root, "si"); item; item = nextSibling(item, "si")) {
        sharedStrings_.push_back(stringItemText(item));
    }
    return {};
}

Status XlsxWorkbook::loadStyles(const XlsxPackage& package, const Relationships& relationships) {
    if (const XlsxPackage::Relationship* styles = findByType(relationships, "styles")) {
        Result<std::unique_ptr<XmlPart>> part = package.readXml(styles->target);
        if (!part) {
            return part.error();
        }
        if (!hasLocalName(part.value()->root(), "styleSheet") ||
            samePartName(styles->target, workbookPart_)) {
            return package.damaged(
                workbookText(WorkbookMessage::WrongPart, lang_,
                             {QStringLiteral("styles"), QString::fromStdString(styles->target)}));
        }
        stylesPart_ = styles->target;
        styles_ = std::make_unique<StyleSheet>(std::move(part).value(), false);
        return {};
    }
    // A workbook without formats gets a styles part when a row is coloured.
    stylesPart_ = folderOf(workbookPart_) + "styles.xml";
    for (int n = 1; package.has(stylesPart_); ++n) {
        stylesPart_ = folderOf(workbookPart_) + "styles" + std::to_string(n) + ".xml";
    }
    Result<std::unique_ptr<XmlPart>> part =
        XmlPart::parse(StyleSheet::emptyPartXml(namespaceUri_), stylesPart_, lang_);
    if (!part) {
        return package.damaged(part.error().message);
    }
    styles_ = std::make_unique<StyleSheet>(std::move(part).value(), true);
    return {};
}

Status XlsxWorkbook::checkCell(int row, int column) const {
    if (closed_) {
        return workbookError(WorkbookMessage::Closed, lang_);
    }
    if (row < 1 || row > MaxSheetRows || column < 1 || column > MaxSheetColumns) {
        return workbookError(WorkbookMessage::OutsideSheet, lang_,
                             {QString::number(row), QString::number(column)});
    }
    return {};
}

Result<QString> XlsxWorkbook::cellText(int row, int column) {
    if (Status valid = checkCell(row, column); !valid) {
        return valid.error();
    }
    const pugi::xml_node cell = sheet_->cell(row, column);
    return cell ? valueText(cell, row, column) : QString();
}

Result<QString> XlsxWorkbook::valueText(pugi::xml_node cell, int row, int column) {
    const std::string_view type = cell.attribute("t").value();
    if (type == "inlineStr") {
        if (const pugi::xml_node item = firstChild(cell, "is")) {
            return stringItemText(item);
        }
    }
    const pugi::xml_node value = firstChild(cell, "v");
    if (!value) {
        return QString(); // empty, or a formula never calculated
    }
    const std::string_view text = value.text().get();
    if (type == "s") {
        size_t index = 0;
        const auto parsed = std::from_chars(text.data(), text.data() + text.size(), index);
        if (parsed.ec != std::errc() || index >= sharedStrings_.size()) {
            return workbookError(
                WorkbookMessage::Damaged, lang_,
                {fullName(), workbookText(WorkbookMessage::BadSharedString, lang_,
                                          {QString::fromStdString(cellName(row, column)),
                                           QString::fromUtf8(text.data(), text.size())})});
        }
        return sharedStrings_[index];
    }
    if (type == "b") {
        return booleanText(text);
    }
    if (type == "e") {
        return errorText(text);
    }
    if (type == "d") {
        return isoDateText(text);
    }
    const std::optional<double> number = type == "str" ? std::nullopt : parseNumber(text);
    if (!number) {
        return decodeEscapes(text);
    }
    const int style = cell.attribute("s").as_int(0);
    return styles_->isDateStyle(style) ? serialDateText(*number, date1904_) : numberText(*number);
}

Status XlsxWorkbook::setCellText(int row, int column, const QString& text) {
    if (Status valid = checkCell(row, column); !valid) {
        return valid;
    }
    const QString name = QString::fromStdString(cellName(row, column));
    if (text.size() > MaxCellText) {
        return workbookError(WorkbookMessage::TextTooLong, lang_,
                             {name, QString::number(text.size())});
    }
    if (sheet_->isInsideArray(row, column)) {
        return workbookError(WorkbookMessage::InsideArray, lang_, {name});
    }
    formulaRemoved_ = sheet_->setText(row, column, text) || formulaRemoved_;
    cellsWritten_ = true;
    return {};
}

// Green (or any colour) when the row's own format has it and so has every
// cell of the row; a row without a format of its own counts its cells that
// hold something.
Result<int> XlsxWorkbook::rowColorIndex(int row) {
    if (Status valid = checkCell(row, 1); !valid) {
        return valid.error();
    }
    std::optional<int> common;
    bool mixed = false;
    const auto take = [&](int style) {
        const int color = styles_->colorIndexOfStyle(style);
        mixed = mixed || (common && *common != color);
        common = color;
    };
    const std::optional<int> rowStyle = sheet_->rowStyle(row);
    if (rowStyle) {
        take(*rowStyle);
    }
    for (const Worksheet::Cell& cell : sheet_->cellsOfRow(row)) {
        const bool holdsValue =
            firstChild(cell.node, "v") || firstChild(cell.node, "is") || firstChild(cell.node, "f");
        if (rowStyle || holdsValue) {
            take(cell.node.attribute("s").as_int(0));
        }
    }
    return !common || mixed || *common == 0 ? NoColorIndex : *common;
}

Status XlsxWorkbook::setRowColorIndex(int row, int colorIndex) {
    if (Status valid = checkCell(row, 1); !valid) {
        return valid;
    }
    if (colorIndex != NoColorIndex && (colorIndex < 1 || colorIndex > 56)) {
        return workbookError(WorkbookMessage::BadColorIndex, lang_, {QString::number(colorIndex)});
    }
    // Every cell element of the row, also a second one for the same column.
    for (const Worksheet::Cell& cell : sheet_->cellsOfRow(row)) {
        const int style = cell.node.attribute("s").as_int(0);
        sheet_->setCellStyle(cell.node, styles_->styleWithColor(style, colorIndex));
    }
    sheet_->setRowStyle(row,
                        styles_->styleWithColor(sheet_->rowStyle(row).value_or(0), colorIndex));
    return {};
}

bool XlsxWorkbook::hasChanges() const {
    return sheet_->changed() || styles_->changed() || cellsWritten_;
}

Status XlsxWorkbook::save() {
    if (closed_) {
        return workbookError(WorkbookMessage::Closed, lang_);
    }
    if (readOnly_) {
        return workbookError(WorkbookMessage::OpenedReadOnly, lang_, {fullName()});
    }
    if (!hasChanges()) {
        return {};
    }
    if (const auto lock = file_.lockFile()) {
        return workbookError(WorkbookMessage::Locked, lang_, {fullName(), *lock});
    }
    const Result<QByteArray> current = file_.read(lang_);
    if (!current || current.value() != diskBytes_) {
        return workbookError(WorkbookMessage::ChangedOnDisk, lang_, {fullName()});
    }
    if (!file_.isWritable()) {
        return workbookError(WorkbookMessage::FileReadOnly, lang_, {fullName()});
    }
    const Result<PackageChanges> changes = collectChanges();
    if (!changes) {
        return changes.error();
    }
    QByteArray newPackage;
    const PackageWriter writer = writerFor(file_.realPath(), fullName(), newPackage);
    if (Status written = writer.replace(packageBytes_, changes.value()); !written) {
        return written;
    }
    // What is on disk now is what a later save compares with.
    diskBytes_ = file_.read(lang_).valueOr(QByteArray());
    packageBytes_ = encryption_ ? newPackage : diskBytes_;
    markSaved();
    return {};
}

// Built on the bytes this workbook was opened from: whatever another
// program has written to the file since stays where it is.
Status XlsxWorkbook::saveCopy(const QString& path) {
    if (closed_) {
        return workbookError(WorkbookMessage::Closed, lang_);
    }
    const QString target = QFileInfo(path).absoluteFilePath();
    struct stat existing {};
    if (::lstat(encodePath(target).constData(), &existing) == 0) {
        return Error{FileExistsErrorCode,
                     workbookText(WorkbookMessage::CopyExists, lang_, {target})};
    }
    const Result<PackageChanges> changes = collectChanges();
    if (!changes) {
        return changes.error();
    }
    QByteArray newPackage;
    const PackageWriter writer = writerFor(target, target, newPackage);
    return writer.create(packageBytes_, changes.value(), file_.realPath());
}

Result<PackageChanges> XlsxWorkbook::collectChanges() const {
    Result<std::unique_ptr<XlsxPackage>> package =
        XlsxPackage::open(packageBytes_, fullName(), lang_);
    if (!package) {
        return package.error();
    }
    PackageChanges changes;
    if (sheet_->changed()) {
        changes.parts[sheetPart_] = sheet_->content();
    }
    if (styles_->changed()) {
        changes.parts[stylesPart_] = styles_->content();
    }
    Status status = addWorkbookChanges(*package.value(), changes);
    status = status ? addPackageChanges(*package.value(), changes) : status;
    if (!status) {
        return status.error();
    }
    return changes;
}

// A written cell may feed formulas whose stored results are now stale: the
// workbook asks to be calculated anew when it is next opened.
Status XlsxWorkbook::addWorkbookChanges(const XlsxPackage& package, PackageChanges& changes) const {
    if (!cellsWritten_) {
        return {};
    }
    Result<std::unique_ptr<XmlPart>> workbook = package.readXml(workbookPart_);
    if (!workbook) {
        return workbook.error();
    }
    const pugi::xml_node calculation =
        ensureChild(workbook.value()->root(), "calcPr",
                    {"fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews",
                     "sheets", "functionGroups", "externalReferences", "definedNames", "calcPr",
                     "oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                     "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"});
    if (!calculation.attribute("fullCalcOnLoad").as_bool()) {
        setAttribute(calculation, "fullCalcOnLoad", "1");
        changes.parts[workbookPart_] = workbook.value()->content();
    }
    return {};
}

// A removed formula leaves the calculation chain naming a cell that holds
// none, which spreadsheet programs report as damage: the chain goes (it is
// rebuilt when needed). A new styles part is registered.
Status XlsxWorkbook::addPackageChanges(const XlsxPackage& package, PackageChanges& changes) const {
    const std::string relsPart = XlsxPackage::relationshipsPart(workbookPart_);
    Result<std::unique_ptr<XmlPart>> rels = package.readXml(relsPart);
    if (!rels) {
        return rels.error();
    }
    pugi::xml_node relsRoot = rels.value()->root();
    const std::string calcChain =
        formulaRemoved_ ? dropRelationship(relsRoot, workbookPart_, "calcChain") : "";
    const bool newStyles = styles_->isNew() && styles_->changed();
    if (!newStyles && calcChain.empty()) {
        return {};
    }
    Result<std::unique_ptr<XmlPart>> types = package.readXml(ContentTypesPart);
    if (!types) {
        return types.error();
    }
    pugi::xml_node typesRoot = types.value()->root();
    if (newStyles) {
        pugi::xml_node relationship =
            relsRoot.append_child(nameInScope(relsRoot, "Relationship").c_str());
        setAttribute(relationship, "Id", unusedRelationshipId(relsRoot));
        setAttribute(relationship, "Type", relationshipTypeBase_ + "styles");
        setAttribute(relationship, "Target", stylesPart_.substr(folderOf(workbookPart_).size()));
        pugi::xml_node type = typesRoot.append_child(nameInScope(typesRoot, "Override").c_str());
        setAttribute(type, "PartName", "/" + stylesPart_);
        setAttribute(type, "ContentType",
                     "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    }
    dropOverride(typesRoot, calcChain);
    if (!calcChain.empty()) {
        changes.removed.push_back(calcChain);
    }
    changes.parts[relsPart] = rels.value()->content();
    changes.parts[ContentTypesPart] = types.value()->content();
    return {};
}

void XlsxWorkbook::markSaved() {
    sheet_->markSaved();
    styles_->markSaved();
    cellsWritten_ = false;
    formulaRemoved_ = false;
}

void XlsxWorkbook::close() {
    closed_ = true;
    sheet_.reset();
    styles_.reset();
    sharedStrings_.clear();
    sharedStrings_.shrink_to_fit();
    diskBytes_.clear();
    packageBytes_.clear();
    encryption_.reset();
}

} // namespace tapwise
