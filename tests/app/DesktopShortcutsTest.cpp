#include "app/DesktopShortcuts.h"
#include "app/CommandLine.h"
#include "app/HelpWindow.h"
#include "app/Pickers.h"
#include "app/Startup.h"
#include "common/NativePath.h"
#include "common/Settings.h"
#include "gui/MessageBox.h"
#include "store/SequenceStore.h"

#include "WindowTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What launchers make of the quoting is checked with real launchers
// (e2e_launcher_test); here the escapes of the file itself.
TEST(LauncherTextTest, TheFileHoldsTheEntryAndItsNameGivesTheFileName) {
    const LauncherEntry entry{" Tapwise 2.1 (a\\b)", "/usr/bin/tapwise", "/data/,Orders,|,",
                              "/usr/bin", "tapwise"};
    EXPECT_EQ(LauncherText(entry), "[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Version=1.4\n"
                                   "Name=\\sTapwise 2.1 (a\\\\b)\n"
                                   "Exec=\"/usr/bin/tapwise\" \"/data/,Orders,|,\"\n"
                                   "Path=/usr/bin\n"
                                   "Icon=tapwise\n"
                                   "Terminal=false\n");

    EXPECT_EQ(LauncherFileName("Tapwise 2.1 (in/out)"), "Tapwise 2.1 (in-out).desktop");
    // A long name in two-byte characters still fits one file name, cut at a
    // whole character.
    const QString cut = LauncherFileName("Tapwise 2.1 (" + QString(200, u'é') + ")");
    EXPECT_LE(cut.toUtf8().size(), 240);
    EXPECT_TRUE(cut.startsWith("Tapwise 2.1 (ééé"));
    EXPECT_TRUE(cut.endsWith("é.desktop"));
}

TEST(LauncherTextTest, WritingReplacesSilentlyAndMakesTheFileExecutable) {
    QTemporaryDir dir;
    LauncherEntry entry{"Tapwise 2.1", "/usr/bin/tapwise", "/first/", "/usr/bin", {}};
    ASSERT_TRUE(WriteLauncher(dir.path(), entry, "E").ok());
    entry.argument = "/second/";
    ASSERT_TRUE(WriteLauncher(dir.path(), entry, "E").ok());
    const QString path = dir.filePath("Tapwise 2.1.desktop");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Tapwise 2.1.desktop"});
    EXPECT_TRUE(readText(path).contains("Exec=\"/usr/bin/tapwise\" \"/second/\"\n"));
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ExeOwner);

    const Status failed = WriteLauncher(dir.filePath("missing"), entry, "I");
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error().message.startsWith("Impossibile creare il collegamento!\n" +
                                                  dir.filePath("missing/Tapwise 2.1.desktop")));
}

// The argument a launcher carries is read back by the program's own parser.
TEST(LauncherArgumentTest, TheProgramReadsBackWhatTheLauncherCarries) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const QString book = dir.filePath("rows (2024).xlsx");
    QFile(book).open(QIODevice::WriteOnly);
    const QString name = "Daily $report \"é\" 100%";
    const Result<QString> argument = SequenceLauncherArgument(folder, name, book, "NoMsg", "E");
    ASSERT_TRUE(argument.ok());
    EXPECT_EQ(argument.value(), folder + "," + name + "," + book + "|,NoMsg");
    const Result<RunArguments> parsed = ParseRunArguments(argument.value(), "E");
    ASSERT_TRUE(parsed.ok()) << parsed.error().message.toStdString();
    EXPECT_EQ(parsed.value().dataFolder, folder);
    EXPECT_EQ(parsed.value().name, name);
    EXPECT_EQ(parsed.value().excelFile, book);
    EXPECT_EQ(parsed.value().password, "");
    EXPECT_EQ(parsed.value().noMsg, "NoMsg");
}

