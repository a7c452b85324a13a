#include "platform/KeyNotation.h"
#include "platform/PlatformTexts.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

// The parsed text written back stroke by stroke, separated by blanks, so that
// an expectation reads like the notation itself.
QString roundTrip(const QString& notation) {
    auto strokes = parseKeyNotation(notation);
    if (!strokes) {
        return QStringLiteral("error: ") + strokes.error().message;
    }
    QStringList parts;
    for (const KeyStroke& s : strokes.value()) {
        parts << strokeNotation(s);
    }
    return parts.join(u' ');
}

TEST(KeyNotation, ModifiersApplyToTheNextKeyOnly) {
    EXPECT_EQ(roundTrip("^c"), "^c");
    EXPECT_EQ(roundTrip("+^%{DELETE}x"), "+^%{DELETE} x");
    EXPECT_EQ(roundTrip("%{F4}"), "%{F4}");
    EXPECT_EQ(roundTrip("^{+}"), "^{+}");
    EXPECT_EQ(roundTrip("+{TAB}"), "+{TAB}");
    EXPECT_EQ(roundTrip("^ "), "^ ");
}

TEST(KeyNotation, ModifierAloneAtTheEndIsATap) {
    auto strokes = parseKeyNotation("^");
    ASSERT_TRUE(strokes);
    ASSERT_EQ(strokes.value().size(), 1);
    EXPECT_EQ(strokes.value()[0].kind, KeyStroke::Kind::ModifiersOnly);
    EXPECT_EQ(strokes.value()[0].modifiers, unsigned(CtrlModifier));
    EXPECT_EQ(roundTrip("a+^"), "a +^");
    EXPECT_TRUE(parseKeyNotation("").value().isEmpty());
}

TEST(KeyNotation, NamedKeysInAnyCaseWithRepeats) {
    auto strokes = parseKeyNotation("+{LEFT 5}{enter}{PgDn}{BREAK}{F16}{prtsc}");
    ASSERT_TRUE(strokes);
    const QList<KeyStroke>& s = strokes.value();
    ASSERT_EQ(s.size(), 6);
    EXPECT_EQ(s[0], (KeyStroke{KeyStroke::Kind::Named, 0, NamedKey::Left, ShiftModifier, 5}));
    EXPECT_EQ(s[1].key, NamedKey::Enter);
    EXPECT_EQ(s[2].key, NamedKey::PageDown);
    EXPECT_EQ(s[3].key, NamedKey::Break);
    EXPECT_EQ(s[4].key, NamedKey::F16);
    EXPECT_EQ(s[5].key, NamedKey::PrintScreen);
    EXPECT_EQ(roundTrip("{LEFT 0}"), "{LEFT 0}");
}

TEST(KeyNotation, EveryListedNameIsKnown) {
    const char* names[] = {"BACKSPACE", "BREAK", "CAPSLOCK",   "DELETE", "DOWN",    "END",  "ENTER",
                           "ESC",       "HOME",  "INSERT",     "LEFT",   "NUMLOCK", "PGDN", "PGUP",
                           "PRTSC",     "RIGHT", "SCROLLLOCK", "TAB",    "UP"};
    for (const char* name : names) {
        const QString text = QStringLiteral("{%1}").arg(QLatin1String(name));
        EXPECT_EQ(roundTrip(text), text);
    }
    for (int n = 1; n <= 16; ++n) {
        const QString text = QStringLiteral("{F%1}").arg(n);
        EXPECT_EQ(roundTrip(text), text);
    }
}

TEST(KeyNotation, BracesTypeSpecialCharactersLiterally) {
    const QString specials = QStringLiteral("+^%~()[]{}");
    for (const QChar c : specials) {
        auto strokes = parseKeyNotation(QStringLiteral("{%1}").arg(c));
        ASSERT_TRUE(strokes) << c.toLatin1();
        ASSERT_EQ(strokes.value().size(), 1);
        EXPECT_EQ(strokes.value()[0].kind, KeyStroke::Kind::Character);
        EXPECT_EQ(strokes.value()[0].character, c.unicode());
    }
    EXPECT_EQ(roundTrip("{} 3}"), "{} 3}");
    EXPECT_EQ(roundTrip("{SPACE}{PLUS}{COMMA}"), "  {+} ,");
}

