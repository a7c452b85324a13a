#pragma once

#include "common/Result.h"
#include "workbook/PartContent.h"

#include <pugixml.hpp>

#include <QString>

#include <memory>
#include <string>

namespace tapwise {

// One XML part of the package, parsed in place from its own bytes.
class XmlPart {
public:
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    // A failure is described (in the language lang) as a detail of a
    // damaged file, naming the part.
    static Result<std::unique_ptr<XmlPart>> parse(std::string bytes, const std::string& partName,
                                                  const QString& lang);

    pugi::xml_node root() const { return document_.document_element(); }
    std::string serialize() const;
    std::unique_ptr<PartContent> content() const { return PartContent::fromString(serialize()); }

private:
    struct Key {
        explicit Key() = default;
    };

public:
    XmlPart(Key, std::string bytes) : bytes_(std::move(bytes)) {}

private:
    std::string bytes_; // the document's strings point into it
    pugi::xml_document document_;
};

} // namespace tapwise
