#include "app/MainWindow.h"
#include "app/HelpWindow.h"
#include "app/MousePositionWindow.h"
#include "app/Pickers.h"
#include "app/Startup.h"
#include "common/Settings.h"
#include "gui/MessageBox.h"
#include "store/ExchangeFile.h"
#include "store/MainList.h"
#include "store/SequenceStore.h"

#include "WindowTestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

struct RunCall {
    qint32 position = 0;
    QString name;
    QString noMsg;
};

class RecordingLauncher : public RunLauncher {
public:
    explicit RecordingLauncher(Settings& settings) : settings_(settings) {}
    Result<Desktop*> desktop() override { return Error{1, "no desktop in this test"}; }
    RunEnd runSequence(qint32 position, QString& name, QString& excelFile,
                       QString& password) override {
        EXPECT_EQ(excelFile, "");
        EXPECT_EQ(password, "");
        runs.push_back({position, name, settings_.NoMsg});
        return end;
    }
    int openMainWindow() override { return ExitDone; }

    std::vector<RunCall> runs;
    RunEnd end = RunEnd::Finished;

private:
    Settings& settings_;
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Launchers made or removed land in a home of the test's own.
class MainWindowTest : public testing::AnsweredMessagesTest {
protected:
    void SetUp() override {
        AnsweredMessagesTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        settings.DataFolder = dir.path() + "/";
        ResetPickerAnswers();
        SetHelpTestMode(true);
        ASSERT_TRUE(SequenceStore(settings.DataFolder).CreateDataFile());
    }
    void TearDown() override {
        AnsweredMessagesTest::TearDown();
        ResetPickerAnswers();
        SetHelpTestMode(false);
    }

    // Appends Key sequences and gives their record positions.
    QList<qint32> addSequences(const QStringList& descriptions) {
        SequenceStore store(settings.DataFolder);
        QList<qint32> positions;
        for (const QString& description : descriptions) {
            const Result<qint32> added =
                store.AppendSequence(description, {{":" + description.left(5), "10"}});
            EXPECT_TRUE(added.ok());
            positions << added.valueOr(0);
        }
        return positions;
    }

    void open(const QString& lang = "E") {
        settings.Lang = lang;
        form = std::make_unique<MainWindow>(settings, launcher);
        ended = std::make_unique<QSignalSpy>(form.get(), &MainWindow::programEnded);
        form->Form_Load();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    template <typename W = QPushButton>
    W* control(const char* name) {
        return testing::control<W>(form.get(), name);
    }
    void click(const char* button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    QListWidget* list() { return control<QListWidget>("List1"); }
    void select(int row) { list()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect); }
    // Plain messages are answered with OK before they open.
    static void answerOk(int count = 1) {
        for (int i = 0; i < count; ++i)
            MessageBox::setNextAnswer(QMessageBox::Ok);
    }
    void releaseOnUninstall(Qt::MouseButton button, Qt::KeyboardModifiers keys) {
        QTest::mousePress(control("Command12"), button, keys);
        QTest::mouseRelease(control("Command12"), button, keys);
    }

    QStringList messages() const {
        QStringList texts;
        for (const MessageBox::Shown& shown : MessageBox::shown()) {
            EXPECT_EQ(shown.title, "Tapwise");
            EXPECT_FALSE(shown.unanswered) << shown.text.toStdString();
            texts << shown.text;
        }
        MessageBox::clearShown();
        return texts;
    }
    QString dataFile() const { return settings.DataFolder + "TapwiseData.dtk"; }
    // An exchange file of one Key sequence, made in a folder of its own.
    QString exchangeFile(const QString& description) {
        SequenceStore other(exchangeDir.path() + "/");
        const QString path = exchangeDir.filePath(description + ".tpw");
        const Result<qint32> added = other.AppendSequence(description, {{"x", "1"}});
        EXPECT_TRUE(added.ok() && ExportSequence(other, added.valueOr(0), path).ok());
        return path;
    }
    // The descriptions of the data file, read back by the store.
    QStringList storedRows() const {
        SequenceStore store(settings.DataFolder);
        const Result<MainList> list = store.ScanSequences();
        EXPECT_TRUE(list.ok());
        return list.ok() ? list.value().rows() : QStringList();
    }

    testing::TestHome home;
    QTemporaryDir dir;
    QTemporaryDir exchangeDir;
    Settings settings;
    RecordingLauncher launcher{settings};
    std::unique_ptr<MainWindow> form;
    std::unique_ptr<QSignalSpy> ended;
};

TEST_F(MainWindowTest, FolderWithoutDataFileGetsAnEmptyOneAndSaysSo) {
    for (const char* lang : {"E", "I"}) {
        QFile::remove(dataFile());
        answerOk();
        open(lang);
        const QString expected = QString(lang) == "I"
                                     ? "Il file     ==>     %1\n e' stato creato."
                                     : "The file     ==>     %1\n has been created.";
        EXPECT_EQ(messages(), QStringList{expected.arg(dataFile())});
        EXPECT_EQ(fileBytes(dataFile()), QByteArray(4, '\0'));
        EXPECT_EQ(list()->count(), 0);
        EXPECT_EQ(form->selectedRow(), -1);
    }
}

TEST_F(MainWindowTest, ListsTheRowsInFileOrderWithTheFirstSelectedAndPositionsOutOfSight) {
    const QList<qint32> at = addSequences({"Invoices\r\nmonthly", "Orders", "Zeta"});
    open();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(form->rows(),
              QStringList({MainListRow(u"Invoices\r\nmonthly", at[0]),
                           MainListRow(u"Orders", at[1]), MainListRow(u"Zeta", at[2])}));
    EXPECT_EQ(form->selectedRow(), 0);
}

TEST_F(MainWindowTest, DamagedDataFileListsTheRowsBeforeTheDamageAndIsNeverWritten) {
    const QList<qint32> at = addSequences({"Invoices", "Orders"});
    QFile file(dataFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 3); // the second record runs past the end
    file.close();
    const QByteArray damaged = fileBytes(dataFile());
    answerOk();
    open();
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(dataFile())) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(QString::number(at[1]))) << shown[0].toStdString();
    EXPECT_EQ(form->rows(), QStringList{MainListRow(u"Invoices", at[0])});

