#include "app/Startup.h"
#include "common/Settings.h"
#include "platform/FakeDesktop.h"
#include "store/SequenceStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

struct Shown {
    QString title;
    QString text;
};

class RecordingMessages : public MessageSink {
public:
    void showMessage(const QString& title, const QString& text) override {
        shown.push_back({title, text});
    }
    bool askYesNo(const QString& title, const QString& text) override {
        questions.push_back({title, text});
        return answerYes;
    }

    std::vector<Shown> shown;
    std::vector<Shown> questions;
    bool answerYes = false;
};

struct RunCall {
    qint32 position = 0;
    QString name;
    QString excelFile;
    QString password;
    QString noMsg;
    QString lang;
};

class RecordingLauncher : public RunLauncher {
public:
    explicit RecordingLauncher(Settings& settings) : settings_(settings) {}

    Result<Desktop*> desktop() override {
        ++desktopRequests;
        if (desktopMissing)
            return Error{3004, "no display"};
        return &fake;
    }
    RunEnd runSequence(qint32 position, QString& name, QString& excelFile,
                       QString& password) override {
        runs.push_back({position, name, excelFile, password, settings_.NoMsg, settings_.Lang});
        return RunEnd::Finished;
    }
    int openMainWindow() override {
        mainWindows.push_back({0, {}, {}, {}, settings_.NoMsg, settings_.Lang});
        return mainWindowExit;
    }

    FakeDesktop fake;
    bool desktopMissing = false;
    int desktopRequests = 0;
    std::vector<RunCall> runs;
    std::vector<RunCall> mainWindows; // the settings each main window opened with
    int mainWindowExit = ExitDone;

private:
    Settings& settings_;
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        SequenceStore store(folder);
        ASSERT_TRUE(store.AppendSequence("Invoices\r\nmonthly", {{":abc", "10"}}).ok());
        const auto second = store.AppendSequence("Orders", {{"{ENTER}", "0"}});
        ASSERT_TRUE(second.ok());
        ordersPosition = second.value();
    }

    int start(const QString& argument) {
        return Startup(settings, messages, launcher, fromTerminal).run(argument);
    }
    QString lastMessage() const {
        return messages.shown.empty() ? QString() : messages.shown.back().text;
    }

    QTemporaryDir dir;
    QString folder;
    qint32 ordersPosition = 0;
    Settings settings;
    RecordingMessages messages;
    RecordingLauncher launcher{settings};
    bool fromTerminal = true;
};

TEST_F(StartupTest, NamedSequenceRunsWithItsFieldsAndLanguage) {
    EXPECT_EQ(start(" " + folder + " , orders ,, NoMsg |i"), ExitDone);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(launcher.runs.size(), 1u);
    const RunCall& run = launcher.runs.front();
    EXPECT_EQ(run.position, ordersPosition);
    EXPECT_EQ(run.name, "orders");
    EXPECT_EQ(run.excelFile, "");
    EXPECT_EQ(run.noMsg, "NoMsg");
    EXPECT_EQ(run.lang, "I");
    EXPECT_EQ(settings.DataFolder, folder + "/");
}

// Each failure shows one message titled "Tapwise" and ends without a run.
struct FailureCase {
    const char* argument; // %1 is the data folder
    const char* lang;
    const char* message; // %1 is the data folder
    int exitCode;
};

