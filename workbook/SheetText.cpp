#include "workbook/SheetText.h"

#include <algorithm>
#include <cstring>

namespace tapwise {

void SheetText::append(std::string_view bytes) {
    while (!bytes.empty()) {
        if (blocks_.empty() || blocks_.back().size() == BlockSize) {
            blocks_.emplace_back().reserve(BlockSize);
            live_.push_back(0);
        }
        const size_t count = std::min<size_t>(bytes.size(), BlockSize - blocks_.back().size());
        blocks_.back().append(bytes.substr(0, count));
        live_.back() += count;
        size_ += count;
        bytes.remove_prefix(count);
    }
}

uint64_t SheetText::find(char c, uint64_t from) const {
    for (uint64_t block = from / BlockSize; block < blocks_.size(); ++block) {
        const std::string& text = blocks_[block];
        const uint64_t start = block == from / BlockSize ? from % BlockSize : 0;
        if (start < text.size()) {
            const void* hit = std::memchr(text.data() + start, c, text.size() - start);
            if (hit) {
                return block * BlockSize + uint64_t(static_cast<const char*>(hit) - text.data());
            }
        }
    }
    return npos;
}

bool SheetText::startsWith(uint64_t offset, std::string_view text) const {
    if (offset + text.size() > size_) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (at(offset + i) != text[i]) {
            return false;
        }
    }
    return true;
}

uint64_t SheetText::find(std::string_view text, uint64_t from) const {
    for (uint64_t hit = find(text.front(), from); hit != npos; hit = find(text.front(), hit + 1)) {
        if (startsWith(hit, text)) {
            return hit;
        }
    }
    return npos;
}

void SheetText::appendTo(std::string& out, uint64_t begin, uint64_t end) const {
    while (begin < end) {
        const std::string& block = blocks_[begin / BlockSize];
        const uint64_t start = begin % BlockSize;
        const uint64_t count = std::min(end - begin, BlockSize - start);
        out.append(block, start, count);
        begin += count;
    }
}

std::string SheetText::copy(uint64_t begin, uint64_t end) const {
    std::string out;
    out.reserve(end - begin);
    appendTo(out, begin, end);
    return out;
}

void SheetText::release(uint64_t begin, uint64_t end) {
    while (begin < end) {
        const uint64_t block = begin / BlockSize;
        const uint64_t count = std::min(end - begin, BlockSize - begin % BlockSize);
        live_[block] -= std::min(live_[block], count);
        if (live_[block] == 0) {
            std::string().swap(blocks_[block]);
        }
        begin += count;
    }
}

} // namespace tapwise
