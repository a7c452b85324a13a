// Launchers written by the program, checked by desktop-file-validate and
// started by two launchers that nobody here wrote: `gio launch` (GLib, as
// GNOME and Xfce start them) and `dex`.
#include "TapwiseSession.h"

#include "Wait.h"
#include "app/DesktopShortcuts.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "gui/Twips.h"
#include "store/SequenceStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace tapwise::test {
namespace {

class LauncherE2ETest : public TapwiseSession {
protected:
    void SetUp() override {
        TapwiseSession::SetUp();
        ASSERT_TRUE(work.isValid());
        desktop = work.filePath("Desktop");
        ASSERT_TRUE(QDir().mkpath(desktop));
    }

    // Writes the launcher and has desktop-file-validate read it: no error,
    // no warning.
    QString writeChecked(const LauncherEntry& entry) {
        const Status written = WriteLauncher(desktop, entry, "E");
        EXPECT_TRUE(written.ok()) << written.error().message.toStdString();
        const QString path = QDir(desktop).filePath(LauncherFileName(entry.name));
        const CommandResult check = runCommand({"desktop-file-validate", path});
        EXPECT_EQ(check.exitCode, 0) << check.text().toStdString();
        EXPECT_EQ(check.text(), "") << path.toStdString();
        return path;
    }

    // In a session of its own, so that what the launcher starts outlives
    // the launcher's process group, and with output to /dev/null, which
    // stays open when the launcher has ended.
    int launch(const QString& launcher, const QString& path) {
        const QStringList argv = launcher == "gio"
                                     ? QStringList{"setsid", "-w", "gio", "launch", path}
                                     : QStringList{"setsid", "-w", "dex", path};
        Subprocess process;
        Subprocess::Options options;
        options.env = server_.env() + QStringList{"QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8"};
        if (!process.start(argv, options) || !process.wait(std::chrono::seconds(60)))
            return -1;
        return process.exitCode();
    }

