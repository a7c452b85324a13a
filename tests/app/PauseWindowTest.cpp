#include "app/PauseWindow.h"
#include "app/RunWindows.h"
#include "common/Settings.h"

#include "WindowTestSupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

const char* const AllAnswers[] = {"Check1", "Check3", "Check4", "Check5", "Check6", "Check7"};

class PauseWindowTest : public ::testing::Test {
protected:
    void open(RunUi::MessageRequest request, const QString& lang = "E") {
        if (request.caption.isEmpty())
            request.caption = "Tapwise 2.1";
        form = std::make_unique<PauseWindow>(lang);
        form->prepare(request);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    RunUi::MessageRequest pause(bool worksheet, bool loops) const {
        return {1, "Tapwise 2.1", "\n\nPause...  ", worksheet, loops, 0};
    }
    QWidget* control(const char* name) const { return testing::control(form.get(), name); }
    QStringList visibleAnswers() const {
        QStringList shown;
        for (const char* name : AllAnswers)
            if (control(name)->isVisible())
                shown << name;
        return shown;
    }
    QString clickAnswer(const char* name) {
        QTest::mouseClick(static_cast<QPushButton*>(control(name)), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
        return form->answer();
    }

    std::unique_ptr<PauseWindow> form;
};

// The row restarts need a worksheet, the loop restarts a loop as well.
TEST_F(PauseWindowTest, AnswersOfferedFollowWorksheetAndLoops) {
    const struct {
        bool worksheet;
        bool loops;
        QStringList answers;
    } cases[] = {
        {false, false, {"Check1", "Check3"}},
        {true, false, {"Check1", "Check3", "Check4", "Check5"}},
        {true, true, QStringList(std::begin(AllAnswers), std::end(AllAnswers))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "worksheet " << c.worksheet << " loops " << c.loops);
        open(pause(c.worksheet, c.loops));
        EXPECT_EQ(visibleAnswers(), c.answers);
        EXPECT_FALSE(control("Command2")->isVisible());
        EXPECT_LE(control("Frame1")->geometry().bottom(), form->height());
    }
    // Without a countdown the window waits for its answer.
    EXPECT_FALSE(form->findChild<QTimer*>("Timer1")->isActive());
    EXPECT_FALSE(control("Label2")->isVisible());
}

TEST_F(PauseWindowTest, EveryAnswerHasItsCode) {
    const std::pair<const char*, const char*> codes[] = {{"Check1", "P"}, {"Check3", "C"},
                                                         {"Check4", "E"}, {"Check5", "R"},
                                                         {"Check6", "F"}, {"Check7", "T"}};
    for (const auto& [box, code] : codes) {
        open(pause(true, true));
        EXPECT_EQ(clickAnswer(box), code) << box;
    }
}

TEST_F(PauseWindowTest, ClosingTheWindowAnswersNothing) {
    open(pause(true, true));
    form->close();
    EXPECT_EQ(form->answer(), "");
}

TEST_F(PauseWindowTest, MessageModeShowsOnlyOk) {
    open({0, "Tapwise 2.1",
          "Tapwise is ended!\n\nNumber of KeyStrokes: 5\nNumber of Mouse "
          "Events: 0\n",
          true, true, 0});
    EXPECT_TRUE(visibleAnswers().isEmpty());
    EXPECT_FALSE(control("Frame1")->isVisible());
    EXPECT_TRUE(control("Command2")->isVisible());
    const QRect ok = control("Command2")->geometry();
    EXPECT_LE(ok.bottom(), form->height());
    EXPECT_EQ(clickAnswer("Command2"), "OK");
}

// A report with a failure can be longer than the message area: the window
// grows so that every line and the OK button below it are seen.
TEST_F(PauseWindowTest, LongReportGrowsTheWindow) {
    QStringList lines;
    for (int i = 1; i <= 14; ++i)
        lines << QStringLiteral("Line %1 of the report").arg(i);
    open({0, "Tapwise 2.1", lines.join(u'\n'), false, false, 0});
    auto* message = static_cast<QLabel*>(control("Label1"));
    const int needed = message->fontMetrics()
                           .boundingRect(QRect(0, 0, message->width(), 10000), 0, message->text())
                           .height();
    EXPECT_GE(message->height(), needed);
    EXPECT_GE(control("Command2")->y(), message->geometry().bottom());
    EXPECT_LE(control("Command2")->geometry().bottom(), form->height());
}

TEST_F(PauseWindowTest, PauseIsBoldAndDifferencesAreRed) {
    open({1, "Tapwise 2.1", "\r\n\r\nPause...  \r\n(Run  -  {ENTER})", false, false, 0});
    auto* message = static_cast<QLabel*>(control("Label1"));
    EXPECT_TRUE(message->font().bold());
    EXPECT_EQ(message->text(), "\n\nPause...  \n(Run  -  {ENTER})");
    EXPECT_NE(message->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (int mode : {2, 3}) {
        open({mode, "Tapwise 2.1   (Excel Row N.: 4)", "***** Wrong data", true, false, 0});
        message = static_cast<QLabel*>(control("Label1"));
        EXPECT_FALSE(message->font().bold());
        EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        EXPECT_EQ(form->windowTitle(), "Tapwise 2.1   (Excel Row N.: 4)");
    }
}

TEST_F(PauseWindowTest, CountdownAnswersResumeByItself) {
    open({3, "Tapwise 2.1", "*Chk(x)*\n***** Wrong data has been found ***** \n", false, false, 1});
    auto* countdown = static_cast<QLabel*>(control("Label2"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return countdown->isVisible(); }, 2000));
    EXPECT_TRUE(countdown->text().contains(QRegularExpression("^[0-9]\\.[0-9]{2}$")))
        << countdown->text().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    EXPECT_EQ(form->answer(), "P");
}

TEST(MessageWindowTest, RunWindowsAskModally) {
    Settings settings;
    RunWindows windows(settings);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Check5"), Qt::LeftButton);
    });
    EXPECT_EQ(windows.showMessageWindow({1, "Tapwise 2.1", "Pause", true, false, 0}), "R");
}

} // namespace
} // namespace tapwise