    MessageBox::setNextAnswer(QMessageBox::Yes);
    answerOk();
    click("Command4");
    EXPECT_EQ(messages().size(), 2);
    SetNextPickedFile(exchangeFile("New"));
    answerOk();
    click("Command8");
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(fileBytes(dataFile()), damaged);
    EXPECT_EQ(form->rows().size(), 1);
}

// Records behind a damaged record count: what a list load or a save moves
// into a side file is named to the user, and the side file gives them back.
class KeptRecordsTest : public MainWindowTest {
protected:
    void damageCount(qint32 count) {
        QByteArray bytes = fileBytes(dataFile());
        const QByteArray le(reinterpret_cast<const char*>(&count), 4);
        QFile file(dataFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.replace(0, 4, le));
    }
    QStringList keptFiles() const {
        return QDir(settings.DataFolder).entryList({"TapwiseData-kept-*.dtk"}, QDir::Files);
    }
    // The descriptions the side file holds, appended into an empty folder.
    QStringList keptRows(const QString& sideFile) const {
        QTemporaryDir other;
        SequenceStore store(other.path() + "/");
        EXPECT_TRUE(store.CreateDataFile().ok());
        EXPECT_TRUE(store.AppendRecordsOf(sideFile).ok());
        const MainList list = store.ScanSequences().value();
        QStringList names;
        for (const QString& row : list.rows())
            names << row.left(RowDescriptionWidth).trimmed();
        return names;
    }
};

