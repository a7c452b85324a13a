#include "workbook/StyleSheet.h"

#include "workbook/NumberFormats.h"
#include "workbook/Workbook.h"
#include "workbook/XmlNames.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace tapwise {

namespace {

constexpr uint32_t LimeRgb = 0x99CC00;
constexpr int OtherColor = 0;

constexpr int Uncomputed = -1;

pugi::xml_node ensureList(pugi::xml_node root, std::string_view name) {
    return ensureChild(root, name,
                       {"numFmts", "fonts", "fills", "borders", "cellStyleXfs", "cellXfs",
                        "cellStyles", "dxfs", "tableStyles", "colors", "extLst"});
}

std::optional<uint32_t> parseRgb(const char* argb) {
    const size_t length = std::strlen(argb);
    if (length < 6) {
        return std::nullopt;
    }
    unsigned value = 0;
    if (std::sscanf(argb + length - 6, "%6x", &value) != 1) {
        return std::nullopt;
    }
    return value;
}

std::vector<pugi::xml_node> childrenNamed(pugi::xml_node parent, std::string_view name) {
    std::vector<pugi::xml_node> children;
    for (pugi::xml_node child = firstChild(parent, name); child; child = nextSibling(child, name)) {
        children.push_back(child);
    }
    return children;
}

void setCount(pugi::xml_node list, size_t count) {
    setAttribute(list, "count", std::to_string(count));
}

} // namespace

StyleSheet::StyleSheet(std::unique_ptr<XmlPart> part, bool isNew)
    : part_(std::move(part)), isNew_(isNew) {
    readPalette();
    readFormats();
}

std::string StyleSheet::emptyPartXml(const std::string& namespaceUri) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<styleSheet xmlns=\"" +
           namespaceUri +
           "\"><fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
           "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill>"
           "<patternFill patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border>"
           "<left/><right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs "
           "count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
           "</cellStyleXfs><cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
           "borderId=\"0\" xfId=\"0\"/></cellXfs><cellStyles count=\"1\"><cellStyle "
           "name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>";
}

void StyleSheet::readPalette() {
    const pugi::xml_node list = firstChild(firstChild(part_->root(), "colors"), "indexedColors");
    std::vector<uint32_t> entries;
    for (pugi::xml_node entry : childrenNamed(list, "rgbColor")) {
        entries.push_back(parseRgb(entry.attribute("rgb").value()).value_or(0));
    }
    palette_.setEntries(std::move(entries));
}

void StyleSheet::readFormats() {
    const pugi::xml_node root = part_->root();
    for (pugi::xml_node numFmt : childrenNamed(firstChild(root, "numFmts"), "numFmt")) {
        numberFormats_[numFmt.attribute("numFmtId").as_int(-1)] =
            numFmt.attribute("formatCode").value();
    }
    fills_ = firstChild(root, "fills");
    fillNodes_ = childrenNamed(fills_, "fill");
    cellFormats_ = firstChild(root, "cellXfs");
    formats_ = childrenNamed(cellFormats_, "xf");
    dateCache_.assign(formats_.size(), -1);
    colorCache_.assign(formats_.size(), Uncomputed);
}

pugi::xml_node StyleSheet::format(int style) const {
    if (style >= 0 && size_t(style) < formats_.size()) {
        return formats_[size_t(style)];
    }
    return {};
}

bool StyleSheet::isDateStyle(int style) {
    const pugi::xml_node node = format(style);
    if (!node) {
        return false;
    }
    signed char& cached = dateCache_[size_t(style)];
    if (cached < 0) {
        const int id = node.attribute("numFmtId").as_int(0);
        const auto custom = numberFormats_.find(id);
        cached = custom != numberFormats_.end() ? isDateFormatCode(custom->second)
                                                : isBuiltinDateFormat(id);
    }
    return cached == 1;
}

int StyleSheet::colorIndexOfStyle(int style) {
    const pugi::xml_node node = format(style);
    if (!node) {
        return NoColorIndex;
    }
    int& cached = colorCache_[size_t(style)];
    if (cached == Uncomputed) {
        const int fill = node.attribute("fillId").as_int(0);
        cached = fill >= 0 && size_t(fill) < fillNodes_.size()
                     ? fillColorIndex(fillNodes_[size_t(fill)])
                     : NoColorIndex;
    }
    return cached;
}

// A solid fill shows its foreground colour, a pattern its background.
int StyleSheet::fillColorIndex(pugi::xml_node fill) const {
    const pugi::xml_node pattern = firstChild(fill, "patternFill");
    if (!pattern) {
        return firstChild(fill, "gradientFill") ? OtherColor : NoColorIndex;
    }
    const std::string_view type = pattern.attribute("patternType").value();
    if (type.empty() || type == "none") {
        return NoColorIndex;
    }
    const pugi::xml_node color = firstChild(pattern, type == "solid" ? "fgColor" : "bgColor");
    std::optional<uint32_t> rgb;
    if (const pugi::xml_attribute indexed = color.attribute("indexed")) {
        rgb = palette_.rgbOfEntry(indexed.as_int(-1));
    } else if (const pugi::xml_attribute value = color.attribute("rgb")) {
        rgb = parseRgb(value.value());
    }
    if (!rgb) {
        return OtherColor;
    }
    return *rgb == LimeRgb ? GreenColorIndex : palette_.colorIndexOf(*rgb);
}

