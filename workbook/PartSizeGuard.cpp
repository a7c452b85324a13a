#include "workbook/PartSizeGuard.h"

#include <fstream>
#include <string>

namespace tapwise {

PartSize judgePartSize(uint64_t unpacked, uint64_t packed, std::optional<uint64_t> available,
                       uint64_t bytesPerByte) {
    if (unpacked <= PartSizeFloor) {
        return PartSize::Fine;
    }
    if (packed == 0 || unpacked / packed >= MaxPackingRatio) {
        return PartSize::OutOfProportion;
    }
    if (available && unpacked > *available / bytesPerByte) {
        return PartSize::TooLargeForMemory;
    }
    return PartSize::Fine;
}

std::optional<uint64_t> availableMemory() {
    std::ifstream info("/proc/meminfo");
    std::string name;
    uint64_t kilobytes = 0;
    std::string unit;
    while (info >> name >> kilobytes >> unit) {
        if (name == "MemAvailable:") {
            return kilobytes * 1024;
        }
    }
    return std::nullopt;
}

} // namespace tapwise
