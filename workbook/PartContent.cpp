#include "workbook/PartContent.h"

#include <algorithm>
#include <cstring>

namespace tapwise {

namespace {

class TextContent : public PartContent {
public:
    explicit TextContent(std::string text) : text_(std::move(text)) {}

    uint64_t size() override { return text_.size(); }
    void rewind() override { position_ = 0; }
    size_t read(char* out, size_t max) override {
        const size_t count = std::min(max, text_.size() - position_);
        std::memcpy(out, text_.data() + position_, count);
        position_ += count;
        return count;
    }

private:
    std::string text_;
    size_t position_ = 0;
};

} // namespace

std::unique_ptr<PartContent> PartContent::fromString(std::string text) {
    return std::make_unique<TextContent>(std::move(text));
}

} // namespace tapwise
