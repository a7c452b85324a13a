#include "workbook/CompoundFileWriter.h"

#include <QHash>

#include <algorithm>
#include <cstdint>
#include <functional>

namespace tapwise {

namespace {

constexpr uint32_t NoEntry = 0xFFFFFFFF;
constexpr uint32_t FreeSector = 0xFFFFFFFF;
constexpr uint32_t EndOfChain = 0xFFFFFFFE;
constexpr uint32_t FatSector = 0xFFFFFFFD;
constexpr uint32_t DifatSector = 0xFFFFFFFC;
constexpr int SectorSize = 512;
constexpr int MiniSectorSize = 64;
constexpr int MiniCutoff = 4096;
constexpr int EntrySize = 128;
constexpr int HeaderDifatEntries = 109;
constexpr int PerSector = SectorSize / 4;

struct Node {
    QString name;
    int type = 0; // 1 storage, 2 stream, 5 root
    const QByteArray* data = nullptr;
    uint32_t left = NoEntry;
    uint32_t right = NoEntry;
    uint32_t child = NoEntry;
    bool red = false;
    uint32_t start = EndOfChain;
    quint64 size = 0;
    std::vector<uint32_t> children;
};

void putU16(QByteArray& out, qsizetype at, uint16_t value) {
    out[at] = char(value & 0xFF);
    out[at + 1] = char(value >> 8);
}

void putU32(QByteArray& out, qsizetype at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = char((value >> (8 * i)) & 0xFF);
    }
}

qsizetype sectorsFor(qsizetype bytes, int size) {
    return (bytes + size - 1) / size;
}

// Names order by length first, then letter by letter in capitals.
bool nameLess(const QString& a, const QString& b) {
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a.toUpper() < b.toUpper();
}

class Writer {
public:
    explicit Writer(const std::vector<CompoundFile::Entry>& entries) { addNodes(entries); }

    QByteArray write() {
        for (Node& node : nodes_) {
            node.child = balancedTree(node.children);
        }
        placeStreams();
        return assemble();
    }

private:
    void addNodes(const std::vector<CompoundFile::Entry>& entries) {
        Node root;
        root.name = QStringLiteral("Root Entry");
        root.type = 5;
        nodes_.push_back(root);
        QHash<QString, uint32_t> storages;
        for (const CompoundFile::Entry& entry : entries) {
            const qsizetype slash = entry.path.lastIndexOf(u'/');
            const uint32_t parent =
                slash < 0 ? 0 : storages.value(entry.path.left(slash), uint32_t(0));
            Node node;
            node.name = entry.path.mid(slash + 1);
            node.type = entry.storage ? 1 : 2;
            node.data = entry.storage ? nullptr : &entry.data;
            const auto id = uint32_t(nodes_.size());
            nodes_.push_back(node);
            nodes_[parent].children.push_back(id);
            if (entry.storage) {
                storages.insert(entry.path, id);
            }
        }
    }

    // A tree built from the middle of the sorted names: every path ends on
    // the last two levels, so black nodes above and red ones on the deepest
    // level make a valid red-black tree.
    uint32_t balancedTree(std::vector<uint32_t> ids) {
        std::sort(ids.begin(), ids.end(),
                  [&](uint32_t a, uint32_t b) { return nameLess(nodes_[a].name, nodes_[b].name); });
        std::vector<std::pair<uint32_t, int>> depths;
        std::function<uint32_t(qsizetype, qsizetype, int)> build = [&](qsizetype low,
                                                                       qsizetype high, int depth) {
            if (low >= high) {
                return NoEntry;
            }
            const qsizetype middle = low + (high - low) / 2;
            const uint32_t id = ids[size_t(middle)];
            depths.emplace_back(id, depth);
            nodes_[id].left = build(low, middle, depth + 1);
            nodes_[id].right = build(middle + 1, high, depth + 1);
            return id;
        };
        const uint32_t root = build(0, qsizetype(ids.size()), 0);
        int deepest = 0;
        for (const auto& [id, depth] : depths) {
            deepest = std::max(deepest, depth);
        }
        for (const auto& [id, depth] : depths) {
            nodes_[id].red = deepest > 0 && depth == deepest;
        }
        return root;
    }

