#pragma once

#include "workbook/PartContent.h"

#include <pugixml.hpp>

#include <optional>
#include <string>

namespace tapwise {

// A document written out piece by piece: the children of its one bulky
// element (the rows of a sheet) are printed a batch at a time while they are
// read, the rest of the document is printed once around them.
class DocumentStream : public PartContent {
public:
    explicit DocumentStream(pugi::xml_node bulky);

    uint64_t size() override;
    void rewind() override;
    size_t read(char* out, size_t max) override;

private:
    enum class Stage { Head, Children, Tail, Done };

    void printEdges();
    bool refill();

    pugi::xml_node bulky_;
    std::string head_;
    std::string tail_;
    std::optional<uint64_t> size_;
    Stage stage_ = Stage::Head;
    pugi::xml_node next_;
    std::string buffer_;
    size_t position_ = 0;
};

} // namespace tapwise
