#pragma once

#include <pugixml.hpp>

#include <QString>

#include <string>
#include <string_view>

namespace tapwise {

// Text in a cell or shared string may carry characters that XML cannot
// hold as "_xHHHH_" (a UTF-16 unit in hexadecimal); "_x005F_" is a literal
// underscore that protects a text which merely looks like an escape.
QString decodeEscapes(std::string_view utf8);
std::string encodeEscapes(const QString& text);

// The text of a string item (<si> of the shared strings or <is> of a cell):
// its plain text or its rich-text runs joined; phonetic runs are left out.
QString stringItemText(pugi::xml_node item);
// Fills an empty string item with text as a plain run, keeping blanks.
void writeStringItem(pugi::xml_node item, const QString& text);

} // namespace tapwise
