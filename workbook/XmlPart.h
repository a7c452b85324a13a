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

    // Whitespace-only text is kept where it is an element's only content (a
    // cell text of blanks), and stored in the element itself to save memory.
    static constexpr unsigned ParseFlags = pugi::parse_default | pugi::parse_declaration |
                                           pugi::parse_comments | pugi::parse_pi |
                                           pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;
    // Refuses elements nested deeper than any spreadsheet program writes;
    // root stands depthAbove levels below the part's root element.
    static Status checkNesting(pugi::xml_node root, int depthAbove, const std::string& partName,
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
