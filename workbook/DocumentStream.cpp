#include "workbook/DocumentStream.h"

#include "workbook/XmlNames.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tapwise {

namespace {

class AppendWriter : public pugi::xml_writer {
public:
    explicit AppendWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override {
        out_.append(static_cast<const char*>(data), size);
    }

private:
    std::string& out_;
};

// Text escaped as the printer escapes it; attribute values also escape the
// quote and the blanks that attribute parsing would turn into spaces.
void appendEscaped(std::string& out, const char* text, bool attribute) {
    for (const char* c = text; *c; ++c) {
        switch (*c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        case '\n':
            out += attribute ? "&#10;" : "\n";
            break;
        case '\t':
            out += attribute ? "&#9;" : "\t";
            break;
        default:
            out += *c;
        }
    }
}

void appendStartTag(std::string& out, pugi::xml_node element) {
    out += '<';
    out += element.name();
    for (pugi::xml_attribute attribute : element.attributes()) {
        out += ' ';
        out += attribute.name();
        out += "=\"";
        appendEscaped(out, attribute.value(), true);
        out += '"';
    }
    out += '>';
}

} // namespace

void printXml(pugi::xml_node node, std::string& out) {
    const size_t start = out.size();
    AppendWriter writer(out);
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    escapeCarriageReturns(out, start);
}

DocumentStream::DocumentStream(pugi::xml_node bulky, std::unique_ptr<Body> body)
    : bulky_(bulky), body_(std::move(body)) {
    printEdges();
    rewind();
}

// Around the bulky element: its ancestors' start tags with the siblings
// before each, then the end tags with the siblings after each.
void DocumentStream::printEdges() {
    std::vector<pugi::xml_node> chain;
    for (pugi::xml_node node = bulky_; node.type() != pugi::node_document; node = node.parent()) {
        chain.push_back(node);
    }
    std::reverse(chain.begin(), chain.end());
    pugi::xml_node parent = bulky_.root();
    for (pugi::xml_node node : chain) {
        for (pugi::xml_node sibling = parent.first_child(); sibling != node;
             sibling = sibling.next_sibling()) {
            printXml(sibling, head_);
        }
        appendStartTag(head_, node);
        appendEscaped(head_, node.value(), false); // text held in the element itself
        parent = node;
    }
    for (auto node = chain.rbegin(); node != chain.rend(); ++node) {
        tail_ += "</";
        tail_ += node->name();
        tail_ += '>';
        for (pugi::xml_node sibling = node->next_sibling(); sibling;
             sibling = sibling.next_sibling()) {
            printXml(sibling, tail_);
        }
    }
}

uint64_t DocumentStream::size() {
    return head_.size() + body_->size() + tail_.size();
}

void DocumentStream::rewind() {
    stage_ = Stage::Head;
    body_->rewind();
    buffer_.clear();
    position_ = 0;
}

bool DocumentStream::refill() {
    buffer_.clear();
    position_ = 0;
    switch (stage_) {
    case Stage::Head:
        buffer_ = head_;
        stage_ = Stage::Children;
        return true;
    case Stage::Children:
        if (!body_->next(buffer_)) {
            stage_ = Stage::Tail;
        }
        return true;
    case Stage::Tail:
        buffer_ = tail_;
        stage_ = Stage::Done;
        return true;
    case Stage::Done:
        return false;
    }
    return false;
}

size_t DocumentStream::read(char* out, size_t max) {
    size_t copied = 0;
    while (copied < max) {
        if (position_ == buffer_.size() && !refill()) {
            break;
        }
        const size_t count = std::min(max - copied, buffer_.size() - position_);
        std::memcpy(out + copied, buffer_.data() + position_, count);
        position_ += count;
        copied += count;
    }
    return copied;
}

} // namespace tapwise