int StyleSheet::styleWithColor(int style, int colorIndex) {
    if (!format(style)) {
        style = 0;
    }
    const auto known = clones_.find({style, colorIndex});
    if (known != clones_.end()) {
        return known->second;
    }
    const int fill = fillWithColor(colorIndex);
    if (!cellFormats_ || formats_.empty()) {
        cellFormats_ = ensureList(part_->root(), "cellXfs");
        pugi::xml_node base = cellFormats_.append_child(nameInScope(cellFormats_, "xf").c_str());
        for (const char* name : {"numFmtId", "fontId", "fillId", "borderId", "xfId"}) {
            base.append_attribute(name).set_value("0");
        }
        formats_.push_back(base);
        dateCache_.push_back(Uncomputed);
        colorCache_.push_back(Uncomputed);
        setCount(cellFormats_, formats_.size());
        changed_ = true;
    }
    const pugi::xml_node model = formats_[size_t(style)];
    const int result =
        model.attribute("fillId").as_int(0) == fill ? style : findOrAddFormat(model, fill);
    clones_[{style, colorIndex}] = result;
    return result;
}

std::string StyleSheet::colorAttribute(int colorIndex, std::string& value) const {
    const int entry = Palette::entryOfColorIndex(colorIndex);
    const uint32_t rgb = Palette::standardRgb(colorIndex);
    if (palette_.rgbOfEntry(entry) == rgb) {
        value = std::to_string(entry);
        return "indexed";
    }
    char argb[16];
    std::snprintf(argb, sizeof argb, "FF%06X", unsigned(rgb));
    value = argb;
    return "rgb";
}

int StyleSheet::fillWithColor(int colorIndex) {
    for (size_t i = 0; i < fillNodes_.size(); ++i) {
        const pugi::xml_node pattern = firstChild(fillNodes_[i], "patternFill");
        const bool plain = colorIndex == NoColorIndex ||
                           std::string_view(pattern.attribute("patternType").value()) == "solid";
        if (i != 1 && plain && fillColorIndex(fillNodes_[i]) == colorIndex) {
            return int(i);
        }
    }
    if (!fills_) {
        fills_ = ensureList(part_->root(), "fills");
    }
    while (fillNodes_.size() < 2) { // the two fills every styles part starts with
        pugi::xml_node fill = fills_.append_child(nameInScope(fills_, "fill").c_str());
        fill.append_child(nameInScope(fill, "patternFill").c_str())
            .append_attribute("patternType")
            .set_value(fillNodes_.empty() ? "none" : "gray125");
        fillNodes_.push_back(fill);
    }
    pugi::xml_node fill = fills_.append_child(nameInScope(fills_, "fill").c_str());
    pugi::xml_node pattern = fill.append_child(nameInScope(fill, "patternFill").c_str());
    if (colorIndex == NoColorIndex) {
        pattern.append_attribute("patternType").set_value("none");
    } else {
        pattern.append_attribute("patternType").set_value("solid");
        std::string value;
        const std::string name = colorAttribute(colorIndex, value);
        pugi::xml_node foreground = pattern.append_child(nameInScope(pattern, "fgColor").c_str());
        foreground.append_attribute(name.c_str()).set_value(value.c_str());
        pattern.append_child(nameInScope(pattern, "bgColor").c_str())
            .append_attribute("indexed")
            .set_value("64");
    }
    fillNodes_.push_back(fill);
    setCount(fills_, fillNodes_.size());
    changed_ = true;
    return int(fillNodes_.size() - 1);
}

int StyleSheet::findOrAddFormat(pugi::xml_node model, int fill) {
    if (formatsByKey_.empty()) {
        for (size_t i = 0; i < formats_.size(); ++i) {
            formatsByKey_.emplace(formatKey(formats_[i]), int(i));
        }
    }
    pugi::xml_node clone = cellFormats_.append_copy(model);
    setAttribute(clone, "fillId", std::to_string(fill));
    setAttribute(clone, "applyFill", "1");
    const auto [place, added] = formatsByKey_.emplace(formatKey(clone), int(formats_.size()));
    if (!added) {
        cellFormats_.remove_child(clone);
        return place->second;
    }
    formats_.push_back(clone);
    dateCache_.push_back(Uncomputed);
    colorCache_.push_back(Uncomputed);
    setCount(cellFormats_, formats_.size());
    changed_ = true;
    return place->second;
}

// Attributes in name order and the children as written: two formats with
// the same key look the same.
std::string StyleSheet::formatKey(pugi::xml_node format) {
    std::map<std::string, std::string> attributes;
    for (pugi::xml_attribute attribute : format.attributes()) {
        attributes[attribute.name()] = attribute.value();
    }
    std::string key;
    for (const auto& [name, value] : attributes) {
        key += name + '=' + value + ';';
    }
    for (pugi::xml_node child : format.children()) {
        struct Writer : pugi::xml_writer {
            std::string& out;
            explicit Writer(std::string& o) : out(o) {}
            void write(const void* data, size_t size) override {
                out.append(static_cast<const char*>(data), size);
            }
        } writer(key);
        child.print(writer, "", pugi::format_raw);
    }
    return key;
}

void StyleSheet::markSaved() {
    isNew_ = isNew_ && !changed_; // a new part is in the package once it was written
    changed_ = false;
}

} // namespace tapwise
