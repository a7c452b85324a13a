#include "workbook/SheetLayout.h"

#include <string>

namespace tapwise {

namespace {

constexpr uint64_t npos = SheetText::npos;

// The '>' that closes the tag opened at open; a quoted attribute value may
// hold one.
uint64_t tagEnd(const SheetText& text, uint64_t open) {
    char quote = 0;
    for (uint64_t i = open + 1; i < text.size(); ++i) {
        const char c = text.at(i);
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return npos;
}

// The end of a markup declaration (<!DOCTYPE ...>), whose internal subset in
// brackets may hold '>'.
uint64_t declarationEnd(const SheetText& text, uint64_t open) {
    int brackets = 0;
    for (uint64_t i = open + 2; i < text.size(); ++i) {
        const char c = text.at(i);
        brackets += c == '[' ? 1 : c == ']' ? -1 : 0;
        if (c == '>' && brackets <= 0) {
            return i;
        }
    }
    return npos;
}

std::string localTagName(const SheetText& text, uint64_t open) {
    std::string name;
    for (uint64_t i = open + 1; i < text.size() && name.size() < 64; ++i) {
        const char c = text.at(i);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>') {
            break;
        }
        name += c;
    }
    const size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

// Where the comment, processing instruction, character data section or
// declaration opened at open ends (just after it); npos when it does not.
uint64_t skipSpecial(const SheetText& text, uint64_t open) {
    const auto after = [&](std::string_view closing, uint64_t from) {
        const uint64_t hit = text.find(closing, from);
        return hit == npos ? npos : hit + closing.size();
    };
    if (text.startsWith(open, "<?")) {
        return after("?>", open + 2);
    }
    if (text.startsWith(open, "<!--")) {
        return after("-->", open + 4);
    }
    if (text.startsWith(open, "<![CDATA[")) {
        return after("]]>", open + 9);
    }
    const uint64_t end = declarationEnd(text, open);
    return end == npos ? npos : end + 1;
}

} // namespace

SheetLayout SheetLayout::scan(const SheetText& text) {
    SheetLayout layout;
    constexpr int SheetDataDepth = 2; // inside the root
    int depth = 0;                    // elements open
    bool inside = false;
    uint64_t childBegin = 0;
    uint64_t gapBegin = 0;
    for (uint64_t position = 0;;) {
        const uint64_t open = text.find('<', position);
        if (open == npos || open + 1 >= text.size()) {
            break;
        }
        const char kind = text.at(open + 1);
        if (kind == '?' || kind == '!') {
            position = skipSpecial(text, open);
            if (position == npos) {
                layout.brokenAt = open;
                return layout;
            }
            continue;
        }
        const uint64_t close = tagEnd(text, open);
        if (close == npos) {
            layout.brokenAt = open;
            return layout;
        }
        position = close + 1;
        if (kind == '/') {
            if (--depth < 0) {
                layout.brokenAt = open;
                return layout;
            }
            if (inside && depth == SheetDataDepth) {
                layout.segments.push_back({gapBegin, childBegin, position});
                gapBegin = position;
            } else if (inside && depth == SheetDataDepth - 1) {
                layout.contentEnd = open;
                return layout;
            }
            continue;
        }
        const bool empty = text.at(close - 1) == '/';
        if (inside && depth == SheetDataDepth) {
            childBegin = open;
            if (empty) {
                layout.segments.push_back({gapBegin, open, position});
                gapBegin = position;
            }
        } else if (!layout.found && depth == SheetDataDepth - 1 &&
                   localTagName(text, open) == "sheetData") {
            layout.found = true;
            layout.contentBegin = layout.contentEnd = position;
            if (empty) {
                return layout;
            }
            inside = true;
            gapBegin = position;
        }
        depth += empty ? 0 : 1;
    }
    if (inside) {
        layout.brokenAt = text.size();
    }
    return layout;
}

} // namespace tapwise
