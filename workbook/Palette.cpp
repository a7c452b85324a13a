#include "workbook/Palette.h"

#include <array>

namespace tapwise {

namespace {

constexpr int FirstColorEntry = 8;
constexpr int ColorIndexCount = 56;

constexpr std::array<uint32_t, 64> StandardEntries{
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

} // namespace

Palette::Palette() : entries_(StandardEntries.begin(), StandardEntries.end()) {}

void Palette::setEntries(std::vector<uint32_t> entries) {
    // A short list leaves the standard colours in the entries it lacks.
    for (size_t i = 0; i < entries.size() && i < entries_.size(); ++i) {
        entries_[i] = entries[i];
    }
}

std::optional<uint32_t> Palette::rgbOfEntry(int entry) const {
    if (entry >= 0 && entry < int(entries_.size())) {
        return entries_[size_t(entry)];
    }
    if (entry == 64) {
        return 0x000000;
    }
    if (entry == 65) {
        return 0xFFFFFF;
    }
    return std::nullopt;
}

int Palette::colorIndexOf(uint32_t rgb) const {
    for (int index = 1; index <= ColorIndexCount; ++index) {
        if (entries_[size_t(entryOfColorIndex(index))] == rgb) {
            return index;
        }
    }
    return 0;
}

int Palette::entryOfColorIndex(int colorIndex) {
    return colorIndex + FirstColorEntry - 1;
}

uint32_t Palette::standardRgb(int colorIndex) {
    return StandardEntries.at(size_t(entryOfColorIndex(colorIndex)));
}

} // namespace tapwise
