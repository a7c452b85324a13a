// Runs that type the rows of a worksheet.

#include "RunFixture.h"

#include "engine/Run.h"
#include "engine/TextRules.h"
#include "engine/WorksheetSource.h"
#include "workbook/WorkbookTexts.h"

#include <utility>

namespace tapwise {
namespace {

using namespace std::chrono_literals;

const Lines NameLines{
    {"ExcelSheetCol#A", "0"}, {"{TAB}", "0"}, {"ExcelSheetCol#B", "0"}, {"{ENTER}", "0"}};

// Head, body and tail around the loop lines.
const Lines LoopLines{{"H", "0"},
                      {"*BeginExcelLoop*", "0"},
                      {"ExcelSheetCol#A", "0"},
                      {"*EndExcelLoop*", "0"},
                      {"T", "0"}};

class WorksheetRun : public RunFixture {
protected:
    // Headers, three rows of names, a blank row.
    std::shared_ptr<MemoryWorkbook> names() {
        auto book = workbook();
        book->setRow(1, {"Name", "Surname"});
        book->setRow(2, {"Anna", "Rossi"});
        book->setRow(3, {"Bruno", "Bianchi "});
        book->setRow(4, {"Carla", "Verdi"});
        return book;
    }
    // Two row groups: rows 2-3 and 5-7.
    std::shared_ptr<MemoryWorkbook> groups() {
        auto book = workbook();
        book->setRow(1, {"Code"});
        for (const auto& [row, text] : std::initializer_list<std::pair<int, const char*>>{
                 {2, "p2"}, {3, "p3"}, {5, "q5"}, {6, "q6"}, {7, "q7"}})
            book->setCell(row, 1, text);
        return book;
    }
    QList<int> savedGreenRows(const MemoryWorkbook& book, int last = 10) const {
        QList<int> rows;
        for (int row = 1; row <= last; ++row) {
            if (book.savedRowColor(row) == GreenColorIndex)
                rows.append(row);
        }
        return rows;
    }
    // The Pause key pressed right after the character typed, the first time.
    void pauseAfter(const QString& character) {
        desktop.onKeys([character, first = true](const QString& keys, FakeDesktop& d) mutable {
            if (keys == character && std::exchange(first, false))
                d.pressPauseAtQuery(1);
        });
    }
};

TEST_F(WorksheetRun, RowsAreTypedColouredAndSavedAndNotTypedAgain) {
    auto book = names();
    ASSERT_EQ(runNoMsg(NameLines, BookPath), RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(),
              "Anna{TAB}Rossi{ENTER}Bruno{TAB}Bianchi{ENTER}Carla{TAB}Verdi{ENTER}");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2, 3, 4}));
    EXPECT_EQ(book->saveCount(), 1);
    EXPECT_FALSE(book->isOpen());
    desktop.clearEvents();
    settings.NoMsg.clear();
    ASSERT_EQ(run(NameLines, BookPath), RunEnd::Finished);
    EXPECT_TRUE(keysSent().isEmpty());
    EXPECT_TRUE(ui.report().endsWith("Number of Cycles: 0 (completed)"));
    EXPECT_EQ(book->saveCount(), 1);
}

TEST_F(WorksheetRun, CycleDialogAfterEachRowUntilYes) {
    names();
    ui.cycleAnswers = {{"NO", 100}, {"YES", 100}};
    ASSERT_EQ(run(NameLines, BookPath), RunEnd::Finished);
    ASSERT_EQ(ui.cycles.size(), 2u);
    EXPECT_EQ(ui.cycles[0].caption, "Tapwise 2.1   (Excel Row N.: 2)");
    EXPECT_EQ(ui.cycles[0].message, "The following Excel data have been sent:\n"
                                    "(Do you want to continue without any interruptions?)");
    EXPECT_EQ(ui.cycles[1].sentText, "Col#A  Bruno\r\nCol#B  Bianchi\r\n");
    EXPECT_EQ(ui.starts[0].excelFile, BookPath);
    EXPECT_EQ(ui.log.mid(0, 5),
              QStringList({"main-closed", "start", "cycle", "cycle", "running-closed"}));
    EXPECT_EQ(ui.log[5], "running");
    EXPECT_EQ(ui.report(), "Tapwise is ended!\n\nNumber of KeyStrokes: 37\n"
                           "Number of Mouse Events: 0\nNumber of Cycles: 3 (completed)");
}

