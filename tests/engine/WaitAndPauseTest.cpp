// Waits, the Pause key and the pause window.

#include "RunFixture.h"

#include "engine/Run.h"

#include <map>

namespace tapwise {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

class WaitAndPause : public RunFixture {
protected:
    // The virtual time of every keystroke text, in milliseconds since the
    // first one.
    void recordKeyTimes() {
        desktop.onKeys([this](const QString& keys, FakeDesktop& d) {
            times.emplace_back(keys, d.monotonicTime());
        });
    }
    QStringList keyTimes() const {
        QStringList list;
        for (const auto& [keys, time] : times)
            list.append(QStringLiteral("%1@%2").arg(keys).arg(
                std::chrono::duration_cast<milliseconds>(time - times.front().second).count()));
        return list;
    }
    std::vector<std::pair<QString, std::chrono::nanoseconds>> times;
};

TEST_F(WaitAndPause, StringWaitsAfterEveryCharacterAndOnceMore) {
    recordKeyTimes();
    ASSERT_EQ(runNoMsg({{":ab", "10"}, {"x", "0"}}), RunEnd::Finished);
    EXPECT_EQ(keyTimes(), QStringList({"a@0", "b@100", "x@300"}));
}

TEST_F(WaitAndPause, ConditionsLabelsAndWorksheetCommandsGetNoWaitTime) {
    recordKeyTimes();
    ASSERT_EQ(runNoMsg({{"a", "0"},
                        {"*Label(1)*", "500"},
                        {"*If(False;;;1)*", "500"},
                        {"*BeginExcelLoop*", "500"},
                        {"b", "0"}}),
              RunEnd::Finished);
    // The label and the condition wait 1 hundredth each, nothing else.
    EXPECT_EQ(keyTimes(), QStringList({"a@0", "b@20"}));
}

// A wait in a run of its own, with the windows taking 3 ms per look.
class Waits : public RunFixture {
protected:
    Waits() : runObject(RunServices{settings, *store, desktop, ui, workbooks}) {
        ui.onProcessEvents = [this](int) { desktop.advance(3ms); };
    }
    std::chrono::nanoseconds timed(qint64 hundredths) {
        const auto start = desktop.monotonicTime();
        runObject.pause.WaitHundredths(hundredths);
        return desktop.monotonicTime() - start;
    }
    tapwise::Run runObject;
};

TEST_F(Waits, NeverOversleepTheRequestedTime) {
    EXPECT_EQ(timed(1), 10ms);
    EXPECT_EQ(desktop.events(), QStringList({"sleep 7ms"}));
    desktop.clearEvents();
    EXPECT_EQ(timed(25), 250ms);
    EXPECT_EQ(desktop.pauseQueries(), 1 + 20); // about every 10 ms
}

TEST_F(Waits, ZeroLooksOnceNegativeNotAtAllAndAPendingPauseSkipsEveryWait) {
    EXPECT_EQ(timed(0), 3ms);
    EXPECT_EQ(desktop.pauseQueries(), 1);
    EXPECT_EQ(timed(-5), 0ms);
    EXPECT_EQ(desktop.pauseQueries(), 1);
    desktop.pressPauseAt(desktop.monotonicTime() + 42ms);
    EXPECT_LE(timed(500), 42ms + 13ms);
    EXPECT_TRUE(runObject.state.PauseRequested);
    EXPECT_EQ(timed(500), 0ms);
}

TEST_F(WaitAndPause, PauseKeyEndsALongWaitAndThePauseWindowOpensAfterTheLine) {
    recordKeyTimes();
    desktop.pressPauseAt(1234ms);
    std::chrono::nanoseconds opened{};
    ui.onMessageWindow = [&](const RunUi::MessageRequest&) { opened = desktop.monotonicTime(); };
    ASSERT_EQ(runNoMsg({{":xyz", "100"}, {"b", "0"}}), RunEnd::Finished);
    ASSERT_EQ(times.size(), 4u);
    // The wait after "x" ends within one poll of the key; "y" and "z" follow
    // at once, and the pause window opens when the line is done.
    EXPECT_GE(times[1].second, 1234ms);
    EXPECT_LE(times[1].second, 1234ms + 10ms);
    EXPECT_EQ(times[2].second, times[1].second);
    EXPECT_EQ(opened, times[2].second);
    ASSERT_EQ(ui.windows.size(), 1u);
    EXPECT_EQ(ui.windows[0].mode, 1);
    EXPECT_EQ(keysSent(), QStringList({"x", "y", "z", "b"}));
}

// The Pause key's window names the sequence and the line, broken every 50
// characters.
TEST_F(WaitAndPause, PauseWindowTextNamesTheSequenceAndTheLine) {
    description = QString(40, u'd');
    desktop.pressPauseAtQuery(1);
    ASSERT_EQ(run({{"{TAB}", "0"}, {"b", "0"}}), RunEnd::Finished);
    ASSERT_EQ(ui.windows.size(), 2u); // the pause, then the report
    EXPECT_TRUE(ui.windows[0].text.startsWith("\n\nPause...  "))
        << ui.windows[0].text.toStdString();
    EXPECT_TRUE(ui.windows[0].text.endsWith("\r\n(" + QString(40, u'd') + "  -  {TAB\n})"));
    EXPECT_FALSE(ui.windows[0].worksheet);
    EXPECT_EQ(ui.windows[0].countdownSeconds, 0);
}

TEST_F(WaitAndPause, PauseLineRemarks) {
    ASSERT_EQ(runNoMsg({{"*Pause*check the total", "0"}, {"*Pause*0", "0"}, {"*pause*", "0"}}),
              RunEnd::Finished);
    const QStringList texts = ui.windowTexts(1);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].endsWith("\r\n(check the total)"));
    EXPECT_TRUE(texts[1].endsWith("\r\n"));
    EXPECT_TRUE(texts[2].endsWith("\r\n"));
    settings.Lang = QStringLiteral("I");
    ui.windows.clear();
    ASSERT_EQ(runNoMsg({{"*Pause*Controlla", "0"}}), RunEnd::Finished);
    EXPECT_EQ(ui.windowTexts(1), QStringList({"\n\nPausa...\r\n(Controlla)"}));
}

TEST_F(WaitAndPause, ResumePutsThePointerBackOtherAnswersLeaveIt) {
    ASSERT_TRUE(desktop.setPointer({5, 6}));
    desktop.clearEvents();
    ui.onMessageWindow = [this](const RunUi::MessageRequest& request) {
        if (request.mode == 1)
            (void)desktop.setPointer({70, 80});
    };
    ui.pauseAnswers = {"P", ""};
    ASSERT_EQ(runNoMsg({{"*Pause*", "0"}, {"*Pause*", "0"}, {"a", "0"}}), RunEnd::Finished);
    EXPECT_EQ(actions(), QStringList({"beep", "pointer 70,80", "pointer 5,6", "beep",
                                      "pointer 70,80", "keys a"}));
}

} // namespace
} // namespace tapwise
