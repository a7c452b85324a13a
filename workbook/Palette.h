#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tapwise {

// The indexed colours of a workbook: the spreadsheet's standard 64 entries,
// or the workbook's own list where it has one. Colour index n (1 to 56) is
// entry n + 7; 64 and 65 are the system's foreground and background.
class Palette {
public:
    Palette();

    // Entries as 0xRRGGBB, from the workbook's <indexedColors>.
    void setEntries(std::vector<uint32_t> entries);

    std::optional<uint32_t> rgbOfEntry(int entry) const;
    // The colour index of an RGB colour, 0 when the palette lacks it.
    int colorIndexOf(uint32_t rgb) const;
    // The entry of a colour index in the standard palette, and its colour.
    static int entryOfColorIndex(int colorIndex);
    static uint32_t standardRgb(int colorIndex);

private:
    std::vector<uint32_t> entries_;
};

} // namespace tapwise
