#include "workbook/CompoundFile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tapwise {

namespace {

constexpr uint32_t EndOfChain = 0xFFFFFFFE;
constexpr uint32_t FreeSector = 0xFFFFFFFF;
constexpr int HeaderDifatEntries = 109;
constexpr int DirectoryEntrySize = 128;

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    std::optional<uint32_t> u32(qint64 offset) const {
        if (offset < 0 || offset + 4 > bytes_.size()) {
            return std::nullopt;
        }
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.constData() + offset);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    std::optional<uint16_t> u16(qint64 offset) const {
        if (offset < 0 || offset + 2 > bytes_.size()) {
            return std::nullopt;
        }
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.constData() + offset);
        return uint16_t(p[0] | p[1] << 8);
    }
    qint64 size() const { return bytes_.size(); }

private:
    const QByteArray& bytes_;
};

struct Layout {
    int shift = 9;
    qint64 sectorSize() const { return qint64(1) << shift; }
    qint64 offsetOf(uint32_t sector) const { return (qint64(sector) + 1) << shift; }
};

std::vector<uint32_t> fatSectors(const Reader& reader, const Layout& layout) {
    std::vector<uint32_t> sectors;
    for (int i = 0; i < HeaderDifatEntries; ++i) {
        const auto sector = reader.u32(0x4C + 4 * i);
        if (!sector || *sector == FreeSector || *sector == EndOfChain) {
            return sectors;
        }
        sectors.push_back(*sector);
    }
    const qint64 perSector = layout.sectorSize() / 4 - 1;
    auto next = reader.u32(0x44);
    for (qint64 hops = 0; next && *next < EndOfChain && hops < reader.size(); ++hops) {
        const qint64 base = layout.offsetOf(*next);
        for (qint64 i = 0; i < perSector; ++i) {
            const auto sector = reader.u32(base + 4 * i);
            if (!sector || *sector >= EndOfChain) {
                return sectors;
            }
            sectors.push_back(*sector);
        }
        next = reader.u32(base + 4 * perSector);
    }
    return sectors;
}

std::vector<uint32_t> readFat(const Reader& reader, const Layout& layout) {
    std::vector<uint32_t> fat;
    for (uint32_t sector : fatSectors(reader, layout)) {
        const qint64 base = layout.offsetOf(sector);
        for (qint64 i = 0; i < layout.sectorSize() / 4; ++i) {
            const auto next = reader.u32(base + 4 * i);
            if (!next) {
                return fat;
            }
            fat.push_back(*next);
        }
    }
    return fat;
}

QString entryName(const Reader& reader, qint64 entry) {
    const int bytes = reader.u16(entry + 0x40).value_or(0);
    QString name;
    for (int i = 0; i + 2 < bytes && i < 64; i += 2) {
        name += QChar(char16_t(reader.u16(entry + i).value_or(0)));
    }
    return name;
}

} // namespace

bool CompoundFile::hasSignature(const QByteArray& bytes) {
    static constexpr char Signature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    return bytes.startsWith(QByteArray::fromRawData(Signature, 8));
}

QStringList CompoundFile::entryNames(const QByteArray& bytes) {
    const Reader reader(bytes);
    if (!hasSignature(bytes)) {
        return {};
    }
    Layout layout;
    layout.shift = reader.u16(0x1E).value_or(0);
    if (layout.shift != 9 && layout.shift != 12) {
        return {};
    }
    const std::vector<uint32_t> fat = readFat(reader, layout);
    QStringList names;
    auto sector = reader.u32(0x30);
    for (qint64 hops = 0; sector && size_t(*sector) < fat.size() && hops <= qint64(fat.size());
         ++hops) {
        const qint64 base = layout.offsetOf(*sector);
        for (qint64 entry = base; entry < base + layout.sectorSize(); entry += DirectoryEntrySize) {
            if (reader.u16(entry + 0x42).value_or(0) & 0xFF) { // a used entry
                names << entryName(reader, entry);
            }
        }
        sector = fat[*sector];
    }
    return names;
}

bool CompoundFile::isEncryptedWorkbook(const QByteArray& bytes) {
    const QStringList names = entryNames(bytes);
    return names.contains(QStringLiteral("EncryptionInfo")) &&
           names.contains(QStringLiteral("EncryptedPackage"));
}

} // namespace tapwise
