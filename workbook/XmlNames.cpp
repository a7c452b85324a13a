#include "workbook/XmlNames.h"

#include <algorithm>
#include <cstring>

namespace tapwise {

std::string_view localName(const char* qualifiedName) {
    const char* colon = std::strchr(qualifiedName, ':');
    return colon ? std::string_view(colon + 1) : std::string_view(qualifiedName);
}

bool hasLocalName(pugi::xml_node node, std::string_view name) {
    return node.type() == pugi::node_element && localName(node.name()) == name;
}

pugi::xml_node firstChild(pugi::xml_node parent, std::string_view name) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (hasLocalName(child, name)) {
            return child;
        }
    }
    return {};
}

pugi::xml_node nextSibling(pugi::xml_node node, std::string_view name) {
    for (pugi::xml_node next = node.next_sibling(); next; next = next.next_sibling()) {
        if (hasLocalName(next, name)) {
            return next;
        }
    }
    return {};
}

pugi::xml_attribute prefixedAttribute(pugi::xml_node node, std::string_view name) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        const char* full = attribute.name();
        if (std::strchr(full, ':') && localName(full) == name) {
            return attribute;
        }
    }
    return {};
}

std::string nameInScope(pugi::xml_node parent, std::string_view name) {
    const std::string_view parentName = parent.name();
    const size_t colon = parentName.find(':');
    if (colon == std::string_view::npos) {
        return std::string(name);
    }
    return std::string(parentName.substr(0, colon + 1)) + std::string(name);
}

pugi::xml_node ensureChild(pugi::xml_node parent, std::string_view name,
                           std::initializer_list<std::string_view> order) {
    if (pugi::xml_node existing = firstChild(parent, name)) {
        return existing;
    }
    const std::string qualified = nameInScope(parent, name);
    const auto own = std::find(order.begin(), order.end(), name);
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        const auto place = std::find(order.begin(), order.end(), localName(child.name()));
        if (own != order.end() && place != order.end() && place > own) {
            return parent.insert_child_before(qualified.c_str(), child);
        }
    }
    return parent.append_child(qualified.c_str());
}

void escapeCarriageReturns(std::string& printed, size_t from) {
    for (size_t at = printed.find('\r', from); at != std::string::npos;
         at = printed.find('\r', at + 5)) {
        printed.replace(at, 1, "&#13;");
    }
}

void setAttribute(pugi::xml_node node, const char* name, std::string_view value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        attribute = node.append_attribute(name);
    }
    attribute.set_value(std::string(value).c_str());
}

} // namespace tapwise
