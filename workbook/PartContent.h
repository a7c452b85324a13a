#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tapwise {

// The new content of a package part, read out while the package is
// written, so that a large part need not be held as one text.
class PartContent {
public:
    virtual ~PartContent() = default;

    // The number of bytes that reading from the start gives.
    virtual uint64_t size() = 0;
    // Starts reading from the first byte (again).
    virtual void rewind() = 0;
    // Copies up to max bytes; 0 at the end.
    virtual size_t read(char* out, size_t max) = 0;

    static std::unique_ptr<PartContent> fromString(std::string text);
};

} // namespace tapwise