TEST_F(KeptRecordsTest, ListLoadThatCutsRecordsOffSaysWhereTheyWent) {
    addSequences({"A", "B", "C", "D", "E", "F"});
    damageCount(2); // the file is now three times its used length: compacted
    answerOk();
    open();
    ASSERT_EQ(keptFiles().size(), 1);
    const QString side = settings.DataFolder + keptFiles()[0];
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(side)) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(dataFile())) << shown[0].toStdString();
    EXPECT_EQ(form->rows().size(), 2);
    EXPECT_EQ(keptRows(side), QStringList({"C", "D", "E", "F"}));

    form->Form_Load(); // the next load finds nothing behind the count
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(KeptRecordsTest, SaveAndImportOverRecordsSayOnceWhereTheyWent) {
    addSequences({"A", "B", "C", "D", "E", "F"});
    damageCount(4); // not worth a compaction: the load keeps the file
    const QByteArray damaged = fileBytes(dataFile());
    open();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(keptFiles().isEmpty());

    form->setEditorOpener([](QWidget*, Settings&, SequenceStore& store, qint32) {
        return store.AppendSequence("New", {{"x", "1"}}).ok();
    });
    answerOk();
    click("Command1");
    ASSERT_EQ(keptFiles().size(), 1);
    const QString side = settings.DataFolder + keptFiles()[0];
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(side)) << shown[0].toStdString();
    EXPECT_EQ(keptRows(side), QStringList({"E", "F"}));
    EXPECT_EQ(form->rows().size(), 5);

    // An import over a damaged count is told the same way, before its own message.
    const QString exchange = exchangeFile("Long import");
    {
        QFile file(dataFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    SetNextPickedFile(exchange);
    answerOk(2);
    click("Command8");
    const QStringList imported = messages();
    ASSERT_EQ(imported.size(), 2);
    ASSERT_EQ(keptFiles().size(), 2);
    EXPECT_TRUE(imported[0].contains("TapwiseData-kept-")) << imported[0].toStdString();
    EXPECT_EQ(imported[1], "Import done!");
    EXPECT_EQ(form->rows().size(), 5);
}

TEST_F(MainWindowTest, ButtonsThatActOnARowAskForOneAndDoNothingElse) {
    addSequences({"Invoices"});
    const QByteArray before = fileBytes(dataFile());
    open("I");
    list()->clearSelection();
    for (const char* button :
         {"Command2", "Command3", "Command4", "Command7", "Command10", "Command11"}) {
        answerOk();
        click(button);
        EXPECT_EQ(messages(), QStringList{"Seleziona una riga!"}) << button;
    }
    EXPECT_TRUE(launcher.runs.empty());
    EXPECT_TRUE(pickerRequests().isEmpty());
    EXPECT_FALSE(QFile::exists(settings.DataFolder + "TapwisePrt.txt"));
    EXPECT_EQ(fileBytes(dataFile()), before);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ended->count(), 0);
}

// The name handed over is the row up to its last space, trimmed: the first
// 130 characters of the description.
TEST_F(MainWindowTest, RunHandsTheSelectedRowToTheRunAndEndsWithItsStatus) {
    const QString longDescription = "  Long" + QString(140, u'x');
    const QList<qint32> at = addSequences({"Invoices", longDescription});
    open();
    select(1);
    launcher.end = RunEnd::Cancelled;
    click("Command2");
    ASSERT_EQ(launcher.runs.size(), 1u);
    EXPECT_EQ(launcher.runs[0].position, at[1]);
    EXPECT_EQ(launcher.runs[0].name, longDescription.left(130).trimmed());
    EXPECT_EQ(launcher.runs[0].noMsg, "");
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(ended->count(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), ExitCancelled);
}

TEST_F(MainWindowTest, DeleteAsksFirstAndSelectsTheRowThatTookThePlaceOrTheFirst) {
    addSequences({"A", "B", "C", "D"});
    open();
    select(1);
    MessageBox::setNextAnswer(QMessageBox::No);
    click("Command4");
    EXPECT_EQ(messages(), QStringList{"Do you confirm?"});
    EXPECT_EQ(storedRows().size(), 4);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("Command4");
    EXPECT_EQ(messages(), QStringList{"Do you confirm?"});
    EXPECT_EQ(form->rows(), storedRows());
    ASSERT_EQ(form->rows().size(), 3);
    EXPECT_TRUE(form->rows()[1].startsWith("C "));
    EXPECT_EQ(form->selectedRow(), 1);

    select(2);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("Command4");
    EXPECT_EQ(form->rows().size(), 2);
    EXPECT_EQ(form->selectedRow(), 0);

    for (int i = 0; i < 2; ++i) {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click("Command4");
    }
    EXPECT_TRUE(form->rows().isEmpty());
    EXPECT_EQ(form->selectedRow(), -1);
    EXPECT_EQ(storedRows(), QStringList());
    EXPECT_EQ(messages().size(), 3);
}