TEST_F(WorksheetRun, ExitInTheCycleDialogCancelsAfterColouringTheRow) {
    auto book = names();
    settings.Lang = QStringLiteral("I");
    ui.cycleAnswers = {{"CANCEL", 100}};
    EXPECT_EQ(run(NameLines, BookPath), RunEnd::Cancelled);
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2}));
    EXPECT_EQ(ui.report(), "Tapwise e' stato cancellato!\n\nNumero di tasti: 11\n"
                           "Numero di eventi del Mouse: 0\nNumero of Cicli: 1 (completati)");
}

TEST_F(WorksheetRun, WaitPercentageOfTheCycleDialogScalesLaterWaits) {
    auto book = workbook();
    book->setRow(2, {"ab"});
    book->setRow(3, {"cd"});
    ui.cycleAnswers = {{"NO", 50}};
    std::vector<std::chrono::nanoseconds> times;
    desktop.onKeys([&](const QString&, FakeDesktop& d) { times.push_back(d.monotonicTime()); });
    ASSERT_EQ(run({{"ExcelSheetCol#A", "5"}, {"x", "7"}, {"y", "0"}}, BookPath), RunEnd::Finished);
    ASSERT_EQ(times.size(), 8u);
    const QList<std::chrono::nanoseconds> steps{times[1] - times[0], times[2] - times[1],
                                                times[3] - times[2], times[5] - times[4],
                                                times[6] - times[5], times[7] - times[6]};
    // 100 %: 5, 5, 7 hundredths; 50 %: 2.5 -> 2, 2.5 -> 2, 3.5 -> 4.
    EXPECT_EQ(steps, QList<std::chrono::nanoseconds>({50ms, 50ms, 70ms, 20ms, 20ms, 40ms}));
}

TEST_F(WorksheetRun, RepeatMarkerSendsNothingButIsListed) {
    auto book = workbook();
    book->setRow(2, {"x", "#repeat#"});
    ASSERT_EQ(run({{"ExcelSheetCol#A", "0"}, {"ExcelSheetCol#B", "0"}, {"{ENTER}", "0"}}, BookPath),
              RunEnd::Finished);
    EXPECT_EQ(keysSent(), QStringList({"x", "{ENTER}"}));
    ASSERT_EQ(ui.cycles.size(), 1u);
    EXPECT_EQ(ui.cycles[0].message, "(Do you want to continue without any interruptions?)");
    EXPECT_EQ(ui.cycles[0].sentText, "Col#A  x\r\nCol#B  #repeat#\r\n");
    EXPECT_TRUE(ui.report().contains("Number of KeyStrokes: 2\n"));
}

// A cell written on Windows ends its lines with "\r\n": one line break.
TEST_F(WorksheetRun, CellLineBreakIsTypedOnce) {
    workbook()->setRow(2, {"Via Roma 1\r\nMilano"});
    ASSERT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}}, BookPath), RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(), "Via Roma 1{ENTER}Milano");
}

TEST_F(WorksheetRun, RowGroupsSendHeadOnceBodyPerRowTailOnce) {
    auto book = groups();
    std::optional<int> colourAtFirstTail;
    desktop.onKeys([&](const QString& keys, FakeDesktop&) {
        if (keys == "T" && !colourAtFirstTail)
            colourAtFirstTail = book->rowColor(2);
    });
    ASSERT_EQ(runNoMsg(LoopLines, BookPath), RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(), "Hp2p3THq5q6q7T");
    EXPECT_EQ(colourAtFirstTail, NoColorIndex); // a group is coloured at its closing blank row
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2, 3, 5, 6, 7}));
}

TEST_F(WorksheetRun, RowsAboveTheStartRowAreNotColoured) {
    auto book = groups();
    ui.startAnswers = {{true, 1}, {true, 3}};
    ui.cycleAnswers = {{"YES", 100}};
    ASSERT_EQ(run(LoopLines, BookPath), RunEnd::Finished);
    EXPECT_EQ(ui.messages,
              QStringList({"The starting Excel row must be a whole number from 2 to 65536."}));
    EXPECT_EQ(desktop.typedText(), "Hp3THq5q6q7T");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({3, 5, 6, 7}));
    // A later run sends row 2 as its group's only row left: head and tail.
    ASSERT_EQ(runNoMsg(LoopLines, BookPath), RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(), "Hp3THq5q6q7T"
                                   "Hp2T");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2, 3, 5, 6, 7}));
}

