#pragma once

#include "workbook/PartContent.h"

#include <pugixml.hpp>

#include <memory>
#include <string>

namespace tapwise {

// Appends the node as the package's parts print it: raw, UTF-8, carriage
// returns escaped.
void printXml(pugi::xml_node node, std::string& out);

// A document written out piece by piece: the content of its one bulky
// element (the rows of a sheet) is given a batch at a time while it is read,
// the rest of the document is printed once around it.
class DocumentStream : public PartContent {
public:
    // The bulky element's content, which the document itself need not hold.
    class Body {
    public:
        virtual ~Body() = default;
        virtual uint64_t size() = 0;
        virtual void rewind() = 0;
        // Appends the next batch to out; false when there is no more.
        virtual bool next(std::string& out) = 0;
    };

    DocumentStream(pugi::xml_node bulky, std::unique_ptr<Body> body);

    uint64_t size() override;
    void rewind() override;
    size_t read(char* out, size_t max) override;

private:
    enum class Stage { Head, Children, Tail, Done };

    void printEdges();
    bool refill();

    pugi::xml_node bulky_;
    std::unique_ptr<Body> body_;
    std::string head_;
    std::string tail_;
    Stage stage_ = Stage::Head;
    std::string buffer_;
    size_t position_ = 0;
};

} // namespace tapwise
