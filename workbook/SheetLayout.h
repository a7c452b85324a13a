#pragma once

#include "workbook/SheetText.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tapwise {

// Where the rows of a sheet's text are, found by a scan of its tags without
// building a document: the content of the root's first sheetData element and
// each element directly inside it, with the text that precedes it.
struct SheetLayout {
    struct Segment {
        uint64_t gapBegin; // the text since the previous element
        uint64_t begin;    // the element's start tag
        uint64_t end;      // just after its end tag
    };

    bool found = false; // the root has a sheetData element
    uint64_t contentBegin = 0;
    uint64_t contentEnd = 0;
    std::vector<Segment> segments;
    // Where the tags stop making sense (an unclosed tag or element); the
    // text is then left for the parser to describe.
    std::optional<uint64_t> brokenAt;

    static SheetLayout scan(const SheetText& text);
};

} // namespace tapwise
