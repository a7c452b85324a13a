#include "Printers.h"

#include "language/KeyTranslation.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

TEST(KeysToSend, EveryFormOfKeysText) {
    const std::pair<const char*, const char*> cases[] = {
        // single characters: the notation's own go in braces
        {"+", "{+}"},
        {"^", "{^}"},
        {"%", "{%}"},
        {"~", "{~}"},
        {"(", "{(}"},
        {")", "{)}"},
        {"[", "{[}"},
        {"]", "{]}"},
        {"{", "{{}"},
        {"}", "{}}"},
        {"a", "a"},
        {"#", "#"},
        {"*", "*"},
        {":", ":"},
        {"€", "€"},
        // mouse, command and string lines pass unchanged
        {"[LeftClick]", "[LeftClick]"},
        {"[]", "[]"},
        {"*If(True;;;4)*", "*If(True;;;4)*"},
        {":a+b", ":a+b"},
        // named keys
        {"{SPACE}", " "},
        {"{COMMA}", ","},
        {"{PLUS}", "{+}"},
        {"{space}", " "},
        {"{ENTER}", "{ENTER}"},
        // combinations: prefixes always in the order Shift Ctrl Alt
        {"Shift+Ctrl+Alt+x", "+^%x"},
        {"Shift+Ctrl+Alt+{DELETE}", "+^%{DELETE}"},
        {"Ctrl+c", "^c"},
        {"Alt+{F4}", "%{F4}"},
        {"Shift+{TAB}", "+{TAB}"},
        {"ctrl+shift+v", "+^v"},
        {"Ctrl+{SPACE}", "^ "},
        {"Ctrl+{PLUS}", "^{+}"},
        {"Alt+{COMMA}", "%,"},
        // nothing to type
        {"", ""},
        {"hello", ""},
        {"ExcelSheetCol#B", ""},
        {"#a", ""},
        {"Ctrl+", ""},
    };
    for (const auto& [keys, sent] : cases)
        EXPECT_EQ(KeysToSend(QString::fromUtf8(keys)), QString::fromUtf8(sent)) << keys;
}

TEST(KeysToSend, EveryCharacterOfAStringIsTypedLiterally) {
    QStringList sent;
    for (QChar c : QStringLiteral(":a+b{%").mid(1))
        sent << KeysToSend(QString(c));
    EXPECT_EQ(sent, QStringList({"a", "{+}", "b", "{{}", "{%}"}));
}

} // namespace
} // namespace tapwise
