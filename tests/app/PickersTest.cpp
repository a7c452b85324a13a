#include "app/Pickers.h"
#include "app/ExchangeFilePicker.h"
#include "app/FolderPicker.h"
#include "app/PlaceLists.h"
#include "gui/MessageBox.h"

#include "WindowTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

// A data folder with two subfolders and a few files, browsed from a place
// of its own, plus a place that cannot be read.
class PickerTest : public testing::AnsweredMessagesTest {
protected:
    void SetUp() override {
        AnsweredMessagesTest::SetUp();
        ASSERT_TRUE(root.isValid());
        for (const char* folder : {"data", "data/old", "other"})
            ASSERT_TRUE(QDir(root.path()).mkpath(folder));
        for (const char* file :
             {"data/a.tpw", "data/B.TPW", "data/notes.txt", "data/old/c.tpw", "data/book.xls",
              "data/book.xlsx", "data/macro.xlsm", "other/d.xlsx"})
            write(file, "x");
        settings.DataFolder = path("data/");
    }

    QString path(const QString& relative) const { return root.path() + '/' + relative; }
    void write(const QString& relative, const QByteArray& bytes) {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QList<Place> places() const { return {{"Test place", path("")}, {"Gone", path("gone/")}}; }

    QStringList messages() const {
        QStringList texts;
        for (const auto& shown : MessageBox::shown())
            texts << shown.text;
        return texts;
    }

    // Clicks a row of a list once it has been loaded and laid out.
    static void clickRow(QAbstractItemView* view, const std::function<QModelIndex()>& row,
                         bool twice) {
        QModelIndex item;
        QRect rect;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                item = row();
                rect = item.isValid() ? view->visualRect(item) : QRect();
                return rect.isValid() && view->viewport()->rect().contains(rect.center());
            },
            5000));
        // A view takes a double click only on the row it saw pressed.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        if (twice)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    static void clickFolder(PlaceLists* lists, const QString& folder, bool twice) {
        clickRow(
            lists->Dir1, [=] { return lists->folderIndex(folder); }, twice);
    }
    static void clickFile(PlaceLists* lists, const QString& name, bool twice) {
        clickRow(
            lists->File1, [=] { return lists->fileIndex(name); }, twice);
    }
    static void choosePlace(PlaceLists* lists, int index) {
        QComboBox* box = lists->Drive1;
        box->setFocus();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    QTemporaryDir root;
    Settings settings;
};

class ExchangeFilePickerTest : public PickerTest {
protected:
    void open(QChar mode, const QString& lang = "E") {
        settings.Lang = lang;
        form = std::make_unique<ExchangeFilePicker>(settings, mode, places());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QLineEdit* nameBox() { return testing::control<QLineEdit>(form.get(), "Text1"); }
    QPushButton* saveButton() { return testing::control<QPushButton>(form.get(), "Command1"); }
    void typeAndEnter(const QString& name) {
        nameBox()->clear();
        QTest::keyClicks(nameBox(), name);
        QTest::keyClick(nameBox(), Qt::Key_Return);
    }

    std::unique_ptr<ExchangeFilePicker> form;
};

TEST_F(ExchangeFilePickerTest, OpensOnTheDataFolderWithTheNameBoxFocusedAndSaveDisabled) {
    open('E');
    EXPECT_EQ(form->currentFolder(), path("data/"));
    EXPECT_TRUE(nameBox()->hasFocus());
    EXPECT_FALSE(saveButton()->isEnabled());
    QTest::keyClicks(nameBox(), "   ");
    EXPECT_FALSE(saveButton()->isEnabled());
    QTest::keyClick(nameBox(), Qt::Key_Return);
    EXPECT_TRUE(form->isVisible());
    QTest::keyClicks(nameBox(), "x");
    EXPECT_TRUE(saveButton()->isEnabled());
    // Only the exchange files are listed, whatever the case of their ending.
    QTRY_VERIFY(form->lists()->fileIndex("B.TPW").isValid());
    EXPECT_TRUE(form->lists()->fileIndex("a.tpw").isValid());
    EXPECT_FALSE(form->lists()->fileIndex("notes.txt").isValid());
}

TEST_F(ExchangeFilePickerTest, ItalianCaptionsFollowTheMode) {
    open('I', "I");
    EXPECT_EQ(form->windowTitle(), "Import");
    EXPECT_EQ(testing::control<QLabel>(form.get(), "Label1")->text(), "Trova:");
    EXPECT_EQ(saveButton()->text(), "Apri");
}

TEST_F(ExchangeFilePickerTest, TypedNameGetsTheExtensionAndGoesToTheFolderOpenWhenSaved) {
    open('E');
    QTest::keyClicks(nameBox(), "Orders");
    clickFolder(form->lists(), path("data/old/"), true);
    EXPECT_EQ(form->currentFolder(), path("data/old/"));
    QTest::keyClick(nameBox(), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->PickedFile(), path("data/old/Orders.tpw"));
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(ExchangeFilePickerTest, NameWithARefusedCharacterIsRefusedAndKept) {
    open('E');
    MessageBox::setNextAnswer(QMessageBox::Ok);
    typeAndEnter("a:b");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(nameBox()->text(), "a:b");
    EXPECT_EQ(messages(), QStringList{"A file name does not contains the following characters: "
                                      "\\/:*?\"<>|"});
    EXPECT_EQ(form->PickedFile(), "");
}

// Refusing keeps the picker with its name; agreeing leaves the old file for
// the export to replace once the new one is written.
TEST_F(ExchangeFilePickerTest, ExistingExportFileIsRewrittenOnlyWhenTheUserAgrees) {
    open('E');
    MessageBox::setNextAnswer(QMessageBox::No);
    typeAndEnter("a");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(nameBox()->text(), "a");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    typeAndEnter("a.tpw");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->PickedFile(), path("data/a.tpw"));
    EXPECT_TRUE(QFile::exists(path("data/a.tpw")));
    const QString question =
        "Filename: " + path("data/a.tpw") + "\nalready exists. Do you want to rewrite it?";
    EXPECT_EQ(messages(), (QStringList{question, question}));
}

TEST_F(ExchangeFilePickerTest, ImportNeedsAnExistingFileAndTakesOneByDoubleClick) {
    open('I', "I");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    typeAndEnter("missing");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(messages(), QStringList{"Il file: " + path("data/missing.tpw") + "\nnon esiste!"});
    clickFile(form->lists(), "B.TPW", true);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->PickedFile(), path("data/B.TPW"));
}

