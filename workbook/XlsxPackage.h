#pragma once

#include "common/Result.h"
#include "workbook/PartSizeGuard.h"
#include "workbook/XmlPart.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct zip;
struct zip_stat;

namespace tapwise {

// The zip package of a workbook, read from the bytes of its file. Part names
// carry no leading "/" and are found whatever their letter case. Errors name
// the workbook file and are given in the language lang.
class XlsxPackage {
public:
    struct Relationship {
        std::string id;
        std::string type;
        std::string target; // a part name, or the URL of an external target
        bool external = false;
    };

    ~XlsxPackage();
    XlsxPackage(const XlsxPackage&) = delete;
    XlsxPackage& operator=(const XlsxPackage&) = delete;

    // bytes must outlive the package. Anything but a zip archive is refused.
    static Result<std::unique_ptr<XlsxPackage>> open(const QByteArray& bytes,
                                                     const QString& fileName, const QString& lang);

    bool has(const std::string& part) const;
    Result<std::string> read(const std::string& part) const;
    Result<std::unique_ptr<XmlPart>> readXml(const std::string& part) const;
    // Unpacks a part a piece at a time, handing each piece to take, so that
    // a large part is never held twice.
    Status readInPieces(const std::string& part,
                        const std::function<void(std::string_view)>& take) const;
    // The relationships of a part (none when it has no relationships part).
    Result<std::vector<Relationship>> relationships(const std::string& part) const;

    static std::string relationshipsPart(const std::string& part);
    static std::string resolveTarget(const std::string& sourcePart, std::string_view target);
    // Relationship types differ between the transitional and the strict
    // namespaces; their last segment ("worksheet", "styles") does not.
    static bool isType(std::string_view type, std::string_view lastSegment);

    Error damaged(const QString& detail) const;

private:
    struct Key {
        explicit Key() = default;
    };

public:
    XlsxPackage(Key, zip* archive, const QString& fileName, const QString& lang);

private:
    Status checkSize(const QString& name, const zip_stat& stat, uint64_t bytesPerByte) const;
    // The stated sizes of a part that exists and may be unpacked (the checks
    // every read makes), with the part's index in index.
    Result<zip_stat> statPart(const std::string& part, const QString& name,
                              uint64_t bytesPerByte) const;

    zip* archive_;
    QString fileName_;
    QString lang_;
};

} // namespace tapwise