TEST_F(WorksheetRun, RestartWithNextRowLeavesTheRowUnsentAndUncoloured) {
    auto book = names();
    pauseAfter("a"); // in "Bianchi"
    ui.pauseAnswers = {"E"};
    ASSERT_EQ(runNoMsg({{"ExcelSheetCol#B", "0"}, {"{ENTER}", "0"}}, BookPath), RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(), "Rossi{ENTER}BiaVerdi{ENTER}");
    ASSERT_EQ(ui.windows.size(), 1u);
    EXPECT_EQ(ui.windows[0].caption, "Tapwise 2.1   (Excel Row N.: 3)");
    EXPECT_TRUE(ui.windows[0].worksheet);
    EXPECT_FALSE(ui.windows[0].loops);
    EXPECT_TRUE(ui.windows[0].text.endsWith("(Test run  -  Bianchi)"));
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2, 4}));
}

TEST_F(WorksheetRun, RestartWithThisRowSendsItAgain) {
    auto book = names();
    pauseAfter("u"); // in "Bruno"
    ui.pauseAnswers = {"R"};
    ASSERT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}}, BookPath), RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(), "AnnaBruBrunoCarla");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2, 3, 4}));
}

TEST_F(WorksheetRun, RestartWithThisLoopSendsTheGroupAgainFromItsHead) {
    auto book = groups();
    pauseAfter("6");
    ui.pauseAnswers = {"T"};
    ASSERT_EQ(runNoMsg(LoopLines, BookPath), RunEnd::Finished);
    EXPECT_TRUE(ui.windows[0].loops);
    EXPECT_EQ(desktop.typedText(), "Hp2p3THq5q6Hq5q6q7T");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2, 3, 5, 6, 7}));
}

TEST_F(WorksheetRun, RestartWithNextLoopSkipsTheRestOfTheGroup) {
    auto book = groups();
    pauseAfter("2");
    ui.pauseAnswers = {"F"};
    ASSERT_EQ(runNoMsg(LoopLines, BookPath), RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(), "Hp2Hq5q6q7T");
    // Rows 2 and 3 were never completed: a later run still sends them.
    EXPECT_EQ(savedGreenRows(*book), QList<int>({5, 6, 7}));
}

TEST_F(WorksheetRun, LoopRestartRowFindsTheBlankRowAroundTheGroup) {
    auto book = workbook();
    for (int row : {2, 3, 4, 7, 8, 9})
        book->setCell(row, 1, QStringLiteral("r%1").arg(row));
    tapwise::Run run(RunServices{settings, *store, desktop, ui, workbooks});
    run.state.ExcelFile = BookPath;
    run.state.UsedColumns = {1};
    ASSERT_EQ(run.worksheet.Open(), WorksheetSource::Opening::Opened);
    EXPECT_EQ(run.worksheet.LoopRestartRow(2, 5), 2);
    EXPECT_EQ(run.worksheet.LoopRestartRow(4, 5), 2);
    EXPECT_EQ(run.worksheet.LoopRestartRow(7, 4), 10);
    EXPECT_EQ(run.worksheet.LoopRestartRow(9, 5), 6);
    EXPECT_EQ(run.worksheet.LoopRestartRow(3, 4), 5);
}

TEST_F(WorksheetRun, CounterStartsAgainInEveryRow) {
    names();
    ASSERT_EQ(runNoMsg({{"*Label(1)*", "0"},
                        {"ExcelSheetCol#A", "0"},
                        {"*If(Counter;<;2;1)*", "0"},
                        {"*If(Col#B;St;ver;2)*", "0"},
                        {"{ENTER}", "0"},
                        {"*Label(2)*", "0"}},
                       BookPath),
              RunEnd::Finished);
    EXPECT_EQ(desktop.typedText(), "AnnaAnna{ENTER}BrunoBruno{ENTER}CarlaCarla");
}

TEST_F(WorksheetRun, ClipboardIsStoredIntoTheCurrentRow) {
    auto book = names();
    book->setCell(3, 3, "old");
    desktop.putClipboardText("Inv 7");
    desktop.onKeys([](const QString& keys, FakeDesktop& d) {
        if (keys == "B")
            d.putClipboardImage("png");
    });
    ASSERT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}, {"*PutClipBtoCol#C*", "0"}}, BookPath),
              RunEnd::Finished);
    EXPECT_EQ(book->savedCell(2, 3), "Inv 7");
    EXPECT_EQ(book->savedCell(3, 3), ""); // a picture leaves no text
    EXPECT_EQ(book->savedCell(4, 3), "");
}

TEST_F(WorksheetRun, ClipboardToColumnWithoutAnyColumnOpensNoWorkbook) {
    desktop.putClipboardText("Inv 7");
    ASSERT_EQ(run({{"a", "0"}, {"*PutClipBtoCol#C*", "0"}}), RunEnd::Finished);
    EXPECT_TRUE(workbooks.requests().empty());
    EXPECT_EQ(ui.report(), "Tapwise is ended!\n\nNumber of KeyStrokes: 1\nNumber of Mouse "
                           "Events: 0\nClipboard not stored into the worksheet (the 'Key \n"
                           "sequence' uses no worksheet column): 1\n");
}