TEST(LauncherArgumentTest, WhatTheCommandLineWouldChangeIsRefused) {
    for (const QString name : {"Orders, monthly", " Orders", "Orders ", ""}) {
        const Result<QString> argument = SequenceLauncherArgument("/d/", name, "", "", "E");
        ASSERT_FALSE(argument.ok()) << name.toStdString();
        EXPECT_TRUE(argument.error().message.startsWith(name + "\n\nA shortcut cannot start"));
    }
    for (const QString book : {"/d/a,b.xlsx", "/d/a|b.xlsx", "/d/a.xlsx "}) {
        const Result<QString> argument = SequenceLauncherArgument("/d/", "Orders", book, "", "I");
        ASSERT_FALSE(argument.ok()) << book.toStdString();
        EXPECT_TRUE(argument.error().message.startsWith(book + "\n\nUn collegamento non"));
    }
    EXPECT_FALSE(MainLauncherArgument("/home/ann/a,b/", "E").ok());
    EXPECT_FALSE(MainLauncherArgument("/home/ann/new|i", "E").ok());
    // A bar elsewhere in a folder is only a character.
    EXPECT_EQ(MainLauncherArgument("/home/ann/a|b", "E").valueOr({}), "/home/ann/a|b");
    EXPECT_EQ(SequenceLauncherArgument("/a|b/", "O", "", "", "E").valueOr({}), "/a|b/,O,|,");
}

// A launcher file is UTF-8: a name made under Latin-1 ("caf\xE9") would
// reach the program as another name, so such paths are refused; characters
// beyond the first plane are UTF-8 and pass.
TEST(LauncherArgumentTest, PathsThatAreNotUtf8AreRefused) {
    const QString cafe = decodePath("/home/ann/caf\xE9/");
    const QString notUtf8 = "\n\nA shortcut cannot pass this path to the program: a folder";
    const Result<QString> folder = MainLauncherArgument(cafe, "E");
    ASSERT_FALSE(folder.ok());
    EXPECT_TRUE(folder.error().message.startsWith(cafe + notUtf8));
    const Result<QString> data = SequenceLauncherArgument(cafe, "Orders", "", "", "E");
    ASSERT_FALSE(data.ok());
    EXPECT_TRUE(data.error().message.startsWith(cafe + notUtf8));
    const QString book = cafe + "rows.xlsx";
    const Result<QString> workbook = SequenceLauncherArgument("/d/", "Orders", book, "", "I");
    ASSERT_FALSE(workbook.ok());
    EXPECT_TRUE(workbook.error().message.startsWith(book + "\n\nUn collegamento non"));

    const QString emoji = decodePath("/home/ann/\xF0\x9F\x93\x81 caf\xC3\xA9/");
    EXPECT_EQ(MainLauncherArgument(emoji, "E").valueOr({}), emoji);
}

// The windows' side: a desktop folder of the test's own, every question
// answered in advance.
class ShortcutWindowsTest : public testing::AnsweredMessagesTest {
protected:
    void SetUp() override {
        AnsweredMessagesTest::SetUp();
        settings.DataFolder = home.path() + "/data/";
        QDir().mkpath(settings.DataFolder);
        ResetPickerAnswers();
        SetHelpTestMode(true);
    }
    void TearDown() override {
        AnsweredMessagesTest::TearDown();
        SetHelpTestMode(false);
    }

    QStringList launchers() const { return home.launchers(); }
    QString launcher(const QString& name) const { return readText(home.launcherPath(name)); }
    QString lastShown() const {
        return MessageBox::shown().isEmpty() ? QString() : MessageBox::shown().back().text;
    }
    StoredSequence sequence(const QString& description, const Lines& lines) const {
        StoredSequence stored;
        stored.description = description;
        stored.lines = lines;
        return stored;
    }

    testing::TestHome home;
    Settings settings;
};

