// The program itself with arguments that cannot run: each shows its message
// in a box (and on standard error) and ends with its exit status once the
// box is closed.
#include "TapwiseSession.h"

#include "Wait.h"
#include "app/Startup.h"

namespace tapwise::test {
namespace {

class CommandLineE2ETest : public TapwiseSession {
protected:
    // Runs the program, closes its message box with Enter, gives the exit
    // status and what it wrote to standard error.
    std::pair<int, QString> failWith(const QString& argument) {
        if (!startTapwise({argument}))
            return {-1, "not started"};
        const QString box = waitForWindow("Tapwise");
        if (box.isEmpty())
            return {-1, "no message box"};
        focusWindow(server_, box, false);
        pressKeys({"Return"});
        const int code = waitForExit(std::chrono::seconds(60));
        return {code, errorOutput().trimmed()};
    }
};

// Every message in both languages and its exit status is checked through
// the start-up routine (app_startup_test); here the program shows one of each
// kind and ends with its status.
TEST_F(CommandLineE2ETest, ArgumentFailuresShowTheirMessageAndEnd) {
    addSequence("Orders", {{":a", "0"}});
    const QString book = pathInFolder("gone.xlsx");
    const struct {
        QString argument;
        QString message;
        int exitCode;
    } cases[] = {
        {folder() + ",Orders," + book + "|I", book + "\n\nIl file Excel non esiste!",
         ExitBadArgument},
        {folder() + ",Invoices", "Invoices\n\nThe 'Key Sequence' does not exists!",
         ExitSequenceMissing},
    };
    for (const auto& c : cases) {
        const auto [code, errors] = failWith(c.argument);
        EXPECT_EQ(code, c.exitCode) << c.argument.toStdString();
        // Qt may have written warnings of its own before the message.
        EXPECT_TRUE(errors.endsWith(c.message)) << c.argument.toStdString() << "\n"
                                                << errors.toStdString();
    }
}

// Without an argument: the question in a box titled with the program's
// title; No shows the manual, and closing it ends the program.
TEST_F(CommandLineE2ETest, NoArgumentAsksAndNoShowsTheManual) {
    ASSERT_TRUE(startTapwise({}));
    const QString offer = waitForWindow("Tapwise 2.1");
    ASSERT_FALSE(offer.isEmpty());
    focusWindow(server_, offer, false);
    pressKeys({"Escape"}); // the box's No
    const QString manual = waitForWindow("Tapwise 2.1  Tutorial");
    ASSERT_FALSE(manual.isEmpty()) << "no manual";
    focusWindow(server_, manual, false);
    pressKeys({"Escape"});
    EXPECT_EQ(waitForExit(std::chrono::seconds(60)), ExitDone);
}

} // namespace
} // namespace tapwise::test