TEST_F(MainWindowTest, ExportWritesTheRecordAndImportAppendsItUnchangedAndSelectsIt) {
    const QList<qint32> at = addSequences({"Invoices", "Orders\r\nweekly"});
    SequenceStore source(settings.DataFolder);
    const QByteArray record = source.ReadSequence(at[1]).value().rawRecord;
    const QString exchange = dir.filePath("orders.tpw");
    open();
    select(1);
    SetNextPickedFile("");
    click("Command7"); // left with Exit
    EXPECT_TRUE(messages().isEmpty());
    SetNextPickedFile(exchange);
    answerOk();
    click("Command7");
    EXPECT_EQ(messages(), QStringList{"Export done!"});
    EXPECT_EQ(pickerRequests().back().PickerMode, u'E');

    // Imported twice: two records of the same bytes, the second selected.
    answerOk(2);
    SetNextPickedFile(exchange);
    click("Command8");
    SetNextPickedFile(exchange);
    click("Command8");
    EXPECT_EQ(messages(), QStringList({"Import done!", "Import done!"}));
    EXPECT_EQ(pickerRequests().back().PickerMode, u'I');
    const QStringList rows = form->rows();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(form->selectedRow(), 3);
    SequenceStore after(settings.DataFolder);
    EXPECT_EQ(after.ReadSequence(RowPosition(rows[2])).value().rawRecord, record);
    EXPECT_EQ(after.ReadSequence(RowPosition(rows[3])).value().rawRecord, record);

    QFile broken(exchange);
    ASSERT_TRUE(broken.open(QIODevice::Append));
    broken.write("x");
    broken.close();
    const QByteArray before = fileBytes(dataFile());
    SetNextPickedFile(exchange);
    answerOk();
    click("Command8");
    EXPECT_EQ(messages(), QStringList{"Invalid '.tpw' file!"});
    EXPECT_EQ(fileBytes(dataFile()), before);
}

TEST_F(MainWindowTest, PrintFormatWritesTheListingAndOpensItOrSaysWhereItIs) {
    addSequences({"Invoices", "Orders"});
    open("I");
    QStringList opened;
    bool canOpen = true;
    form->setDocumentOpener([&](const QString& file) {
        opened << file;
        return canOpen;
    });
    select(1);
    click("Command11");
    const QString printFile = settings.DataFolder + "TapwisePrt.txt";
    EXPECT_EQ(opened, QStringList{printFile});
    EXPECT_TRUE(fileBytes(printFile).startsWith("Tapwise 'Key Sequence'\r\n"));
    EXPECT_TRUE(fileBytes(printFile).contains("Orders"));
    EXPECT_TRUE(messages().isEmpty());

    canOpen = false;
    answerOk();
    click("Command11");
    const QStringList shown = messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(printFile)) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].startsWith("Il listato")) << shown[0].toStdString();
}

// New and Update open the editor on no record or the selected one; a saved
// Key sequence is appended, so the list is read again and its row selected.
TEST_F(MainWindowTest, NewAndUpdateSelectTheSavedRowHelpKeepsTheWindowExitEndsIt) {
    const QList<qint32> at = addSequences({"Invoices", "Orders"});
    open();
    QList<qint32> opened;
    bool save = false;
    form->setEditorOpener([&](QWidget*, Settings&, SequenceStore& store, qint32 position) {
        opened << position;
        if (!save)
            return false;
        const Result<qint32> saved =
            position == 0 ? store.AppendSequence("Refunds", {{"{ENTER}", "5"}})
                          : store.ReplaceSequence(position, "Invoices 2", {{"{TAB}", "5"}});
        EXPECT_TRUE(saved.ok());
        return saved.ok();
    });

    settings.SequenceChanged = 1;
    click("Command1"); // left with Exit: nothing changes
    EXPECT_EQ(settings.SequenceChanged, 0);
    EXPECT_EQ(form->rows().size(), 2);

    save = true;
    click("Command1");
    ASSERT_EQ(form->rows().size(), 3);
    EXPECT_EQ(form->selectedRow(), 2);
    EXPECT_TRUE(form->rows()[2].startsWith("Refunds"));

    select(0);
    click("Command3");
    EXPECT_EQ(opened, (QList<qint32>{0, 0, at[0]}));
    ASSERT_EQ(form->rows().size(), 3);
    EXPECT_TRUE(form->rows()[2].startsWith("Invoices 2"));
    EXPECT_EQ(form->selectedRow(), 2);
    EXPECT_EQ(settings.SequenceChanged, 1);
    EXPECT_TRUE(messages().isEmpty());

    click("Command6");
    EXPECT_EQ(helpShowings(), 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ended->count(), 0);

    click("Command5");
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(ended->count(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), ExitDone);
}

TEST_F(MainWindowTest, MousePositionWindowTakesThePlaceOfTheMainWindowUntilClosed) {
    open("I");
    click("Command9");
    EXPECT_FALSE(form->isVisible());
    MousePositionWindow* form7 = form->mousePositionWindow();
    ASSERT_NE(form7, nullptr);
    EXPECT_TRUE(form7->isVisible());
    EXPECT_EQ(ended->count(), 0);

    QPoint pointer(12, 345);
    form7->setPointerReader([&] { return pointer; });
    QTRY_COMPARE(form7->text(), QString("Posizione del mouse:  X= 12     Y= 345"));
    pointer = {1279, 0}; // followed, not read once
    QTRY_COMPARE(form7->text(), QString("Posizione del mouse:  X= 1279     Y= 0"));

    form7->close();
    ASSERT_EQ(ended->count(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), ExitDone);
}