TEST_F(StartupTest, EveryArgumentFailureShowsItsMessageAndEnds) {
    const FailureCase cases[] = {
        {"%1/none,Invoices", "E", "Error!!!!\n2    No such file or directory\n%1/none", 2},
        {"%1,Invoices,%1/gone.xlsx", "E", "%1/gone.xlsx\n\nThe Excel file does not exists!", 2},
        {"%1,Invoices,%1/gone.xlsx|I", "I", "%1/gone.xlsx\n\nIl file Excel non esiste!", 2},
        {"%1,Invoices,,silent", "E", "silent\n\nInvalid parameter!\n(must be 'NoMsg' or blank)", 2},
        {"%1,Invoices,,silent|i", "I",
         "silent\n\nParametro non valido!\n(deve essere 'NoMsg' or blank)", 2},
        {"%1,Credit notes", "E", "Credit notes\n\nThe 'Key Sequence' does not exists!", 3},
        {"%1,Credit notes|I", "I", "Credit notes\n\n'Key Sequence' non esistente!", 3},
    };
    for (const FailureCase& c : cases) {
        messages.shown.clear();
        const QString argument = QString::fromUtf8(c.argument).replace("%1", folder);
        EXPECT_EQ(start(argument), c.exitCode) << c.argument;
        EXPECT_EQ(settings.Lang, c.lang) << c.argument;
        ASSERT_EQ(messages.shown.size(), 1u) << c.argument;
        EXPECT_EQ(messages.shown.front().title, "Tapwise");
        EXPECT_EQ(messages.shown.front().text, QString::fromUtf8(c.message).replace("%1", folder))
            << c.argument;
    }
    EXPECT_TRUE(launcher.runs.empty());
    EXPECT_EQ(launcher.desktopRequests, 0);
}

TEST_F(StartupTest, MissingDataFileFindsNothing) {
    QTemporaryDir empty;
    EXPECT_EQ(start(empty.path() + ",Invoices"), ExitSequenceMissing);
    EXPECT_EQ(lastMessage(), "Invoices\n\nThe 'Key Sequence' does not exists!");
    EXPECT_TRUE(launcher.runs.empty());
}

TEST_F(StartupTest, DamagedDataFileIsReportedAsSuch) {
    QTemporaryDir damaged;
    QFile file(damaged.filePath("TapwiseData.dtk"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xff\xff\xff\x7f garbage");
    file.close();
    EXPECT_EQ(start(damaged.path() + ",Invoices"), ExitRunFailed);
    EXPECT_TRUE(lastMessage().contains("damaged")) << lastMessage().toStdString();
    EXPECT_TRUE(launcher.runs.empty());
}

TEST_F(StartupTest, NoMsgMinimizesAConsoleAndTapsCtrl) {
    launcher.fake.setForegroundWindow({"ann@desk: ~", "XTerm"});
    EXPECT_EQ(start(folder + ",Orders,,nomsg"), ExitDone);
    EXPECT_EQ(launcher.fake.events(), QStringList({"minimize ann@desk: ~", "keys-nowait ^"}));
    ASSERT_EQ(launcher.runs.size(), 1u);
    EXPECT_EQ(launcher.runs.front().noMsg, "nomsg");
}

// Which windows are consoles is IsConsoleWindowTest's.
TEST_F(StartupTest, ATerminalStaysWhenNotStartedFromOneOrWithoutNoMsg) {
    launcher.fake.setForegroundWindow({"ann@desk: ~", "XTerm"});
    fromTerminal = false;
    EXPECT_EQ(start(folder + ",Orders,,NoMsg"), ExitDone);
    EXPECT_EQ(launcher.fake.events(), QStringList({"keys-nowait ^"}));
    launcher.fake.clearEvents();
    fromTerminal = true;
    EXPECT_EQ(start(folder + ",Orders"), ExitDone);
    EXPECT_TRUE(launcher.fake.events().isEmpty());
    EXPECT_EQ(launcher.runs.back().noMsg, "");
}

// The main window's exit status is the program's: a run started from it
// ends the program with the run's.
TEST_F(StartupTest, FolderWithoutANameOpensTheMainWindowInItsLanguage) {
    launcher.mainWindowExit = ExitCancelled;
    EXPECT_EQ(start(folder + " |i"), ExitCancelled);
    ASSERT_EQ(launcher.mainWindows.size(), 1u);
    EXPECT_EQ(launcher.mainWindows.front().lang, "I");
    EXPECT_EQ(launcher.mainWindows.front().noMsg, "");
    EXPECT_EQ(settings.DataFolder, folder + "/");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(launcher.runs.empty());
}

} // namespace
} // namespace tapwise
