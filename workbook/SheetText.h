#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tapwise {

// The text of a large part, held in blocks of a fixed size as it is
// unpacked: no single allocation as large as the part, and a block whose
// bytes have all been replaced elsewhere is given back.
class SheetText {
public:
    static constexpr uint64_t BlockSize = uint64_t(1) << 20;
    static constexpr uint64_t npos = UINT64_MAX;

    void append(std::string_view bytes);
    uint64_t size() const { return size_; }
    char at(uint64_t offset) const { return blocks_[offset / BlockSize][offset % BlockSize]; }
    // The first c at or after from; npos when there is none.
    uint64_t find(char c, uint64_t from) const;
    // The first occurrence of text at or after from; npos when none.
    uint64_t find(std::string_view text, uint64_t from) const;
    bool startsWith(uint64_t offset, std::string_view text) const;
    void appendTo(std::string& out, uint64_t begin, uint64_t end) const;
    std::string copy(uint64_t begin, uint64_t end) const;
    // The bytes from begin to end are no longer read; each byte is released
    // at most once.
    void release(uint64_t begin, uint64_t end);

private:
    std::vector<std::string> blocks_;
    std::vector<uint64_t> live_;
    uint64_t size_ = 0;
};

} // namespace tapwise
