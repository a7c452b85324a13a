#pragma once

#include <pugixml.hpp>

#include <initializer_list>
#include <string>
#include <string_view>

namespace tapwise {

// Parts may carry their elements under a prefix ("x:c") or in the strict
// namespace, so elements and the relationship attributes are matched on
// their local names only.

std::string_view localName(const char* qualifiedName);
bool hasLocalName(pugi::xml_node node, std::string_view name);
pugi::xml_node firstChild(pugi::xml_node parent, std::string_view name);
pugi::xml_node nextSibling(pugi::xml_node node, std::string_view name);
// The first attribute with this local name that carries a prefix ("r:id").
pugi::xml_attribute prefixedAttribute(pugi::xml_node node, std::string_view name);
// The qualified name for a new child of parent: parent's own prefix, if any.
std::string nameInScope(pugi::xml_node parent, std::string_view name);
// The child named name, created when missing at the place that the order of
// the element's children (local names) gives it.
pugi::xml_node ensureChild(pugi::xml_node parent, std::string_view name,
                           std::initializer_list<std::string_view> order);
// The printer writes a carriage return in text as it is, and a reader
// would take it for a line feed: printed XML gets "&#13;" for each instead,
// from the byte at from on.
void escapeCarriageReturns(std::string& printed, size_t from = 0);

// Sets an attribute, adding it when missing.
void setAttribute(pugi::xml_node node, const char* name, std::string_view value);

} // namespace tapwise