TEST_F(ShortcutWindowsTest, SequenceLauncherAsksAboutMessagesAndIsReplacedWithoutQuestion) {
    const StoredSequence orders = sequence("Orders\r\nmonthly", {{":abc", "10"}});
    MessageBox::setNextAnswer(QMessageBox::Yes);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    CreateSequenceShortcut(nullptr, settings, orders);
    const QString exec = LauncherExec(QCoreApplication::applicationFilePath(),
                                      settings.DataFolder + ",Orders,|,NoMsg");
    EXPECT_TRUE(launcher("Tapwise 2.1 (Orders)").contains("\nExec=" + exec + "\n"));
    EXPECT_EQ(lastShown(), "ShortCut:\nTapwise 2.1 (Orders)\n\nhas been created on DeskTop!");
    EXPECT_EQ(MessageBox::shown().front().text, "Do you want to suppress all the messages?");
    EXPECT_TRUE(pickerRequests().isEmpty());

    settings.Lang = "I";
    MessageBox::setNextAnswer(QMessageBox::No);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    CreateSequenceShortcut(nullptr, settings, orders);
    EXPECT_EQ(launchers(), QStringList{"Tapwise 2.1 (Orders).desktop"});
    EXPECT_TRUE(launcher("Tapwise 2.1 (Orders)").contains(",Orders,|,\"\n"));
    EXPECT_EQ(lastShown(),
              "Il collegamento:\nTapwise 2.1 (Orders)\n\ne' stato creato sul DeskTop!");
}

TEST_F(ShortcutWindowsTest, CancelOrANameTheCommandLineCannotCarryCreatesNothing) {
    MessageBox::setNextAnswer(QMessageBox::Cancel);
    CreateSequenceShortcut(nullptr, settings, sequence("Orders", {{"ExcelSheetColA", "0"}}));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    CreateSequenceShortcut(nullptr, settings, sequence("Orders, monthly", {{":a", "0"}}));
    EXPECT_TRUE(launchers().isEmpty());
    EXPECT_TRUE(pickerRequests().isEmpty());
    ASSERT_EQ(MessageBox::shown().size(), 2);
    EXPECT_TRUE(lastShown().startsWith("Orders, monthly\n\nA shortcut cannot start"));
}

TEST_F(ShortcutWindowsTest, ColumnLinesAskForTheWorkbookAndANameOver200IsCutInTheNameOnly) {
    const QString name = "Rows " + QString(250, u'x');
    const StoredSequence rows = sequence(name, {{":a", "0"}, {"excelsheetcolb", "0"}});
    const QString book = home.filePath("rows.xlsx");
    MessageBox::setNextAnswer(QMessageBox::No);
    SetNextBrowseResult(book);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    CreateSequenceShortcut(nullptr, settings, rows);
    ASSERT_EQ(pickerRequests().size(), 1);
    EXPECT_EQ(pickerRequests().front().BrowseMode, "FIL");
    EXPECT_EQ(pickerRequests().front().BrowseExtension, "xls");
    const QString shownName = "Tapwise 2.1 (" + name.left(200) + ")";
    EXPECT_TRUE(launcher(shownName).contains("\nName=" + shownName + "\n"));
    EXPECT_TRUE(launcher(shownName).contains("," + name + "," + book + "|,\"\n"));

    // Exit in the picker leaves the workbook to the run.
    MessageBox::setNextAnswer(QMessageBox::No);
    SetNextBrowseResult("");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    CreateSequenceShortcut(nullptr, settings, rows);
    EXPECT_TRUE(launcher(shownName).contains("," + name + ",|,\"\n"));
}

