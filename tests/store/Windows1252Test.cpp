#include "store/Windows1252.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace tapwise;

TEST(Windows1252, EveryByteRoundTripsThroughItsOwnCharacter) {
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString text = decodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(QSet<QChar>(text.begin(), text.end()).size(), 256);
    EXPECT_EQ(firstUnencodable(text), -1);
    EXPECT_EQ(encodeWindows1252(text), all);
}

TEST(Windows1252, MapsTheBytesAsWindowsDoes) {
    EXPECT_EQ(decodeWindows1252("\x80\xE9\x8A\x9F"), QStringLiteral("€éŠŸ"));
    // Undefined bytes become the C1 control of the same value.
    EXPECT_EQ(decodeWindows1252("\x81\x8D\x8F\x90\x9D"),
              QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D"));
}

TEST(Windows1252, FindsTheFirstCharacterWithoutAByte) {
    EXPECT_EQ(firstUnencodable(QStringLiteral("abΩc")), 2);
    // U+0080 is a control, not the euro sign that byte 0x80 stands for.
    EXPECT_EQ(firstUnencodable(QString::fromUtf16(u"a\u0080")), 1);
    const QString emoji = QStringLiteral("ok 😀");
    EXPECT_EQ(firstUnencodable(emoji), 3);
    EXPECT_EQ(characterAt(emoji, 3), QStringLiteral("😀"));
    EXPECT_EQ(codePointAt(emoji, 3), QStringLiteral("U+1F600"));
}
