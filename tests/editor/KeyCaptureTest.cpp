#include "editor/KeyCapture.h"
#include "editor/X11KeyCodes.h"

#include <X11/keysym.h>

#include <gtest/gtest.h>

namespace tapwise {

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

QString keys(int code, int mask, char32_t typed = 0, char32_t base = 0) {
    return keyReleaseKeys({code, mask, typed, base});
}

TEST(KeyNotation, NamesPrefixesAndCharacters) {
    EXPECT_EQ(KeyNames(13), "{ENTER}");
    EXPECT_EQ(KeyNames(112), "{F1}");
    EXPECT_EQ(KeyNames(127), "{F16}");
    EXPECT_EQ(KeyNames(65), "");
    EXPECT_EQ(ModifierPrefix(7), "Shift+Ctrl+Alt");
    EXPECT_EQ(ModifierPrefix(6), "Ctrl+Alt");

    EXPECT_EQ(keys(13, 0, U'\r'), "{ENTER}");
    EXPECT_EQ(keys(32, 0, U' '), "{SPACE}");
    EXPECT_EQ(keys(32, ShiftMask, U' '), "Shift+{SPACE}");
    EXPECT_EQ(keys(65, 0, U'a'), "a");
    EXPECT_EQ(keys(65, ShiftMask, U'A'), "A");
    EXPECT_EQ(keys(49, ShiftMask, U'!'), "!");
    EXPECT_EQ(keys(67, CtrlMask), "Ctrl+c");
    EXPECT_EQ(keys(67, CtrlMask | ShiftMask), "Shift+Ctrl+c");
    EXPECT_EQ(keys(49, CtrlMask | AltMask), "Ctrl+Alt+1");
    EXPECT_EQ(keys(69, CtrlMask | AltMask, U'€'), "€"); // AltGr types a character
    EXPECT_EQ(keys(46, CtrlMask | AltMask, 127), "Ctrl+Alt+{DELETE}");
    EXPECT_EQ(keys(116, 0), "{F5}");
    EXPECT_EQ(keys(9, ShiftMask), "Shift+{TAB}");
    EXPECT_EQ(keys(223, 0, U'è'), "è");
    EXPECT_EQ(keys(189, CtrlMask, 0, U'-'), "Ctrl+-");
    EXPECT_EQ(keys(97, CtrlMask, 0, U'1'), "Ctrl+1"); // keypad 1, not "Ctrl+a"
}

TEST(KeyNotation, PlusAndCommaKeys) {
    EXPECT_EQ(keys(187, 0, U'+'), "{PLUS}");
    EXPECT_EQ(keys(187, 0, U'='), "{PLUS}"); // whatever the key types
    EXPECT_EQ(keys(188, 0, U','), "{COMMA}");
    EXPECT_EQ(keys(187, ShiftMask, U'*'), "*");
    EXPECT_EQ(keys(188, ShiftMask, U';'), ";");
    EXPECT_EQ(keys(187, CtrlMask), "Ctrl+{PLUS}");
    EXPECT_EQ(keys(188, CtrlMask | AltMask), "Ctrl+Alt+{COMMA}");
    // A comma from a key without a name (the keypad decimal key of some
    // layouts) never reaches a line.
    EXPECT_EQ(keys(110, 0, U','), "{COMMA}");
    EXPECT_EQ(keys(108, CtrlMask, 0, U','), "Ctrl+{COMMA}");
    EXPECT_EQ(keys(0, 0, U','), "{COMMA}");
}

TEST(KeyNotation, KeysThatPlaceNothing) {
    for (int modifier : {16, 17, 18})
        EXPECT_EQ(keys(modifier, CtrlMask, U'x'), "") << modifier;
    EXPECT_EQ(keys(0, 0), "");
    EXPECT_EQ(keys(223, 0), ""); // a dead key types nothing
    EXPECT_EQ(keys(223, CtrlMask), "");
    EXPECT_EQ(keys(0, 0, U'x'), "x");
    EXPECT_TRUE(movesDropDownSelection(38));
    EXPECT_FALSE(movesDropDownSelection(37));
}

int code(quint32 keysym, quint32 level1, quint32 level2 = 0) {
    return VirtualKeyCode({keysym, level1, level2});
}

TEST(X11KeyCodes, LayoutsMapOntoOneNumbering) {
    EXPECT_EQ(code(XK_a, XK_a, XK_A), 65);
    EXPECT_EQ(code(XK_A, XK_a, XK_A), 65);
    EXPECT_EQ(code(XK_exclam, XK_1, XK_exclam), 49);
    EXPECT_EQ(code(XK_ampersand, XK_ampersand, XK_1), 49); // French digit row
    EXPECT_EQ(code(XK_F5, XK_F5), 116);
    EXPECT_EQ(code(XK_F16, XK_F16), 127);
    EXPECT_EQ(code(XK_Return, XK_Return), 13);
    EXPECT_EQ(code(XK_ISO_Left_Tab, XK_Tab, XK_ISO_Left_Tab), 9);
    EXPECT_EQ(code(XK_KP_Up, XK_KP_Up, XK_KP_8), 38);
    EXPECT_EQ(code(XK_KP_8, XK_KP_Up, XK_KP_8), 104);
    EXPECT_EQ(code(XK_ISO_Level3_Shift, XK_ISO_Level3_Shift), 18);
    EXPECT_EQ(code(XK_Shift_R, XK_Shift_R), 16);
    // "+" and ",": the key that types them on the active layout.
    EXPECT_EQ(code(XK_plus, XK_plus, XK_asterisk), 187); // Italian, German
    EXPECT_EQ(code(XK_equal, XK_equal, XK_plus), 187);   // US, French
    EXPECT_EQ(code(XK_comma, XK_comma, XK_semicolon), 188);
    EXPECT_EQ(code(XK_comma, XK_comma, XK_question), 188); // French
    EXPECT_EQ(code(XK_egrave, XK_egrave, XK_eacute), 223); // Italian è
    EXPECT_EQ(code(XK_minus, XK_minus, XK_underscore), 189);
    EXPECT_EQ(code(XK_Super_L, XK_Super_L), 0);
}

TEST(X11KeyCodes, Characters) {
    EXPECT_EQ(KeysymCharacter(XK_egrave), U'è');
    EXPECT_EQ(KeysymCharacter(XK_EuroSign), U'€');
    EXPECT_EQ(KeysymCharacter(0x010020ac), U'€');
    EXPECT_EQ(KeysymCharacter(XK_Return), 0u);
    EXPECT_EQ(BaseCharacter({XK_KP_Separator, XK_KP_Delete, XK_KP_Separator}), U',');
    EXPECT_EQ(BaseCharacter({XK_underscore, XK_minus, XK_underscore}), U'-');
}

} // namespace
} // namespace tapwise