    uint32_t allocate(qsizetype count) {
        const auto start = uint32_t(sectorCount_);
        for (qsizetype i = 0; i < count; ++i) {
            fat_.push_back(i + 1 < count ? uint32_t(sectorCount_ + i + 1) : EndOfChain);
        }
        sectorCount_ += count;
        return count > 0 ? start : EndOfChain;
    }

    void placeStreams() {
        for (Node& node : nodes_) {
            if (node.type != 2) {
                continue;
            }
            node.size = quint64(node.data->size());
            if (node.data->isEmpty()) {
                continue;
            }
            if (node.data->size() < MiniCutoff) {
                const qsizetype count = sectorsFor(node.data->size(), MiniSectorSize);
                node.start = uint32_t(miniFat_.size());
                for (qsizetype i = 0; i < count; ++i) {
                    miniFat_.push_back(i + 1 < count ? uint32_t(miniFat_.size() + 1) : EndOfChain);
                }
                ministream_.append(*node.data);
                ministream_.append(count * MiniSectorSize - node.data->size(), '\0');
            } else {
                node.start = allocate(sectorsFor(node.data->size(), SectorSize));
                contents_.emplace_back(node.start, node.data);
            }
        }
        nodes_[0].start = allocate(sectorsFor(ministream_.size(), SectorSize));
        nodes_[0].size = quint64(ministream_.size());
        contents_.emplace_back(nodes_[0].start, &ministream_);
        miniFatBytes_.resize(sectorsFor(qsizetype(miniFat_.size()) * 4, SectorSize) * SectorSize);
        miniFatBytes_.fill(char(0xFF));
        for (size_t i = 0; i < miniFat_.size(); ++i) {
            putU32(miniFatBytes_, qsizetype(i) * 4, miniFat_[i]);
        }
        miniFatStart_ = allocate(miniFatBytes_.size() / SectorSize);
        contents_.emplace_back(miniFatStart_, &miniFatBytes_);
        directory_ = directoryBytes();
        directoryStart_ = allocate(directory_.size() / SectorSize);
        contents_.emplace_back(directoryStart_, &directory_);
        placeTables();
    }

    // The allocation table describes its own sectors too: grow it until it
    // covers every sector.
    void placeTables() {
        qsizetype fatCount = 0;
        qsizetype difatCount = 0;
        for (;;) {
            const qsizetype total = sectorCount_ + fatCount + difatCount;
            const qsizetype needFat = sectorsFor(total, PerSector);
            const qsizetype needDifat =
                needFat > HeaderDifatEntries
                    ? sectorsFor(needFat - HeaderDifatEntries, PerSector - 1)
                    : 0;
            if (needFat == fatCount && needDifat == difatCount) {
                break;
            }
            fatCount = needFat;
            difatCount = needDifat;
        }
        for (qsizetype i = 0; i < fatCount; ++i) {
            fatSectors_.push_back(uint32_t(sectorCount_++));
            fat_.push_back(FatSector);
        }
        for (qsizetype i = 0; i < difatCount; ++i) {
            difatSectors_.push_back(uint32_t(sectorCount_++));
            fat_.push_back(DifatSector);
        }
        fat_.resize(size_t(fatCount * PerSector), FreeSector);
    }