// A place that cannot be read is reported; the name still goes to the
// folder that is shown.
TEST_F(ExchangeFilePickerTest, PlaceThatCannotBeReadKeepsTheFolderShown) {
    open('E');
    MessageBox::setNextAnswer(QMessageBox::Ok);
    choosePlace(form->lists(), 1);
    EXPECT_EQ(messages(), QStringList{"2  No such file or directory"});
    EXPECT_EQ(form->currentFolder(), path("data/"));
    typeAndEnter("kept");
    EXPECT_EQ(form->PickedFile(), path("data/kept.tpw"));
}

TEST_F(ExchangeFilePickerTest, ExitAndEscapeGiveNothing) {
    open('E');
    QTest::keyClicks(nameBox(), "x");
    QTest::mouseClick(testing::control<QPushButton>(form.get(), "Command2"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->PickedFile(), "");
    open('I');
    QTest::keyClicks(nameBox(), "a");
    QTest::keyClick(nameBox(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->PickedFile(), "");
}

class FolderPickerTest : public PickerTest {
protected:
    void open(const QString& mode, const QString& extension = "") {
        form = std::make_unique<FolderPicker>(settings, mode, extension, "Pick", places());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QPushButton* button(const char* name) {
        return testing::control<QPushButton>(form.get(), name);
    }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    std::unique_ptr<FolderPicker> form;
};

TEST_F(FolderPickerTest, FolderModeGivesTheDataFolderOrTheFolderClicked) {
    open("FLD");
    EXPECT_EQ(form->windowTitle(), "Pick");
    EXPECT_FALSE(form->lists()->File1->isVisible());
    EXPECT_TRUE(button("Command3")->isVisible());
    EXPECT_EQ(form->BrowseResult(), path("data/"));
    clickFolder(form->lists(), path("data/old/"), false);
    EXPECT_EQ(form->BrowseResult(), path("data/old/"));
    click("Command1");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->BrowseResult(), path("data/old/"));
}

TEST_F(FolderPickerTest, PlaceThatCannotBeReadReturnsToThePlaceBefore) {
    open("FLD");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    choosePlace(form->lists(), 1);
    EXPECT_EQ(messages(), QStringList{"2  No such file or directory"});
    EXPECT_EQ(form->lists()->Drive1->currentIndex(), 0);
    EXPECT_EQ(form->BrowseResult(), path("data/"));
    choosePlace(form->lists(), 0);
    EXPECT_EQ(form->BrowseResult(), path(""));
}

// At the root of a place the new folder is made right under it, and given
// back without a final "/".
TEST_F(FolderPickerTest, NewFolderAtThePlacesRootAfterRefusedNames) {
    settings.DataFolder = path("");
    open("FLD");
    MessageBox::setNextInput(QString("bad/name"));
    MessageBox::setNextInput(QString("data"));
    MessageBox::setNextInput(QString("  Invoices 2026 "));
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("Command3");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->BrowseResult(), path("Invoices 2026"));
    EXPECT_TRUE(QDir(path("Invoices 2026")).exists());
    EXPECT_EQ(messages(), (QStringList{
                              "Fill with new folder name:",
                              "A folder name does not contains the following characters: "
                              "\\/:*?\"<>|",
                              "The folder already exists.",
                              "The creation of the folder:\n" + path("Invoices 2026") +
                                  "\n\nis in progress. Do you confirm?",
                          }));
}

TEST_F(FolderPickerTest, NewFolderThatIsNotConfirmedOrCannotBeMadeLeavesThePickerOpen) {
    settings.Lang = "I";
    open("FLD");
    MessageBox::setNextInput(QString("   "));
    click("Command3");
    MessageBox::setNextInput(std::nullopt);
    click("Command3");
    MessageBox::setNextInput(QString("later"));
    MessageBox::setNextAnswer(QMessageBox::No);
    click("Command3");
    // A file in the way: the folder cannot be made, and the user is told.
    MessageBox::setNextInput(QString("notes.txt"));
    MessageBox::setNextAnswer(QMessageBox::Yes);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("Command3");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->BrowseResult(), path("data/"));
    EXPECT_FALSE(QFileInfo::exists(path("data/later")));
    EXPECT_EQ(messages().value(0), "Inserisci il nome di una nuova cartella:");
    EXPECT_EQ(messages().value(3),
              "La cartella:\n" + path("data/later") + "\n\nsta per essere creata. Confermi?");
    EXPECT_EQ(messages().value(6), "17  File exists");
}

