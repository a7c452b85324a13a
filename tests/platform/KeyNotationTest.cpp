#include "platform/KeyNotation.h"
#include "platform/PlatformTexts.h"

#include <gtest/gtest.h>

namespace tapwise {
namespace {

// The parsed text written back stroke by stroke, separated by blanks, so that
// an expectation reads like the notation itself. Which key a name stands for
// is checked against a real X server (X11KeyboardTest).
QString strokes(const QString& notation) {
    auto parsed = parseKeyNotation(notation);
    if (!parsed) {
        return QStringLiteral("error: ") + parsed.error().message;
    }
    QStringList parts;
    for (const KeyStroke& s : parsed.value()) {
        parts << strokeNotation(s);
    }
    return parts.join(u' ');
}

TEST(KeyNotation, ModifiersHoldForTheNextKeyOnlyAndAloneAtTheEndTapThemselves) {
    EXPECT_EQ(strokes("+^%{DELETE}x"), "+^%{DELETE} x");
    EXPECT_EQ(strokes("^{+}a"), "^{+} a");
    EXPECT_EQ(strokes("+~"), "+{ENTER}");
    EXPECT_EQ(strokes("a+^"), "a +^");
    const auto tap = parseKeyNotation("^");
    ASSERT_TRUE(tap);
    EXPECT_EQ(tap.value(), QList<KeyStroke>({{KeyStroke::Kind::ModifiersOnly, 0, NamedKey::Enter,
                                              CtrlModifier, 1}}));
    EXPECT_TRUE(parseKeyNotation("").value().isEmpty());
}

TEST(KeyNotation, NamedKeysInAnyCaseWithRepeats) {
    const auto parsed = parseKeyNotation("+{LEFT 5}{enter}{PgDn 0}{F16}");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed.value(),
              QList<KeyStroke>({{KeyStroke::Kind::Named, 0, NamedKey::Left, ShiftModifier, 5},
                                {KeyStroke::Kind::Named, 0, NamedKey::Enter, NoModifier, 1},
                                {KeyStroke::Kind::Named, 0, NamedKey::PageDown, NoModifier, 0},
                                {KeyStroke::Kind::Named, 0, NamedKey::F16, NoModifier, 1}}));
}

TEST(KeyNotation, CharactersAreTypedAsThemselvesOrLiterallyInBraces) {
    EXPECT_EQ(strokes("{+}{^}{%}{~}{(}{)}{[}{]}{{}{}}"), "{+} {^} {%} {~} {(} {)} {[} {]} {{} {}}");
    EXPECT_EQ(strokes("{} 3}{a}"), "{} 3} a");
    EXPECT_EQ(strokes("{SPACE}{PLUS}{COMMA}"), "  {+} ,");
    EXPECT_EQ(strokes(QString::fromUtf8("aA7#*:[]é€ł😀")), // 😀 is outside the BMP
              QString::fromUtf8("a A 7 # * : {[} {]} é € ł 😀"));
    EXPECT_EQ(strokes("a~b\r\nc\nd\re\tf"), "a {ENTER} b {ENTER} c {ENTER} d {ENTER} e {TAB} f");
}

TEST(KeyNotation, MalformedTextIsRefusedWithAMessage) {
    struct Case {
        const char* text;
        const char* messagePart;
    };
    const Case cases[] = {
        {"ab{ENTER", "the \"{\" at position 3 is not closed"},
        {"{}", "is not closed"},
        {"a}", "the \"}\" at position 2 has no opening"},
        {"{ENTR}", "unknown key name \"{ENTR}\""},
        {"{F17}", "unknown key name"},
        {"{F0}", "unknown key name"},
        {"{F01}", "unknown key name"},
        {"{F+1}", "unknown key name"},
        {"{LEFT x}", "the count in \"{LEFT x}\" must be"},
        {"{LEFT 10000}", "must be a whole number from 0 to 9999"},
        {"{LEFT -1}", "must be"},
        {"+(ab)", "\"(\" at position 2 must be written \"{(}\""},
        {"a)", "must be written \"{)}\""},
        {"a\x01", "U+0001 at position 2 cannot be typed"},
        {"a{\x1b}", "U+001b at position 3 cannot be typed"},
        {"a\xef\xbf\xbf", "U+ffff at position 2 cannot be typed"},
        // The byte order mark: written back it would vanish ("{}").
        {"a\xef\xbb\xbf", "U+feff at position 2 cannot be typed"},
        {"{\xef\xbb\xbf}", "U+feff at position 2 cannot be typed"},
    };
    for (const Case& c : cases) {
        auto parsed = parseKeyNotation(QString::fromUtf8(c.text));
        ASSERT_FALSE(parsed) << c.text;
        EXPECT_EQ(parsed.error().code, kBadKeyNotation);
        EXPECT_TRUE(parsed.error().message.contains(QString::fromUtf8(c.messagePart)))
            << c.text << " -> " << parsed.error().message.toStdString();
    }
    QString loneSurrogate = QStringLiteral("a");
    loneSurrogate += QChar(0xD800);
    EXPECT_FALSE(parseKeyNotation(loneSurrogate));
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

} // namespace
} // namespace tapwise
