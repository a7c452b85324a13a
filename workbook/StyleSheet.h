#pragma once

#include "workbook/Palette.h"
#include "workbook/XmlPart.h"

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tapwise {

// The cell formats of a workbook (its styles part): which formats show
// dates, which fill colour they give, and new formats that differ from an
// existing one by their fill only.
class StyleSheet {
public:
    // isNew: the workbook had no styles part; this one was made for it.
    StyleSheet(std::unique_ptr<XmlPart> part, bool isNew);

    // A styles part with the one default cell format, in the workbook's
    // namespace.
    static std::string emptyPartXml(const std::string& namespaceUri);

    bool isDateStyle(int style);
    // NoColorIndex without a fill, a colour index (1 to 56) for a palette
    // colour, 0 for any other fill (a pattern of no palette colour, a
    // gradient, a theme colour).
    int colorIndexOfStyle(int style);
    // The format that is style with its fill changed to the colour index (or
    // removed, with NoColorIndex); an equal format is reused, otherwise one is
    // added.
    int styleWithColor(int style, int colorIndex);

    bool isNew() const { return isNew_; }
    bool changed() const { return changed_; }
    std::unique_ptr<PartContent> content() const { return part_->content(); }
    void markSaved();

private:
    void readFormats();
    void readPalette();
    pugi::xml_node format(int style) const;
    int fillColorIndex(pugi::xml_node fill) const;
    int fillWithColor(int colorIndex);
    std::string colorAttribute(int colorIndex, std::string& value) const;
    int findOrAddFormat(pugi::xml_node model, int fill);
    static std::string formatKey(pugi::xml_node format);

    std::unique_ptr<XmlPart> part_;
    bool isNew_;
    bool changed_ = false;
    Palette palette_;
    pugi::xml_node cellFormats_;
    pugi::xml_node fills_;
    std::vector<pugi::xml_node> formats_;
    std::vector<pugi::xml_node> fillNodes_;
    std::map<int, std::string> numberFormats_;
    std::vector<signed char> dateCache_;
    std::vector<int> colorCache_;
    std::map<std::pair<int, int>, int> clones_;
    std::unordered_map<std::string, int> formatsByKey_;
};

} // namespace tapwise