TEST_F(FolderPickerTest, FileModeListsWorkbooksAndSelectsOnlyAFileOfTheFolderShown) {
    open("FIL", "xls");
    EXPECT_FALSE(button("Command3")->isVisible());
    EXPECT_FALSE(button("Command1")->isEnabled());
    PlaceLists* lists = form->lists();
    QTRY_VERIFY(lists->fileIndex("book.xls").isValid());
    QTRY_VERIFY(lists->fileIndex("book.xlsx").isValid());
    EXPECT_TRUE(lists->fileIndex("macro.xlsm").isValid());
    EXPECT_FALSE(lists->fileIndex("notes.txt").isValid());
    clickFile(lists, "book.xlsx", false);
    EXPECT_TRUE(button("Command1")->isEnabled());
    // Another folder clicked: the file clicked before is not in it.
    clickFolder(lists, path("data/old/"), false);
    EXPECT_FALSE(button("Command1")->isEnabled());
    clickFolder(lists, path("other/"), true);
    clickFile(lists, "d.xlsx", false);
    click("Command1");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->BrowseResult(), path("other/d.xlsx"));
}

// Without a mouse: Enter on a folder chooses it, moving to a file chooses it.
TEST_F(FolderPickerTest, KeysChooseAsClicksDo) {
    open("FLD");
    PlaceLists* lists = form->lists();
    QTRY_VERIFY(lists->folderIndex(path("data/old/")).isValid());
    lists->Dir1->setFocus();
    lists->Dir1->setCurrentIndex(lists->folderIndex(path("data/old/")));
    QTest::keyClick(lists->Dir1, Qt::Key_Return);
    EXPECT_EQ(form->BrowseResult(), path("data/old/"));

    open("FIL", "xls");
    lists = form->lists();
    QTRY_VERIFY(lists->fileIndex("book.xlsx").isValid());
    lists->File1->setFocus();
    QTest::keyClick(lists->File1, Qt::Key_Home);
    QTest::keyClick(lists->File1, Qt::Key_Down);
    EXPECT_TRUE(button("Command1")->isEnabled());
    // The file the list shows as current is the one given back.
    const QString current = lists->File1->currentIndex().data().toString();
    EXPECT_TRUE(current.startsWith("book.xls")) << current.toStdString();
    click("Command1");
    EXPECT_EQ(form->BrowseResult(), path("data/") + current);
}

TEST_F(FolderPickerTest, ExitGivesNothingInBothModes) {
    open("FLD");
    click("Command2");
    EXPECT_EQ(form->BrowseResult(), "");
    open("FIL", "xls");
    clickFile(form->lists(), "book.xls", false);
    click("Command2");
    EXPECT_EQ(form->BrowseResult(), "");
}

// The callers' tests answer the pickers in advance.
TEST(PickerAnswersTest, QueuedAnswersAreGivenInOrderAndAMissingOneIsRecorded) {
    ResetPickerAnswers();
    SetNextPickedFile("/tmp/a.tpw");
    SetNextBrowseResult("/tmp/folder/");
    Settings settings;
    EXPECT_EQ(BrowsePlace(nullptr, settings, "FIL", "xls", "Choose"), "/tmp/folder/");
    EXPECT_EQ(PickExchangeFile(nullptr, settings, 'E'), "/tmp/a.tpw");
    EXPECT_EQ(PickExchangeFile(nullptr, settings, 'I'), "");
    const QList<PickerRequest>& requests = pickerRequests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(requests[0].BrowseCaption, "Choose");
    EXPECT_EQ(requests[0].BrowseExtension, "xls");
    EXPECT_EQ(requests[1].PickerMode, 'E');
    EXPECT_FALSE(requests[1].unanswered);
    EXPECT_TRUE(requests[2].unanswered);
    ResetPickerAnswers();
    EXPECT_TRUE(pickerRequests().isEmpty());
}

} // namespace
} // namespace tapwise
