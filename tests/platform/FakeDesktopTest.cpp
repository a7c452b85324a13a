#include "platform/FakeDesktop.h"
#include "platform/PlatformTexts.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace tapwise {
namespace {

TEST(FakeDesktop, RefusedAndFailedCallsAreNotRecorded) {
    FakeDesktop d;
    d.setLang("I");
    Status status = d.sendKeys("{ENTR}", true);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().code, kBadKeyNotation);
    EXPECT_TRUE(status.error().message.startsWith("Testo dei tasti"));

    d.failNext("keys", Error{kDisplayFailed, "gone"});
    status = d.sendKeys("a", true);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().message, "gone");
    ASSERT_TRUE(d.sendKeys("b", true)); // only the next call fails
    d.failNext("pointer", Error{kDisplayFailed, "no"});
    EXPECT_FALSE(d.setPointer({1, 1}));
    EXPECT_EQ(d.pointer(), QPoint(0, 0));
    EXPECT_EQ(d.events(), QStringList({"keys b"}));
    EXPECT_EQ(d.typedText(), "b");
}

TEST(FakeDesktop, SleepAdvancesTheVirtualClockAndRunsWhatIsDue) {
    FakeDesktop d;
    const QDateTime start = d.currentDateTime();
    d.at(1s, [](FakeDesktop& f) { f.putClipboardText(QStringLiteral("early")); });
    for (int i = 0; i < 99; ++i) {
        d.sleep(10ms);
    }
    EXPECT_FALSE(d.clipboardHasText());
    d.sleep(10ms);
    EXPECT_EQ(d.clipboardText(), "early");
    ASSERT_TRUE(d.click(MouseButton::Left));
    d.sleep(1500us);
    d.sleep(-5ms); // a negative wait takes no time
    EXPECT_EQ(d.events(), QStringList({"sleep 1000ms", "click left", "sleep 1500us"}));
    EXPECT_EQ(d.eventsExcept("sleep"), QStringList({"click left"}));
    EXPECT_EQ(d.monotonicTime(), 1001500us);
    EXPECT_EQ(start.msecsTo(d.currentDateTime()), 1001);
    d.advance(1s); // not recorded
    EXPECT_EQ(d.events().size(), 3);
    bool ran = false;
    d.at(0s, [&ran](FakeDesktop&) { ran = true; }); // already due: runs at once
    EXPECT_TRUE(ran);
}

TEST(FakeDesktop, PauseKeyIsLatchedUntilQueriedOrSeenWhileHeld) {
    FakeDesktop d;
    d.pressPauseAt(25ms);
    d.sleep(20ms);
    EXPECT_FALSE(d.pauseKeyPressed());
    d.sleep(10ms);
    EXPECT_TRUE(d.pauseKeyPressed());  // pressed since the last query
    EXPECT_FALSE(d.pauseKeyPressed()); // and only once

    d.pressPauseAtQuery(2);
    EXPECT_FALSE(d.pauseKeyPressed());
    EXPECT_TRUE(d.pauseKeyPressed());
    EXPECT_FALSE(d.pauseKeyPressed());

    d.holdPauseKey(true);
    EXPECT_TRUE(d.pauseKeyPressed());
    EXPECT_TRUE(d.pauseKeyPressed());
    d.holdPauseKey(false);
    EXPECT_FALSE(d.pauseKeyPressed());
    EXPECT_EQ(d.pauseQueries(), 9);
}

TEST(FakeDesktop, ClipboardKeepsTextOrImageAndTheFocusedProgramReactsToKeys) {
    FakeDesktop d;
    d.onKeys([](const QString& keys, FakeDesktop& f) {
        if (keys == "^c") {
            f.putClipboardText("Total 12");
        }
    });
    d.putClipboardImage(QByteArray("\x89PNG fake", 9));
    const ClipboardContent image = d.saveClipboard();
    ASSERT_TRUE(d.setClipboardText("x y"));
    ASSERT_TRUE(d.sendKeys("^c", true));
    EXPECT_EQ(d.clipboardText(), "Total 12");
    ASSERT_TRUE(d.restoreClipboard(image));
    EXPECT_FALSE(d.clipboardHasText());
    EXPECT_EQ(d.saveClipboard().image, QByteArray("\x89PNG fake", 9));

    ASSERT_TRUE(d.restoreClipboard(ClipboardContent{true, "back", QByteArray("x")}));
    EXPECT_EQ(d.clipboardText(), "back");
    EXPECT_TRUE(d.saveClipboard().image.isEmpty()); // text wins over a picture
    ASSERT_TRUE(d.restoreClipboard({}));
    EXPECT_EQ(d.events(),
              QStringList({"clipboard-set x y", "keys ^c", "clipboard-restore image 9 bytes",
                           "clipboard-restore text back", "clipboard-restore empty"}));
}

TEST(FakeDesktop, PointerStaysOnTheScreenAndMovesFourPixelsPerUnit) {
    FakeDesktop d;
    d.setScreenSize({800, 600});
    ASSERT_TRUE(d.setPointer({100, 200}));
    ASSERT_TRUE(d.movePointerBy(-4, 3));
    EXPECT_EQ(d.pointer(), QPoint(84, 212));
    ASSERT_TRUE(d.setPointer({5000, -7}));
    EXPECT_EQ(d.pointer(), QPoint(799, 0));
    ASSERT_TRUE(d.movePointerBy(INT_MIN, INT_MAX));
    EXPECT_EQ(d.pointer(), QPoint(0, 599));
    d.putPointer({10, 20}); // the user moves the mouse: not recorded
    EXPECT_EQ(d.pointer(), QPoint(10, 20));
    EXPECT_EQ(d.events().size(), 4);
}

} // namespace
} // namespace tapwise
