// Screen-text checks against a real Tk text window under a window manager,
// and the user's clipboard after the program has ended.
#include "TapwiseSession.h"

#include "Wait.h"
#include "app/Startup.h"

#include <QFile>

namespace tapwise::test {
namespace {

class ScreenCheckE2ETest : public TapwiseSession {
protected:
    // The Tk window, focused; the screen position of its first character.
    QPoint startTextWindow() {
        const QString positionFile = pathInFolder(QStringLiteral("position.txt"));
        Subprocess::Options options;
        options.env = server_.env();
        EXPECT_TRUE(text_.start({QStringLiteral("wish"),
                                 QStringLiteral(TAPWISE_E2E_DIR "/screen_text.tcl"), positionFile},
                                options));
        const QString window = findWindow(server_, QStringLiteral("tapwise-text"));
        EXPECT_FALSE(window.isEmpty()) << "no Tk window";
        EXPECT_TRUE(focusWindow(server_, window, true));
        QPoint position;
        EXPECT_TRUE(waitUntil([&] {
            QFile file(positionFile);
            if (!file.open(QIODevice::ReadOnly))
                return false;
            const QList<QByteArray> values = file.readAll().trimmed().split(' ');
            position = values.size() == 2 ? QPoint(values[0].toInt(), values[1].toInt()) : QPoint();
            return position.x() > 0 && position.y() > 0;
        }));
        return position;
    }

    Subprocess text_;
};

// The drag from the first character to the right edge must have selected
// the line when the copy comes, every time: a failed check opens the pause
// window and the run would not end.
TEST_F(ScreenCheckE2ETest, TwentyChecksInARowFindTheTextAndTheUsersClipboardOutlivesTheProgram) {
    WindowManager wm;
    ASSERT_TRUE(wm.start(server_));
    const QPoint at = startTextWindow();
    ASSERT_FALSE(at.isNull());
    const QString check = QStringLiteral("*Chk(%1;%2;0;total 42)*").arg(at.x()).arg(at.y());
    addSequence(QStringLiteral("Checks"), Lines(20, {check, "0"}));
    ASSERT_TRUE(startTapwise({folder() + ",Checks,,NoMsg"}));
    EXPECT_EQ(waitForExit(std::chrono::seconds(90)), ExitDone)
        << "a check failed and its pause window is open\n"
        << errorOutput().toStdString();

    // The user's copy, put back after every check, is still there to paste.
    const CommandResult pasted =
        runCommand({"xclip", "-o", "-selection", "clipboard"}, server_.env());
    EXPECT_EQ(pasted.text().toStdString(), "copied by the user");
}

} // namespace
} // namespace tapwise::test
