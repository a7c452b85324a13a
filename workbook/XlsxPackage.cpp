#include "workbook/XlsxPackage.h"

#include "workbook/PartSizeGuard.h"
#include "workbook/WorkbookTexts.h"
#include "workbook/XmlNames.h"

#include <zip.h>

#include <algorithm>

namespace tapwise {

namespace {

// No part of a workbook this program can handle comes near this size; a
// larger one is more likely a damaged or hostile file.
constexpr zip_uint64_t MaxPartSize = zip_uint64_t(1) << 30;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        return (c | 0x20) - 'a' + 10;
    }
    return -1;
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
            hexDigit(text[i + 2]) >= 0) {
            out += char(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

XlsxPackage::XlsxPackage(Key, zip* archive, const QString& fileName, const QString& lang)
    : archive_(archive), fileName_(fileName), lang_(lang) {}

XlsxPackage::~XlsxPackage() {
    zip_discard(archive_);
}

Result<std::unique_ptr<XlsxPackage>>
XlsxPackage::open(const QByteArray& bytes, const QString& fileName, const QString& lang) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (!archive) {
        if (source) {
            zip_source_free(source);
        }
        return workbookError(WorkbookMessage::NotWorkbook, lang, {fileName});
    }
    return std::make_unique<XlsxPackage>(Key{}, archive, fileName, lang);
}

Error XlsxPackage::damaged(const QString& detail) const {
    return workbookError(WorkbookMessage::Damaged, lang_, {fileName_, detail});
}

bool XlsxPackage::has(const std::string& part) const {
    return zip_name_locate(archive_, part.c_str(), ZIP_FL_NOCASE) >= 0;
}

Result<zip_stat_t> XlsxPackage::statPart(const std::string& part, const QString& name,
                                         uint64_t bytesPerByte) const {
    const zip_int64_t index = zip_name_locate(archive_, part.c_str(), ZIP_FL_NOCASE);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE)) {
        return damaged(workbookText(WorkbookMessage::MissingPart, lang_, {name}));
    }
    if (stat.size > MaxPartSize) {
        return workbookError(WorkbookMessage::TooLarge, lang_, {fileName_, name});
    }
    if (Status fits = checkSize(name, stat, bytesPerByte); !fits) {
        return fits.error();
    }
    return stat;
}

Result<std::string> XlsxPackage::read(const std::string& part) const {
    const QString name = QString::fromStdString(part);
    const Result<zip_stat_t> stated = statPart(part, name, ParsedBytesPerByte);
    if (!stated) {
        return stated.error();
    }
    const zip_stat_t& stat = stated.value();
    zip_file_t* file = zip_fopen_index(archive_, stat.index, 0);
    std::string content(stat.size, '\0');
    zip_int64_t got = file ? zip_fread(file, content.data(), stat.size) : -1;
    char extra;
    const bool longer = file && got == zip_int64_t(stat.size) && zip_fread(file, &extra, 1) > 0;
    const QString reason =
        QString::fromUtf8(file ? zip_file_strerror(file) : zip_strerror(archive_));
    if (file) {
        zip_fclose(file);
    }
    if (got != zip_int64_t(stat.size) || longer) {
        return damaged(workbookText(WorkbookMessage::PartUnreadable, lang_, {name, reason}));
    }
    return content;
}

Status XlsxPackage::readInPieces(const std::string& part,
                                 const std::function<void(std::string_view)>& take) const {
    constexpr zip_uint64_t PieceSize = zip_uint64_t(1) << 20;
    const QString name = QString::fromStdString(part);
    const Result<zip_stat_t> stated = statPart(part, name, TextBytesPerByte);
    if (!stated) {
        return stated.error();
    }
    const zip_stat_t& stat = stated.value();
    zip_file_t* file = zip_fopen_index(archive_, stat.index, 0);
    std::string piece(PieceSize, '\0');
    zip_uint64_t total = 0;
    zip_int64_t got = file ? 0 : -1;
    // Never past the stated size: a part that unpacks to more is damaged.
    while (file && total <= stat.size) {
        got = zip_fread(file, piece.data(), std::min(PieceSize, stat.size + 1 - total));
        if (got <= 0) {
            break;
        }
        total += zip_uint64_t(got);
        if (total <= stat.size) {
            take(std::string_view(piece.data(), size_t(got)));
        }
    }
    const QString reason =
        QString::fromUtf8(file ? zip_file_strerror(file) : zip_strerror(archive_));
    if (file) {
        zip_fclose(file);
    }
    if (got < 0 || total != stat.size) {
        return damaged(workbookText(WorkbookMessage::PartUnreadable, lang_, {name, reason}));
    }
    return {};
}