TEST_F(ShortcutWindowsTest, UninstallLeavesKeySequenceLaunchersAndABuildTreesProgram) {
    SequenceStore store(settings.DataFolder);
    ASSERT_TRUE(store.AppendSequence("Orders", {{":a", "0"}}).ok());
    QDir().mkpath(home.desktop());
    for (const QString name : {"Tapwise 2.1", "Tapwise 2.1 (Orders)"})
        ASSERT_TRUE(
            WriteLauncher(home.desktop(), {name, "/usr/bin/tapwise", "/d/", {}, {}}, "E").ok());

    Uninstall(nullptr, settings);
    EXPECT_EQ(launchers(), QStringList{"Tapwise 2.1 (Orders).desktop"});
    EXPECT_FALSE(store.DataFileExists());
    // No manifest lists a program run from its build tree.
    EXPECT_TRUE(QFile::exists(QCoreApplication::applicationFilePath()));
    // Nothing left to remove is no failure either: no message.
    Uninstall(nullptr, settings);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

// Start-up without an argument speaks through its message sink.
class RecordedQuestions : public MessageSink {
public:
    void showMessage(const QString&, const QString& text) override { shown << text; }
    bool askYesNo(const QString&, const QString& text) override {
        asked << text;
        return answerYes;
    }
    QStringList shown;
    QStringList asked;
    bool answerYes = false;
};

class NoRuns : public RunLauncher {
public:
    Result<Desktop*> desktop() override { return Error{1, "no desktop in this test"}; }
    RunEnd runSequence(qint32, QString&, QString&, QString&) override {
        ADD_FAILURE() << "nothing runs without an argument";
        return RunEnd::Failed;
    }
    int openMainWindow() override {
        ADD_FAILURE() << "no main window without an argument";
        return ExitRunFailed;
    }
};

class ShortcutOfferTest : public ShortcutWindowsTest {
protected:
    int start(const QString& argument) {
        return Startup(settings, messages, runs, false).run(argument);
    }
    // Showings of the manual since the test began.
    int manuals() const { return helpShowings() - manualsBefore; }

    int manualsBefore = helpShowings();
    RecordedQuestions messages;
    NoRuns runs;
};

TEST_F(ShortcutOfferTest, NoShowsTheManualAndCreatesNothing) {
    EXPECT_EQ(start("  "), ExitDone);
    ASSERT_EQ(messages.asked.size(), 1);
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_TRUE(messages.asked.front().startsWith(
        "Run the program supplying as an argument the full path of the folder which will "
        "contain the data.\nEx.: " +
        program + "  " + home.filePath("MyFolder") + "\n"));
    EXPECT_TRUE(
        messages.asked.front().endsWith("Do you want to create the shortcut automatically?"));
    EXPECT_EQ(manuals(), 1);
    EXPECT_EQ(lastHelpLang(), "E");
    EXPECT_TRUE(pickerRequests().isEmpty());
    EXPECT_TRUE(launchers().isEmpty());

    // A language suffix alone asks in that language.
    EXPECT_EQ(start("|i"), ExitDone);
    EXPECT_TRUE(messages.asked.back().startsWith("Avvia il programma"));
    EXPECT_TRUE(messages.asked.back().endsWith("Vuoi creare il collegamento automaticamente?"));
    EXPECT_EQ(lastHelpLang(), "I");
}

TEST_F(ShortcutOfferTest, YesMakesTheMainLauncherOnTheChosenFolderThenShowsTheManual) {
    messages.answerYes = true;
    const QString chosen = home.filePath("My data");
    SetNextBrowseResult(chosen);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    EXPECT_EQ(start(""), ExitDone);
    ASSERT_EQ(pickerRequests().size(), 1);
    EXPECT_EQ(pickerRequests().front().BrowseMode, "FLD");
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_TRUE(launcher("Tapwise 2.1").contains("\nExec=" + LauncherExec(program, chosen) + "\n"));
    EXPECT_EQ(lastShown(), "ShortCut:\nTapwise 2.1\n\nhas been created on DeskTop!");
    EXPECT_EQ(manuals(), 1);

    // Exit in the picker, then a folder the command line cannot carry.
    SetNextBrowseResult("");
    EXPECT_EQ(start(""), ExitDone);
    SetNextBrowseResult(home.filePath("a,b"));
    EXPECT_EQ(start(""), ExitDone);
    EXPECT_EQ(launchers(), QStringList{"Tapwise 2.1.desktop"});
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown.front().startsWith(home.filePath("a,b") + "\n\nA shortcut cannot"));
    EXPECT_EQ(manuals(), 3);
}

} // namespace
} // namespace tapwise
