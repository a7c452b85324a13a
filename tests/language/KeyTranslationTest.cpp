#include "Printers.h"

#include "language/KeyTranslation.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

TEST(KeysToSend, EveryFormOfKeysText) {
    // A single character of the notation's own goes in braces; any other,
    // line prefixes included, is typed as it is.
    for (const QChar c : QStringView(u"+^%~()[]{}"))
        EXPECT_EQ(KeysToSend(c), u'{' + QString(c) + u'}') << QString(c).toStdString();
    for (const QChar c : QStringView(u"#*:"))
        EXPECT_EQ(KeysToSend(c), QString(c)) << QString(c).toStdString();
    // Mouse, command and string lines pass unchanged; named keys are
    // translated; combinations put their prefixes always in the order Shift
    // Ctrl Alt; and a few texts have nothing to type.
    const std::pair<const char*, const char*> cases[] = {
        {"[LeftClick]", "[LeftClick]"},
        {"*If(True;;;4)*", "*If(True;;;4)*"},
        {":a+b", ":a+b"},
        {"{SPACE}", " "},
        {"{COMMA}", ","},
        {"{PLUS}", "{+}"},
        {"{space}", " "},
        {"{ENTER}", "{ENTER}"},
        {"Shift+Ctrl+Alt+x", "+^%x"},
        {"Shift+Ctrl+Alt+{DELETE}", "+^%{DELETE}"},
        {"Ctrl+c", "^c"},
        {"ctrl+shift+v", "+^v"},
        {"Ctrl+{PLUS}", "^{+}"},
        {"", ""},
        {"ExcelSheetCol#B", ""},
        {"#a", ""},
        {"Ctrl+", ""},
    };
    for (const auto& [keys, sent] : cases)
        EXPECT_EQ(KeysToSend(QString::fromUtf8(keys)), QString::fromUtf8(sent)) << keys;
}

} // namespace
} // namespace tapwise