    QByteArray directoryBytes() const {
        QByteArray out(sectorsFor(qsizetype(nodes_.size()) * EntrySize, SectorSize) * SectorSize,
                       '\0');
        for (qsizetype at = 0; at < out.size(); at += EntrySize) {
            putU32(out, at + 0x44, NoEntry);
            putU32(out, at + 0x48, NoEntry);
            putU32(out, at + 0x4C, NoEntry);
        }
        for (size_t i = 0; i < nodes_.size(); ++i) {
            const Node& node = nodes_[i];
            const qsizetype at = qsizetype(i) * EntrySize;
            const QString name = node.name.left(31);
            for (qsizetype c = 0; c < name.size(); ++c) {
                putU16(out, at + 2 * c, name[c].unicode());
            }
            putU16(out, at + 0x40, uint16_t((name.size() + 1) * 2));
            out[at + 0x42] = char(node.type);
            out[at + 0x43] = char(node.red ? 0 : 1);
            putU32(out, at + 0x44, node.left);
            putU32(out, at + 0x48, node.right);
            putU32(out, at + 0x4C, node.child);
            putU32(out, at + 0x74, node.type == 1 ? 0 : node.start);
            putU32(out, at + 0x78, uint32_t(node.size));
        }
        return out;
    }

    QByteArray header() const {
        QByteArray out(SectorSize, '\0');
        out.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
        putU16(out, 0x18, 0x003E);
        putU16(out, 0x1A, 3);
        putU16(out, 0x1C, 0xFFFE);
        putU16(out, 0x1E, 9);
        putU16(out, 0x20, 6);
        putU32(out, 0x2C, uint32_t(fatSectors_.size()));
        putU32(out, 0x30, directoryStart_);
        putU32(out, 0x38, MiniCutoff);
        putU32(out, 0x3C, miniFatStart_);
        putU32(out, 0x40, uint32_t(miniFatBytes_.size() / SectorSize));
        putU32(out, 0x44, difatSectors_.empty() ? EndOfChain : difatSectors_.front());
        putU32(out, 0x48, uint32_t(difatSectors_.size()));
        for (int i = 0; i < HeaderDifatEntries; ++i) {
            const bool used = size_t(i) < fatSectors_.size();
            putU32(out, 0x4C + 4 * i, used ? fatSectors_[size_t(i)] : FreeSector);
        }
        return out;
    }

    QByteArray assemble() const {
        QByteArray out = header();
        const qsizetype base = out.size();
        out.resize(base + sectorCount_ * SectorSize, '\0');
        for (const auto& [start, data] : contents_) {
            if (start != EndOfChain) {
                out.replace(base + qsizetype(start) * SectorSize, data->size(), *data);
            }
        }
        for (size_t i = 0; i < fat_.size(); ++i) {
            const uint32_t sector = fatSectors_[i / PerSector];
            putU32(out, base + qsizetype(sector) * SectorSize + qsizetype(i % PerSector) * 4,
                   fat_[i]);
        }
        writeDifat(out, base);
        return out;
    }

    // FAT sectors past the header's 109 are listed in a chain of DIFAT
    // sectors, 127 to a sector and the next one's number last.
    void writeDifat(QByteArray& out, qsizetype base) const {
        size_t next = HeaderDifatEntries;
        for (size_t d = 0; d < difatSectors_.size(); ++d) {
            const qsizetype at = base + qsizetype(difatSectors_[d]) * SectorSize;
            for (int i = 0; i < PerSector - 1; ++i, ++next) {
                putU32(out, at + 4 * i, next < fatSectors_.size() ? fatSectors_[next] : FreeSector);
            }
            putU32(out, at + 4 * (PerSector - 1),
                   d + 1 < difatSectors_.size() ? difatSectors_[d + 1] : EndOfChain);
        }
    }

    std::vector<Node> nodes_;
    std::vector<uint32_t> fat_;
    std::vector<uint32_t> miniFat_;
    std::vector<uint32_t> fatSectors_;
    std::vector<uint32_t> difatSectors_;
    std::vector<std::pair<uint32_t, const QByteArray*>> contents_;
    QByteArray ministream_;
    QByteArray miniFatBytes_;
    QByteArray directory_;
    qsizetype sectorCount_ = 0;
    uint32_t miniFatStart_ = EndOfChain;
    uint32_t directoryStart_ = EndOfChain;
};

} // namespace

QByteArray CompoundFileWriter::write(const std::vector<CompoundFile::Entry>& entries) {
    return Writer(entries).write();
}

} // namespace tapwise
