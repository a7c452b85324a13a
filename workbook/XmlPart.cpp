#include "workbook/XmlPart.h"

#include "workbook/WorkbookTexts.h"
#include "workbook/XmlNames.h"

#include <algorithm>

namespace tapwise {

namespace {

// No spreadsheet program nests a part's elements more than a few dozen
// levels; pugixml removes and copies nodes recursively, so a part nested
// hundreds of thousands of levels deep would overflow the stack later.
constexpr int MaxNesting = 1000;

// The depth of the deepest element, counted without recursion; stops
// counting once the limit is passed.
int nestingDepth(pugi::xml_node root, int limit) {
    int depth = 1;
    int deepest = 1;
    pugi::xml_node node = root;
    while (node && deepest <= limit) {
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            deepest = std::max(deepest, ++depth);
            continue;
        }
        while (node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
    return deepest;
}

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

private:
    std::string& out_;
};

} // namespace

Result<std::unique_ptr<XmlPart>> XmlPart::parse(std::string bytes, const std::string& partName,
                                                const QString& lang) {
    auto part = std::make_unique<XmlPart>(Key{}, std::move(bytes));
    const pugi::xml_parse_result parsed = part->document_.load_buffer_inplace(
        part->bytes_.data(), part->bytes_.size(), ParseFlags, pugi::encoding_auto);
    if (!parsed || !part->root()) {
        const QString reason =
            parsed ? QStringLiteral("no root element") : QString::fromUtf8(parsed.description());
        return workbookError(
            WorkbookMessage::BadXml, lang,
            {QString::fromStdString(partName), reason, QString::number(parsed.offset)});
    }
    if (Status nesting = checkNesting(part->root(), 0, partName, lang); !nesting) {
        return nesting.error();
    }
    return part;
}

Status XmlPart::checkNesting(pugi::xml_node root, int depthAbove, const std::string& partName,
                             const QString& lang) {
    if (nestingDepth(root, MaxNesting - depthAbove) > MaxNesting - depthAbove) {
        return workbookError(WorkbookMessage::TooDeep, lang,
                             {QString::fromStdString(partName), QString::number(MaxNesting)});
    }
    return {};
}

std::string XmlPart::serialize() const {
    std::string out;
    StringWriter writer(out);
    document_.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    escapeCarriageReturns(out);
    return out;
}

} // namespace tapwise