// Judged from the sizes the package states, before anything is unpacked;
// reading never goes past the stated size.
Status XlsxPackage::checkSize(const QString& name, const zip_stat_t& stat,
                              uint64_t bytesPerByte) const {
    const uint64_t packed = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : stat.size;
    const std::optional<uint64_t> available =
        stat.size > PartSizeFloor ? availableMemory() : std::nullopt;
    const auto megabytes = [](uint64_t bytes) {
        return QString::number((bytes + (1 << 19)) >> 20);
    };
    switch (judgePartSize(stat.size, packed, available, bytesPerByte)) {
    case PartSize::Fine:
        return {};
    case PartSize::OutOfProportion:
        return workbookError(
            WorkbookMessage::OutOfProportion, lang_,
            {fileName_, name, megabytes(stat.size), QString::number((packed + 1023) / 1024)});
    case PartSize::TooLargeForMemory:
        return workbookError(WorkbookMessage::NotEnoughMemory, lang_,
                             {fileName_, name, megabytes(stat.size), megabytes(*available)});
    }
    return {};
}

Result<std::unique_ptr<XmlPart>> XlsxPackage::readXml(const std::string& part) const {
    Result<std::string> content = read(part);
    if (!content) {
        return content.error();
    }
    Result<std::unique_ptr<XmlPart>> parsed =
        XmlPart::parse(std::move(content).value(), part, lang_);
    if (!parsed) {
        return damaged(parsed.error().message);
    }
    return parsed;
}

Result<std::vector<XlsxPackage::Relationship>>
XlsxPackage::relationships(const std::string& part) const {
    const std::string relsPart = relationshipsPart(part);
    if (!has(relsPart)) {
        return std::vector<Relationship>();
    }
    Result<std::unique_ptr<XmlPart>> rels = readXml(relsPart);
    if (!rels) {
        return rels.error();
    }
    std::vector<Relationship> list;
    const pugi::xml_node root = rels.value()->root();
    for (pugi::xml_node node = firstChild(root, "Relationship"); node;
         node = nextSibling(node, "Relationship")) {
        Relationship relationship;
        relationship.id = node.attribute("Id").value();
        relationship.type = node.attribute("Type").value();
        relationship.external =
            std::string_view(node.attribute("TargetMode").value()) == "External";
        const std::string_view target = node.attribute("Target").value();
        relationship.target =
            relationship.external ? std::string(target) : resolveTarget(part, target);
        list.push_back(std::move(relationship));
    }
    return list;
}

std::string XlsxPackage::relationshipsPart(const std::string& part) {
    const size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + name + ".rels";
}

std::string XlsxPackage::resolveTarget(const std::string& sourcePart, std::string_view target) {
    std::string path = percentDecoded(target);
    if (path.empty() || path.front() != '/') {
        const size_t slash = sourcePart.rfind('/');
        path = (slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1)) + path;
    }
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        end = end == std::string::npos ? path.size() : end;
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments) {
        resolved += (resolved.empty() ? "" : "/") + segment;
    }
    return resolved;
}

bool XlsxPackage::isType(std::string_view type, std::string_view lastSegment) {
    return type.size() > lastSegment.size() && type.ends_with(lastSegment) &&
           type[type.size() - lastSegment.size() - 1] == '/';
}

} // namespace tapwise