TEST_F(MainWindowTest, ShortcutIsMadeForTheSelectedSequence) {
    addSequences({"Invoices", "Orders"});
    open();
    select(1);
    MessageBox::setNextAnswer(QMessageBox::Yes); // without messages
    answerOk();
    click("Command10");
    EXPECT_EQ(messages().size(), 2);
    ASSERT_EQ(home.launchers(), QStringList{"Tapwise 2.1 (Orders).desktop"});
    QFile launcher(home.launcherPath("Tapwise 2.1 (Orders)"));
    ASSERT_TRUE(launcher.open(QIODevice::ReadOnly));
    EXPECT_TRUE(launcher.readAll().contains((settings.DataFolder + ",Orders,|,NoMsg").toUtf8()));
}

// Only a left click with Ctrl and Alt, and no Shift, uninstalls, and only
// once the user agrees.
TEST_F(MainWindowTest, UninstallNeedsCtrlAltClickAndRemovesDataFileAndLauncher) {
    addSequences({"Invoices"});
    ASSERT_TRUE(QDir().mkpath(home.desktop()));
    QFile mainLauncher(home.launcherPath("Tapwise 2.1"));
    ASSERT_TRUE(mainLauncher.open(QIODevice::WriteOnly));
    mainLauncher.close();
    open();
    const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    answerOk(4);
    releaseOnUninstall(Qt::LeftButton, {});
    releaseOnUninstall(Qt::LeftButton, Qt::ControlModifier);
    releaseOnUninstall(Qt::LeftButton, ctrlAlt | Qt::ShiftModifier);
    releaseOnUninstall(Qt::RightButton, ctrlAlt);
    EXPECT_EQ(messages(), QStringList(4, "To uninstall you must press Ctrl+Alt+Click!"));

    MessageBox::setNextAnswer(QMessageBox::No);
    releaseOnUninstall(Qt::LeftButton, ctrlAlt);
    EXPECT_EQ(messages(), QStringList{"Are you sure you want to uninstall?"});
    EXPECT_TRUE(QFile::exists(dataFile()));
    EXPECT_EQ(home.launchers().size(), 1);
    EXPECT_EQ(ended->count(), 0);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    releaseOnUninstall(Qt::LeftButton, ctrlAlt);
    EXPECT_EQ(messages().size(), 1);
    EXPECT_FALSE(QFile::exists(dataFile()));
    EXPECT_TRUE(home.launchers().isEmpty());
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(ended->count(), 1);
    EXPECT_EQ(ended->at(0).at(0).toInt(), ExitDone);
}

// The focus goes from the list down the buttons in the order the user reads them.
TEST_F(MainWindowTest, TabOrder) {
    open();
    QStringList order;
    QWidget* w = list();
    for (int i = 0; i < 13; ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while (w->parentWidget() != form.get());
    }
    EXPECT_EQ(order, QStringList({"List1", "Command2", "Command3", "Command5", "Command1",
                                  "Command4", "Command6", "Command7", "Command8", "Command9",
                                  "Command10", "Command11", "Command12"}));
}

// The window must look finished: every caption fits its control, no two
// controls overlap, and all of them lie inside the window.
TEST_F(MainWindowTest, CaptionsFitAndControlsNeitherOverlapNorLeaveTheWindow) {
    for (const char* lang : {"E", "I"}) {
        open(lang);
        messages();
        QList<QWidget*> controls;
        for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                controls << child;
        ASSERT_EQ(controls.size(), 14);
        for (QWidget* c : controls) {
            EXPECT_TRUE(form->rect().contains(c->geometry())) << c->objectName().toStdString();
            if (auto* button = qobject_cast<QPushButton*>(c)) {
                EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8,
                          button->width())
                    << lang << " " << button->objectName().toStdString();
            }
            if (auto* label = qobject_cast<QLabel*>(c)) {
                EXPECT_LE(label->sizeHint().width(), label->width());
            }
            for (QWidget* other : controls) {
                EXPECT_TRUE(other == c || !c->geometry().intersects(other->geometry()))
                    << c->objectName().toStdString() << " " << other->objectName().toStdString();
            }
        }
    }
}

} // namespace
} // namespace tapwise