TEST_F(WorksheetRun, FailedRowColouringEndsTheRunAndKeepsWhatWasColoured) {
    auto book = names();
    desktop.onKeys([&](const QString& keys, FakeDesktop&) {
        if (keys == "B")
            book->failNextWrite(workbookError(WorkbookMessage::SaveFailed, "E", {BookPath, "x"}));
    });
    EXPECT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}}, BookPath), RunEnd::Failed);
    EXPECT_EQ(desktop.typedText(), "AnnaBruno");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2}));
    EXPECT_TRUE(ui.report().startsWith("Tapwise has been stopped by an error:\n1004    "));
    EXPECT_TRUE(ui.report().endsWith("Number of Cycles: 2 (completed)"));
}

TEST_F(WorksheetRun, DesktopErrorSavesTheRowsAlreadyColoured) {
    auto book = names();
    desktop.onKeys([](const QString& keys, FakeDesktop& d) {
        if (keys == "B")
            d.failNext("keys", Error{3004, "Cannot connect to the X display \":0\"."});
    });
    EXPECT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}}, BookPath), RunEnd::Failed);
    EXPECT_EQ(desktop.typedText(), "AnnaB");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2}));
    EXPECT_EQ(book->saveCount(), 1);
    EXPECT_EQ(ui.report(), "Tapwise has been stopped by an error:\n3004    Cannot connect to "
                           "the X display \":0\".\n\nNumber of KeyStrokes: 5\nNumber of Mouse "
                           "Events: 0\nNumber of Cycles: 1 (completed)");
}

// The message window breaks no line itself: the report comes broken every
// 50 characters, like every other text it shows. The rows sent are not
// lost with the save: they are coloured in a copy beside the workbook.
TEST_F(WorksheetRun, FailedSaveKeepsTheColouredRowsInACopyBesideTheWorkbook) {
    auto book = names();
    desktop.setStartDateTime(QDateTime(QDate(2026, 12, 6), QTime(10, 41, 30)));
    book->failNextSave(Error{1004, "The workbook is open in a spreadsheet program."});
    EXPECT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}}, BookPath), RunEnd::Failed);
    const QString copy = QStringLiteral("/data/Book1 (rows sent 2026-12-06 10-41).xlsx");
    EXPECT_EQ(book->copies(), QStringList({copy}));
    for (int row = 1; row <= 5; ++row) {
        EXPECT_EQ(book->copyRowColor(copy, row),
                  row >= 2 && row <= 4 ? GreenColorIndex : NoColorIndex);
        EXPECT_EQ(book->savedRowColor(row), NoColorIndex); // the workbook itself is not touched
    }
    EXPECT_EQ(ui.report(),
              WrapText("Tapwise has been stopped by an error:\n1004    The workbook is open in a "
                       "spreadsheet program.\nRows sent and coloured green in this run: 2-4. The "
                       "workbook with these rows coloured was saved as '" +
                       copy +
                       "'; use that copy, or colour the rows by hand, before the next run.\n\n"
                       "Number of KeyStrokes: 14\nNumber of Mouse Events: 0\n"
                       "Number of Cycles: 3 (completed)"));
}

TEST_F(WorksheetRun, CopyTakesAFreeNameOrTheReportListsTheRowsToColourByHand) {
    auto book = names();
    desktop.setStartDateTime(QDateTime(QDate(2026, 12, 6), QTime(10, 41)));
    const Lines lines{{"ExcelSheetCol#A", "0"}};
    // A copy of the same minute is there already: the next name is taken.
    book->failNextSave(Error{1004, "Changed on disk."});
    EXPECT_EQ(runNoMsg(lines, BookPath), RunEnd::Failed);
    book->failNextSave(Error{1004, "Changed on disk."});
    EXPECT_EQ(runNoMsg(lines, BookPath), RunEnd::Failed);
    EXPECT_EQ(book->copies(), QStringList({"/data/Book1 (rows sent 2026-12-06 10-41) 2.xlsx",
                                           "/data/Book1 (rows sent 2026-12-06 10-41).xlsx"}));
    // No copy either: the report says which rows to colour by hand.
    settings.Lang = QStringLiteral("I");
    book->failNextSave(Error{1004, "Disco pieno."});
    book->failNextCopy(Error{1004, "Disco pieno."});
    EXPECT_EQ(runNoMsg(lines, BookPath), RunEnd::Failed);
    EXPECT_EQ(book->copies().size(), 2);
    EXPECT_TRUE(ui.report().remove(u'\n').contains(
        "Righe inviate e colorate di verde in questa esecuzione: 2-4. Non e' stato possibile "
        "salvare nemmeno una copia (Disco pieno.): colorare di verde queste righe a mano"));
}