TEST(KeyNotation, TildeLineBreaksAndTabArePressedAsKeys) {
    EXPECT_EQ(roundTrip("a~b"), "a {ENTER} b");
    EXPECT_EQ(roundTrip("a\r\nb\nc\rd\te"), "a {ENTER} b {ENTER} c {ENTER} d {TAB} e");
    EXPECT_EQ(roundTrip("+~"), "+{ENTER}");
}

TEST(KeyNotation, OtherCharactersAreTypedAsThemselvesInTheirCase) {
    auto strokes = parseKeyNotation(QString::fromUtf8("aA7#*:[]é€ł😀"));
    ASSERT_TRUE(strokes);
    const QList<KeyStroke>& s = strokes.value();
    ASSERT_EQ(s.size(), 12);
    EXPECT_EQ(s[0].character, U'a');
    EXPECT_EQ(s[1].character, U'A');
    EXPECT_EQ(s[6].character, U'[');
    EXPECT_EQ(s[8].character, U'é');
    EXPECT_EQ(s[10].character, U'ł');
    EXPECT_EQ(s[11].character, char32_t(0x1F600)); // outside the Basic Multilingual Plane
    for (const KeyStroke& k : s) {
        EXPECT_EQ(k.modifiers, 0u);
        EXPECT_EQ(k.repeat, 1);
    }
}

TEST(KeyNotation, MalformedTextIsRefusedWithAMessage) {
    struct Case {
        const char* text;
        const char* messagePart;
    };
    const Case cases[] = {
        {"ab{ENTER", "the \"{\" at position 3 is not closed"},
        {"{", "is not closed"},
        {"{}", "is not closed"},
        {"a}", "the \"}\" at position 2 has no opening"},
        {"{ENTR}", "unknown key name \"{ENTR}\""},
        {"{F17}", "unknown key name"},
        {"{F0}", "unknown key name"},
        {"{F01}", "unknown key name"},
        {"{LEFT x}", "the count in \"{LEFT x}\" must be"},
        {"{LEFT 10000}", "must be a whole number from 0 to 9999"},
        {"{LEFT -1}", "must be"},
        {"+(ab)", "\"(\" at position 2 must be written \"{(}\""},
        {"a)", "must be written \"{)}\""},
        {"a\x01", "U+0001 at position 2 cannot be typed"},
        {"a{\x1b}", "U+001b at position 3 cannot be typed"},
        {"a\xef\xbf\xbf", "U+ffff at position 2 cannot be typed"},
    };
    for (const Case& c : cases) {
        auto strokes = parseKeyNotation(QString::fromUtf8(c.text));
        ASSERT_FALSE(strokes) << c.text;
        EXPECT_EQ(strokes.error().code, kBadKeyNotation);
        EXPECT_TRUE(strokes.error().message.contains(QString::fromUtf8(c.messagePart)))
            << c.text << " -> " << strokes.error().message.toStdString();
    }
}

TEST(KeyNotation, MessagesFollowTheLanguageAndKeepPercentSigns) {
    auto italian = parseKeyNotation("%2{X", "I");
    ASSERT_FALSE(italian);
    EXPECT_EQ(italian.error().message,
              QString::fromUtf8("Testo dei tasti \"%2{X\": la \"{\" alla posizione 3 non e' "
                                "chiusa."));
    auto english = parseKeyNotation("{NOPE}", "e");
    ASSERT_FALSE(english);
    EXPECT_EQ(english.error().message,
              QString::fromUtf8("Keystroke text \"{NOPE}\": unknown key name \"{NOPE}\"."));
}

TEST(KeyNotation, LoneSurrogateIsRefused) {
    QString text = QStringLiteral("a");
    text += QChar(0xD800);
    EXPECT_FALSE(parseKeyNotation(text));
}

} // namespace
} // namespace tapwise
