#include "workbook/XmlPart.h"

#include "workbook/WorkbookTexts.h"
#include "workbook/XmlNames.h"

namespace tapwise {

namespace {

// Whitespace-only text is kept where it is an element's only content (a
// cell text of blanks), and stored in the element itself to save memory.
constexpr unsigned ParseFlags = pugi::parse_default | pugi::parse_declaration |
                                pugi::parse_comments | pugi::parse_pi |
                                pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

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
    return part;
}

std::string XmlPart::serialize() const {
    std::string out;
    StringWriter writer(out);
    document_.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    escapeCarriageReturns(out);
    return out;
}

} // namespace tapwise
