// The clipboard of the X11 desktop, shared with xclip, under Xvfb. Qt's
// clipboard needs a QGuiApplication on the X server: this test has its own
// main that starts the server first.
#include "X11TestSupport.h"

#include "Wait.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

namespace tapwise::test {
namespace {

XvfbServer* server = nullptr; // the server the application runs on, set by main()

class X11ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto opened = X11Desktop::open(QStringLiteral("E"), server->display());
        ASSERT_TRUE(opened) << opened.error().message.toStdString();
        desktop_ = std::move(opened).value();
    }

    CommandResult xclipOut(const QString& target = QStringLiteral("UTF8_STRING")) {
        return runCommand({"xclip", "-o", "-selection", "clipboard", "-t", target}, server->env(),
                          std::chrono::seconds(30));
    }

    // xclip owning the clipboard until it loses it or is stopped.
    bool xclipIn(Subprocess& owner, const QByteArray& data, const QString& target) {
        Subprocess::Options options;
        options.env = server->env();
        options.input = data;
        return owner.start({"xclip", "-quiet", "-selection", "clipboard", "-t", target, "-i"},
                           options);
    }

    std::unique_ptr<X11Desktop> desktop_;
};

TEST_F(X11ClipboardTest, TextGoesBothWaysWithXclipAndSurvivesSaveClearRestore) {
    Subprocess owner;
    ASSERT_TRUE(xclipIn(owner, QByteArray("from xclip \xc3\xa9"), "UTF8_STRING"));
    const QString fromXclip = QString::fromUtf8("from xclip é");
    EXPECT_TRUE(waitUntil([&] { return desktop_->clipboardText() == fromXclip; }))
        << desktop_->clipboardText().toStdString();
    EXPECT_TRUE(desktop_->clipboardHasText());
    const ClipboardContent saved = desktop_->saveClipboard();
    EXPECT_TRUE(saved.hasText);
    EXPECT_EQ(saved.text, fromXclip);

    ASSERT_TRUE(desktop_->clearClipboard());
    EXPECT_TRUE(waitUntil([&] { return !desktop_->clipboardHasText(); }));
    EXPECT_NE(xclipOut().exitCode, 0); // nobody owns it any more
    ASSERT_TRUE(desktop_->restoreClipboard(saved));
    EXPECT_EQ(QString::fromUtf8(xclipOut().output), fromXclip);

    const QString text = QString::fromUtf8("Grüße, 123 € – Zeile");
    ASSERT_TRUE(desktop_->setClipboardText(text));
    EXPECT_EQ(desktop_->clipboardText(), text); // while we own it
    EXPECT_EQ(QString::fromUtf8(xclipOut().output), text);
    EXPECT_EQ(desktop_->screenSize(), QSize(1280, 1024)); // the primary QScreen
}

TEST_F(X11ClipboardTest, ImageSurvivesSaveClearRestore) {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(3, 2, qRgb(0, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));

    Subprocess owner;
    ASSERT_TRUE(xclipIn(owner, png, "image/png"));
    ClipboardContent saved;
    EXPECT_TRUE(waitUntil([&] {
        saved = desktop_->saveClipboard();
        return !saved.image.isEmpty();
    }));
    EXPECT_FALSE(saved.hasText);
    EXPECT_FALSE(desktop_->clipboardHasText());

    ASSERT_TRUE(desktop_->clearClipboard());
    owner.stop();
    EXPECT_TRUE(waitUntil([&] { return desktop_->saveClipboard().image.isEmpty(); }));
    ASSERT_TRUE(desktop_->restoreClipboard(saved));

    const CommandResult out = xclipOut(QStringLiteral("image/png"));
    ASSERT_EQ(out.exitCode, 0) << out.errors.toStdString();
    const QImage back = QImage::fromData(out.output, "PNG").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back, image);
}

} // namespace
} // namespace tapwise::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tapwise::test::XvfbServer server;
    if (!server.start()) {
        fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    server.makeCurrent();
    qputenv("QT_QPA_PLATFORM", "xcb"); // the test command asks for offscreen
    tapwise::test::server = &server;
    int code = 0;
    {
        QGuiApplication app(argc, argv);
        code = RUN_ALL_TESTS();
    }
    return code;
}
