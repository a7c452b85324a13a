#pragma once

#include <cstdint>
#include <optional>

namespace tapwise {

// Whether a package part may be unpacked, judged before it is: a small file
// can ask for gigabytes (a few hundred kilobytes of zip unpacking to hundreds
// of megabytes), and a sheet takes several times its unpacked size once
// parsed.
enum class PartSize { Fine, OutOfProportion, TooLargeForMemory };

// Parts up to this size are always unpacked.
inline constexpr uint64_t PartSizeFloor = uint64_t(64) << 20;
// Spreadsheet XML packs about ten to fifty times; beyond this it is not a
// sheet anyone typed.
inline constexpr uint64_t MaxPackingRatio = 200;
// Memory a parsed part takes for each byte of its text.
inline constexpr uint64_t ParsedBytesPerByte = 10;
// Memory a part kept as text (the active sheet) takes for each byte: the
// text, and the new text of the rows that change.
inline constexpr uint64_t TextBytesPerByte = 2;

PartSize judgePartSize(uint64_t unpacked, uint64_t packed, std::optional<uint64_t> available,
                       uint64_t bytesPerByte = ParsedBytesPerByte);

// The memory the system can give now without swapping (MemAvailable), when
// it says.
std::optional<uint64_t> availableMemory();

} // namespace tapwise