TEST_F(WorksheetRun, RowRangesAreShort) {
    EXPECT_EQ(rowRanges({}), "");
    EXPECT_EQ(rowRanges({7}), "7");
    EXPECT_EQ(rowRanges({6, 2, 3, 4, 9, 10, 3}), "2-4, 6, 9-10");
}

TEST_F(WorksheetRun, ActivationSavesTheRowsAlreadyColoured) {
    auto book = names();
    ui.cycleAnswers = {{"YES", 100}};
    desktop.onKeys([&](const QString& keys, FakeDesktop&) {
        if (keys == "B")
            ui.activated = true;
    });
    EXPECT_EQ(run({{"ExcelSheetCol#A", "0"}}, BookPath), RunEnd::Activated);
    EXPECT_EQ(desktop.typedText(), "AnnaB");
    EXPECT_EQ(savedGreenRows(*book), QList<int>({2}));
    EXPECT_TRUE(ui.log.contains("notice Error!\nTapwise is ended!"));
    EXPECT_TRUE(ui.windowTexts(0).isEmpty());
}

TEST_F(WorksheetRun, WorkbookChosenInTheDialogOrTheChoiceCancelled) {
    auto book = names();
    ASSERT_EQ(run({{"ExcelSheetCol#A", "0"}}), RunEnd::Finished);
    EXPECT_TRUE(ui.log.contains("choose-workbook"));
    EXPECT_TRUE(keysSent().isEmpty());
    EXPECT_TRUE(ui.report().endsWith("Number of Cycles: 0 (completed)"));
    ui.workbookChoice = BookPath;
    ui.cycleAnswers = {{"YES", 100}};
    ASSERT_EQ(run({{"ExcelSheetCol#A", "0"}}), RunEnd::Finished);
    EXPECT_EQ(finalExcelFile, BookPath);
    EXPECT_EQ(desktop.typedText(), "AnnaBrunoCarla");
}

// An encrypted workbook chosen in the dialog: its password is asked for
// (cancelling types nothing and opens nothing; a wrong one is refused with
// the workbook's message); one named on the command line is not asked for.
TEST_F(WorksheetRun, EncryptedWorkbookChosenInTheDialogAsksItsPassword) {
    names();
    workbooks.setPassword(BookPath, "Segreto 42");
    ui.workbookChoice = BookPath;
    ASSERT_EQ(run({{"ExcelSheetCol#A", "0"}}), RunEnd::Finished);
    EXPECT_EQ(ui.passwordPrompts,
              QStringList({"'Book1.xlsx' is protected by a password.\n\nPassword:"}));
    EXPECT_TRUE(workbooks.requests().empty());
    EXPECT_TRUE(keysSent().isEmpty());

    ui.passwordAnswer = "segreto 42";
    EXPECT_EQ(run({{"ExcelSheetCol#A", "0"}}), RunEnd::Failed);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains("is not correct"));
    EXPECT_TRUE(keysSent().isEmpty());

    ui.passwordAnswer = "Segreto 42";
    ui.cycleAnswers = {{"YES", 100}};
    ASSERT_EQ(run({{"ExcelSheetCol#A", "0"}}), RunEnd::Finished);
    EXPECT_EQ(workbooks.requests().back().password, "Segreto 42");
    EXPECT_EQ(desktop.typedText(), "AnnaBrunoCarla");
    EXPECT_EQ(ui.passwordPrompts.size(), 3);

    ui.messages.clear();
    EXPECT_EQ(runNoMsg({{"ExcelSheetCol#A", "0"}}, BookPath), RunEnd::Failed);
    EXPECT_EQ(ui.passwordPrompts.size(), 3);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains("no password was given"));
}

TEST_F(WorksheetRun, WorkbookThatCannotBeOpenedIsReported) {
    workbooks.failNextOpen(Error{1004, "The file is not a workbook."});
    EXPECT_EQ(run({{"ExcelSheetCol#A", "0"}}, "/data/notes.txt"), RunEnd::Failed);
    EXPECT_EQ(ui.messages, QStringList({"1004    The file is not a workbook."}));
    EXPECT_EQ(ui.report(), "Tapwise is ended!\n\nNumber of KeyStrokes: 0\n"
                           "Number of Mouse Events: 0\nNumber of Cycles: 0 (completed)");
}

} // namespace
} // namespace tapwise