    QTemporaryDir work;
    QString desktop;
};

// A program that writes the words it was given, each ended by a NUL byte.
QString writeRecorder(const QString& folder) {
    const QString path = folder + "/record words";
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n"
                 "for word in \"$@\"; do printf '%s\\0' \"$word\"; done > \"$0.tmp\"\n"
                 "mv \"$0.tmp\" \"$0.out\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

// dex reads backslashes and "%%" inside quotes as they stand.
bool dexReadsItRight(const QString& argument) {
    return !argument.contains(QRegularExpression(R"([\\"`$%])"));
}

TEST_F(LauncherE2ETest, TheProgramGetsExactlyItsArgumentAndNoShellReadsIt) {
    const QString recorder = writeRecorder(work.path());
    const QString output = recorder + ".out";
    const QString canary = work.filePath("canary");
    const QString data = folder() + "/";
    const QStringList arguments = {
        data + ",Daily  report,|,",
        data + ",Say \"hi\" and 'bye',|,NoMsg",
        data + ",Cost $HOME `touch " + canary + "` $(touch " + canary + "),|,",
        data + ",100% done %u %f %%,|,",
        data + ",Caffè à la carte é,|,",
        data + ",C:\\Data\\ and \\\\server,|,",
        data + "," + QString(120, u'x') + " " + QString(130, u'é') + ",|,",
    };
    for (const QString& argument : arguments) {
        const QString name = "Tapwise 2.1 (" + argument.section(u',', 1, 1).left(200) + ")";
        const QString path =
            writeChecked({name, recorder, argument, work.path(), QStringLiteral("tapwise")});
        for (const QString launcher : {"gio", "dex"}) {
            QFile::remove(output);
            const bool exact = launcher == "gio" || dexReadsItRight(argument);
            const int status = launch(launcher, path);
            // dex refuses some of the others ("unbalanced quotes").
            if (!exact && status != 0)
                continue;
            ASSERT_EQ(status, 0) << launcher.toStdString() << ": " << argument.toStdString();
            ASSERT_TRUE(waitUntil([&] { return QFile::exists(output); }))
                << launcher.toStdString() << " started nothing for " << argument.toStdString();
            QFile words(output);
            ASSERT_TRUE(words.open(QIODevice::ReadOnly));
            if (exact) {
                EXPECT_EQ(words.readAll(), argument.toUtf8() + '\0')
                    << launcher.toStdString() << ": " << argument.toStdString();
            }
        }
    }
    EXPECT_FALSE(QFile::exists(canary));
}

// The real program through a Key sequence's launcher, without messages: it
// types into the focused terminal only when it found its Key sequence by
// the name the launcher carried.
TEST_F(LauncherE2ETest, AKeySequenceLauncherRunsItsKeySequence) {
    const QString plain = "Tom's report é (copy)";
    const QString marked = "Say \"hi\" for $5 `now` 100%";
    addSequence(plain + "\r\nwhat dex starts", {{":dex ok", "0"}, {"{ENTER}", "0"}});
    addSequence(marked, {{":gio ok", "0"}, {"{ENTER}", "0"}});
    CatTerminal term;
    ASSERT_TRUE(term.start(server_, false)) << term.error().toStdString();

    const struct {
        QString name;
        QString launcher;
        QByteArray typed;
    } runs[] = {{plain, "dex", "dex ok\n"}, {marked, "gio", "dex ok\ngio ok\n"}};
    for (const auto& run : runs) {
        const Result<QString> argument =
            SequenceLauncherArgument(folder() + "/", run.name, "", "NoMsg", "E");
        ASSERT_TRUE(argument.ok()) << argument.error().message.toStdString();
        const QString path = writeChecked({"Tapwise 2.1 (" + run.name + ")", TAPWISE_PROGRAM,
                                           argument.value(), work.path(), "tapwise"});
        ASSERT_EQ(launch(run.launcher, path), 0);
        ASSERT_TRUE(term.waitForSize(run.typed.size())) << run.launcher.toStdString();
        EXPECT_EQ(term.content(), run.typed);
    }
}

// The whole life of an installation: `cmake --install` into a prefix of the
// test's own, the installed program started without an argument makes the
// main launcher, the launcher opens the main window, and Uninstall with
// Ctrl+Alt removes the launcher, the data file and, once the program has
// ended, every installed file.
class InstalledLauncherE2ETest : public LauncherE2ETest {
protected:
    void SetUp() override {
        LauncherE2ETest::SetUp();
        ASSERT_TRUE(wm.start(server_));
        prefix = work.filePath("installed");
        home = work.filePath("home");
        ASSERT_TRUE(QDir().mkpath(home));
    }

    QStringList sessionEnv() const {
        return server_.env() + QStringList{"QT_QPA_PLATFORM=xcb", "LC_ALL=C.UTF-8", "HOME=" + home,
                                           "XDG_CONFIG_HOME=" + home + "/config"};
    }
    // Gives the window titled title the focus and presses keys in it.
    bool answer(const QString& title, const QStringList& keys) {
        const QString window = waitForWindow(title);
        return !window.isEmpty() && focusWindow(server_, window, true) && pressKeys(keys);
    }
    QStringList manifestFiles() const {
        QFile manifest(prefix + "/share/tapwise/installed-files");
        if (!manifest.open(QIODevice::ReadOnly))
            return {};
        QStringList files = QString::fromUtf8(manifest.readAll()).split(u'\n', Qt::SkipEmptyParts);
        files.removeFirst(); // its comment
        return files;
    }

    WindowManager wm;
    QString prefix;
    QString home;
};

TEST_F(InstalledLauncherE2ETest, OfferLauncherMainWindowAndUninstall) {
    const CommandResult installed = runCommand(
        {"cmake", "--install", qEnvironmentVariable("TAPWISE_BINARY_DIR"), "--prefix", prefix});
    ASSERT_EQ(installed.exitCode, 0) << QString::fromUtf8(installed.errors).toStdString();
    const QStringList files = manifestFiles();
    const QString program = prefix + "/bin/tapwise";
    ASSERT_EQ(files.size(), 6) << files.join(u' ').toStdString();
    EXPECT_TRUE(files.contains(program));
    EXPECT_TRUE(files.contains(prefix + "/bin/tapwise-clipboard-keeper"));
    EXPECT_EQ(runCommand({"desktop-file-validate", prefix + "/share/applications/tapwise.desktop"})
                  .exitCode,
              0);

    // No argument: Yes, Select (the program's folder is offered), OK, and
    // the manual closed.
    Subprocess::Options options;
    options.env = sessionEnv();
    ASSERT_TRUE(tapwise_.start({program}, options));
    ASSERT_TRUE(answer("Tapwise 2.1", {"Return"}));
    ASSERT_TRUE(answer("Select or create a folder", {"Return"}));
    ASSERT_TRUE(answer("Tapwise", {"Return"}));
    ASSERT_TRUE(answer("Tapwise 2.1  Tutorial", {"Escape"}));
    EXPECT_EQ(waitForExit(), ExitDone);
    const QString launcherPath = home + "/Desktop/Tapwise 2.1.desktop";
    ASSERT_TRUE(QFile::exists(launcherPath));
    EXPECT_EQ(runCommand({"desktop-file-validate", launcherPath}).exitCode, 0);

    // The launcher opens the main window on that folder.
    const QString dataFolder = prefix + "/bin/";
    ASSERT_TRUE(SequenceStore(dataFolder).AppendSequence("Orders", {{":a", "0"}}).ok());
    Subprocess dex;
    ASSERT_TRUE(dex.start({"setsid", "dex", launcherPath}, options));
    const QString main = waitForWindow("Tapwise 2.1", TwipsToPixels(mainWindow::Height));
    ASSERT_FALSE(main.isEmpty()) << "no main window";

    // Uninstall (Command12, left edge at 8160 twips in the bottom row),
    // clicked with Ctrl+Alt held.
    const QPoint uninstall(TwipsToPixels(8160 + mainWindow::SideWidth / 2),
                           TwipsToPixels(mainWindow::BottomRow + mainWindow::ButtonHeight / 2));
    ASSERT_EQ(runCommand({"xdotool", "keydown", "ctrl+alt", "mousemove", "--window", main, "--sync",
                          QString::number(uninstall.x()), QString::number(uninstall.y()), "click",
                          "1", "keyup", "ctrl+alt"},
                         server_.env())
                  .exitCode,
              0);
    ASSERT_TRUE(answer("Tapwise", {"Return"})); // "Are you sure you want to uninstall?"
    EXPECT_TRUE(waitUntil([&] {
        return std::none_of(files.begin(), files.end(),
                            [](const QString& file) { return QFile::exists(file); }) &&
               !QFile::exists(prefix + "/share/tapwise");
    }));
    EXPECT_FALSE(QFile::exists(launcherPath));
    EXPECT_FALSE(QFile::exists(dataFolder + "TapwiseData.dtk"));
}

} // namespace
} // namespace tapwise::test
