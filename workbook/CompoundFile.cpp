#include "workbook/CompoundFile.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
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

// A chain of sectors followed through a table, bounded by the table's size.
std::optional<std::vector<uint32_t>> chain(const std::vector<uint32_t>& table, uint32_t start) {
    std::vector<uint32_t> sectors;
    for (uint32_t sector = start; sector != EndOfChain; sector = table[sector]) {
        if (sector >= table.size() || sectors.size() >= table.size()) {
            return std::nullopt;
        }
        sectors.push_back(sector);
    }
    return sectors;
}

QString entryName(const Reader& reader, qint64 entry) {
    const int bytes = reader.u16(entry + 0x40).value_or(0);
    QString name;
    for (int i = 0; i + 2 < bytes && i < 64; i += 2) {
        name += QChar(char16_t(reader.u16(entry + i).value_or(0)));
    }
    return name;
}

constexpr uint32_t NoEntry = 0xFFFFFFFF;
constexpr int MaxDepth = 1024;

// The whole file parsed: its tables, directory and mini stream.
class Parser {
public:
    explicit Parser(const QByteArray& bytes) : bytes_(bytes), reader_(bytes) {}

    std::optional<std::vector<CompoundFile::Entry>> entries() {
        if (!parseTables()) {
            return std::nullopt;
        }
        std::vector<CompoundFile::Entry> out;
        return visit(childOf(0), QString(), 0, out) ? std::optional(std::move(out)) : std::nullopt;
    }

private:
    bool parseTables() {
        layout_.shift = reader_.u16(0x1E).value_or(0);
        const int miniShift = reader_.u16(0x20).value_or(0);
        if (!CompoundFile::hasSignature(bytes_) || (layout_.shift != 9 && layout_.shift != 12) ||
            miniShift != 6) {
            return false;
        }
        miniCutoff_ = reader_.u32(0x38).value_or(4096);
        fat_ = readFat(reader_, layout_);
        const auto directory =
            readChain(fat_, reader_.u32(0x30).value_or(EndOfChain), layout_.shift, std::nullopt);
        if (!directory || directory->size() < DirectoryEntrySize ||
            (*directory)[0x42] != 5) { // the first entry is the root
            return false;
        }
        directory_ = *directory;
        const auto miniTable =
            readChain(fat_, reader_.u32(0x3C).value_or(EndOfChain), layout_.shift, std::nullopt);
        for (qsizetype i = 0; miniTable && i + 4 <= miniTable->size(); i += 4) {
            miniFat_.push_back(Reader(*miniTable).u32(i).value_or(FreeSector));
        }
        const auto ministream = readChain(fat_, startOf(0), layout_.shift, sizeOf(0));
        ministream_ = ministream.value_or(QByteArray());
        return true;
    }

    // The bytes of a chain of sectors of 1 << shift bytes, cut to size.
    std::optional<QByteArray> readChain(const std::vector<uint32_t>& table, uint32_t start,
                                        int shift, std::optional<quint64> size) const {
        const bool mini = shift != layout_.shift;
        const auto sectors = chain(table, start);
        if (!sectors) {
            return std::nullopt;
        }
        QByteArray out;
        const qint64 sectorSize = qint64(1) << shift;
        for (uint32_t sector : *sectors) {
            const qint64 offset = mini ? qint64(sector) << shift : layout_.offsetOf(sector);
            const QByteArray& source = mini ? ministream_ : bytes_;
            if (offset + sectorSize > source.size()) {
                return std::nullopt;
            }
            out.append(source.constData() + offset, sectorSize);
        }
        if (size && *size > quint64(out.size())) {
            return std::nullopt;
        }
        if (size) {
            out.truncate(qsizetype(*size));
        }
        return out;
    }

    qint64 base(uint32_t id) const { return qint64(id) * DirectoryEntrySize; }
    std::optional<uint32_t> field(uint32_t id, int offset) const {
        return Reader(directory_).u32(base(id) + offset);
    }
    uint32_t childOf(uint32_t id) const { return field(id, 0x4C).value_or(NoEntry); }
    uint32_t startOf(uint32_t id) const { return field(id, 0x74).value_or(EndOfChain); }
    quint64 sizeOf(uint32_t id) const {
        const quint64 low = field(id, 0x78).value_or(0);
        const quint64 high = layout_.shift == 9 ? 0 : field(id, 0x7C).value_or(0);
        return low | high << 32;
    }

    bool visit(uint32_t id, const QString& parent, int depth,
               std::vector<CompoundFile::Entry>& out) {
        if (id == NoEntry) {
            return true;
        }
        if (base(id) + DirectoryEntrySize > directory_.size() || depth > MaxDepth ||
            !seen_.insert(id).second) {
            return false;
        }
        const Reader entry(directory_);
        const int type = directory_[base(id) + 0x42];
        CompoundFile::Entry item;
        const QString name = entryName(entry, base(id));
        item.path = parent.isEmpty() ? name : parent + u'/' + name;
        item.storage = type == 1;
        if (type == 2) {
            const bool mini = sizeOf(id) < miniCutoff_;
            const auto data = mini ? readChain(miniFat_, startOf(id), 6, sizeOf(id))
                                   : readChain(fat_, startOf(id), layout_.shift, sizeOf(id));
            if (!data) {
                return false;
            }
            item.data = *data;
        }
        if (type == 1 || type == 2) {
            out.push_back(item);
        }
        return (type != 1 || visit(childOf(id), item.path, depth + 1, out)) &&
               visit(field(id, 0x44).value_or(NoEntry), parent, depth + 1, out) &&
               visit(field(id, 0x48).value_or(NoEntry), parent, depth + 1, out);
    }

    const QByteArray& bytes_;
    Reader reader_;
    Layout layout_;
    quint64 miniCutoff_ = 4096;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    QByteArray directory_;
    QByteArray ministream_;
    std::set<uint32_t> seen_;
};

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

std::optional<std::vector<CompoundFile::Entry>> CompoundFile::read(const QByteArray& bytes) {
    return Parser(bytes).entries();
}

bool CompoundFile::isEncryptedWorkbook(const QByteArray& bytes) {
    const QStringList names = entryNames(bytes);
    return names.contains(QStringLiteral("EncryptionInfo")) ||
           names.contains(QStringLiteral("EncryptedPackage")) ||
           std::any_of(names.begin(), names.end(), [](const QString& name) {
               return name.contains(QStringLiteral("DRM"), Qt::CaseInsensitive);
           });
}

} // namespace tapwise
