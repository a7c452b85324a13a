#include "DialogTestSupport.h"

#include "editor/EditorWindow.h"
#include "editor/OpenEditor.h"
#include "gui/MessageBox.h"
#include "language/LineSyntax.h"
#include "store/SequenceStore.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <X11/keysym.h>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

QString keysField(const QString& keys) {
    return keys.leftJustified(KeysWidth, u' ');
}
QString entered(const QString& keys, const QString& waitTime = "0") {
    return keysField(keys) + waitTime.leftJustified(6, u' ');
}

// Entry dialogs that answer from a script and record what they were given.
class ScriptedEntries : public LineEntries {
public:
    QStringList calls;
    QStringList answers;

    QString answer(const QString& call) {
        calls << call;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString SetValues(const QString& keys) override {
        return answer("SetValues " + keys.trimmed());
    }
    QString Remark(const QString& keys, int sw) override {
        return answer(QString("Remark%1 ").arg(sw) + keys.trimmed());
    }
    QString LabelN(const QString& keys) override { return answer("LabelN " + keys.trimmed()); }
    QString AskCheck(const QString& keys) override { return answer("AskCheck " + keys.trimmed()); }
    QString AskCondition(const QString& keys) override {
        return answer("AskCondition " + keys.trimmed());
    }
};

class EditorWindowTest : public testing::AnsweredMessagesTest {
protected:
    EditorWindowTest() : store(dir.path()) {}

    void open(qint32 position = 0) {
        window = std::make_unique<EditorWindow>(settings, store);
        auto owned = std::make_unique<ScriptedEntries>();
        entries = owned.get();
        window->setEntries(std::move(owned));
        if (position == 0)
            window->openNew();
        else
            ASSERT_TRUE(window->openStored(position));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename W>
    W* control(const char* name) {
        return testing::control<W>(window.get(), name);
    }
    QComboBox* keyBox() { return control<QComboBox>("Combo1"); }
    QListWidget* list() { return control<QListWidget>("List1"); }

    // One key pressed and released in the key box, as X delivers it.
    void key(quint32 keysym, Qt::KeyboardModifiers modifiers = {}, const QString& text = {},
             quint32 nativeModifiers = 0) {
        sendKey(QEvent::KeyPress, keysym, modifiers, text, nativeModifiers);
        sendKey(QEvent::KeyRelease, keysym, modifiers, text, nativeModifiers);
    }
    void sendKey(QEvent::Type type, quint32 keysym, Qt::KeyboardModifiers modifiers,
                 const QString& text, quint32 nativeModifiers = 0) {
        QKeyEvent event(type, Qt::Key_unknown, modifiers, 0, keysym, nativeModifiers, text);
        QCoreApplication::sendEvent(keyBox(), &event);
    }
    void pick(const QString& entry) { testing::pick(keyBox(), entry); }
    QStringList rows() const { return window->rowList().rows; }

    QPoint rowCenter(int row) { return list()->visualItemRect(list()->item(row)).center(); }
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(list()->viewport(), Qt::LeftButton, modifiers, rowCenter(row));
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, modifiers, rowCenter(row));
    }
    void dragRow(int from, int to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(list()->viewport(), Qt::LeftButton, modifiers, rowCenter(from));
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, modifiers, rowCenter(to));
    }
    void typeLines(const QStringList& letters) {
        for (const QString& letter : letters)
            key(XK_a + (letter[0].unicode() - 'a'), {}, letter);
    }

    QTemporaryDir dir;
    Settings settings;
    SequenceStore store;
    std::unique_ptr<EditorWindow> window;
    ScriptedEntries* entries = nullptr;
};

TEST_F(EditorWindowTest, NewSequenceWindow) {
    open();
    EXPECT_EQ(control<QPlainTextEdit>("Text2")->toPlainText(), "New1");
    EXPECT_EQ(rows(), QStringList({"<ready>"}));
    EXPECT_FALSE(control<QPushButton>("Command3")->isVisible());
    EXPECT_FALSE(control<QPushButton>("Command4")->isVisible());
    // The rows line up only in a fixed-pitch font.
    const QFontMetrics metrics(list()->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"));
    // The close box is refused.
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
}

// Keys of real keyboards are typed in the end-to-end test; here the ones it
// does not press.
TEST_F(EditorWindowTest, KeysBecomeLines) {
    open();
    key(XK_e, Qt::AltModifier, "e");
    key(XK_KP_Separator, {}, ",");
    EXPECT_EQ(keyBox()->currentText(), "{COMMA}");
    // Modifiers alone place nothing.
    key(XK_Shift_L, Qt::ShiftModifier);
    key(XK_ISO_Level3_Shift, {}, {}, 0x80);
    EXPECT_EQ(rows(), QStringList({entered("Alt+e"), entered("{COMMA}"), "<more...>"}));
    EXPECT_EQ(window->rowList().selected, 2);
    EXPECT_TRUE(window->SequenceChanged());
    EXPECT_TRUE(control<QPushButton>("Command4")->isVisible());
}

TEST_F(EditorWindowTest, AKeyCountsWithTheModifiersOfItsKeyDownAndOnlyWhenTypedInTheBox) {
    open();
    // Ctrl let go before the letter.
    sendKey(QEvent::KeyPress, XK_Control_L, {}, {});
    sendKey(QEvent::KeyPress, XK_c, Qt::ControlModifier, "\x03");
    sendKey(QEvent::KeyRelease, XK_Control_L, Qt::ControlModifier, {});
    sendKey(QEvent::KeyRelease, XK_c, {}, "c");
    // The Return that closed a prompt: its key down went elsewhere.
    sendKey(QEvent::KeyRelease, XK_Return, {}, "\r");
    // Held down: the repeats are one key.
    sendKey(QEvent::KeyPress, XK_x, {}, "x");
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_X, {}, 0, XK_x, 0, "x", true);
    QCoreApplication::sendEvent(keyBox(), &repeat);
    sendKey(QEvent::KeyRelease, XK_x, {}, "x");
    EXPECT_EQ(rows(), QStringList({entered("Ctrl+c"), entered("x"), "<more...>"}));
}

TEST_F(EditorWindowTest, TabAtKeyDownAndArrowsNeverPick) {
    open();
    sendKey(QEvent::KeyPress, XK_Tab, {}, "\t");
    EXPECT_EQ(rows(), QStringList({entered("{TAB}"), "<more...>"}));
    sendKey(QEvent::KeyRelease, XK_Tab, {}, "\t");
    sendKey(QEvent::KeyPress, XK_ISO_Left_Tab, Qt::ShiftModifier, {});
    sendKey(QEvent::KeyRelease, XK_ISO_Left_Tab, Qt::ShiftModifier, {});
    keyBox()->setCurrentIndex(2);
    // Down moves the box's selection; that selection is not a pick.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, {}, 0, XK_Down, 0);
    QCoreApplication::sendEvent(keyBox(), &down);
    sendKey(QEvent::KeyRelease, XK_Down, {}, {});
    key(XK_Up);
    // Alt+Down opens the list; its key up never reaches the box.
    QKeyEvent altDown(QEvent::KeyPress, Qt::Key_Down, Qt::AltModifier, 0, XK_Down, 0);
    QCoreApplication::sendEvent(keyBox(), &altDown);
    keyBox()->hidePopup();
    EXPECT_EQ(rows(), QStringList({entered("{TAB}"), entered("Shift+{TAB}"), entered("{DOWN}"),
                                   entered("{UP}"), "<more...>"}));
    // The next real pick counts.
    pick("[LeftClick]");
    EXPECT_EQ(rows()[4], entered("[LeftClick]"));
}

TEST_F(EditorWindowTest, PicksPlaceLinesOrAskForValues) {
    open();
    control<QLineEdit>("Text1")->setText("15");
    pick("[LeftClick]");
    entries->answers = {"[PosMouse(10;20)]", "", "*Pause*look", "*Label(3)*"};
    pick("[PosMouse ...]");
    pick("*Chk ...*"); // cancelled
    pick("*Pause*");
    pick("*Label ...*");
    EXPECT_EQ(entries->calls, QStringList({"SetValues [PosMouse ...]", "AskCheck *Chk ...*",
                                           "Remark0 *Pause*", "LabelN *Label ...*"}));
    // "*ChkExcelSheetCol*" only right after a worksheet column line.
    MessageBox::setNextAnswer(QMessageBox::Ok);
    pick("*ChkExcelSheetCol*");
    EXPECT_EQ(MessageBox::shown().last().text,
              "'*ChkExcelSheetCol*' must to be after 'ExcelSheetCol#'");
    pick("ExcelSheetCol#B");
    pick("*ChkExcelSheetCol*");
    EXPECT_EQ(rows(), QStringList({entered("[LeftClick]", "15"), entered("[PosMouse(10;20)]", "15"),
                                   keysField("*Pause*look"), keysField("*Label(3)*"),
                                   entered("ExcelSheetCol#B", "15"),
                                   keysField("*ChkExcelSheetCol*"), "<more...>"}));
}

TEST_F(EditorWindowTest, ScrollingOffersOneMoreColumnUpToIV) {
    open();
    QScrollBar* bar = keyBox()->view()->verticalScrollBar();
    for (int i = 0; i < 300; ++i)
        emit bar->actionTriggered(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window->OfferedColumns(), 256);
    EXPECT_EQ(keyBox()->count(), 15 + 2 * 256);
    EXPECT_EQ(keyBox()->itemText(keyBox()->count() - 1), "*PutClipBtoCol#IV*");
}

TEST_F(EditorWindowTest, GesturesOnTheList) {
    open();
    typeLines({"a", "e", "b", "c", "d"});
    EXPECT_FALSE(list()->toolTip().isEmpty());
    dragRow(0, 3, Qt::ControlModifier); // a copy; the tip goes once a gesture is used
    EXPECT_TRUE(list()->toolTip().isEmpty());
    EXPECT_EQ(rows().mid(0, 6), QStringList({entered("a"), entered("e"), entered("b"), entered("a"),
                                             entered("c"), entered("d")}));
    clickRow(2, Qt::ShiftModifier);
    control<QLineEdit>("Text1")->setText("75");
    clickRow(1, Qt::ControlModifier);
    EXPECT_EQ(rows()[1], keysField("e") + "75        ");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    clickRow(2, Qt::ControlModifier);
    EXPECT_EQ(MessageBox::shown().last().text, "Not executable. Impossible to update!");
    EXPECT_EQ(rows()[2], entered("#b"));
    EXPECT_EQ(keyBox()->currentText(), "Press a key or select from the list");
}

TEST_F(EditorWindowTest, AltClickOrDoubleClickReopensTheEntryWithTheOldValues) {
    ASSERT_TRUE(store.AppendSequence("Mouse", {{"[PosMouse(100;200)]", "250"},
                                               {"[LeftClick]", "5"},
                                               {"*If(True;;;2)*", "0"},
                                               {"*Label(2)*", "0"}}));
    open(store.CurrentPosition());
    entries->answers = {"[PosMouse(300;400)]", "*If(Counter;<;5;2)*"};
    clickRow(0, Qt::AltModifier);
    clickRow(1, Qt::AltModifier); // nothing to update
    // A double-click does the same where the window manager takes Alt+Click;
    // its first click, and a click after it, open nothing.
    clickRow(2);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rowCenter(2));
    clickRow(2);
    EXPECT_EQ(entries->calls,
              QStringList({"SetValues [PosMouse.100;200)]", "AskCondition *If(True;;;2)*"}));
    EXPECT_EQ(rows(), QStringList({entered("[PosMouse(300;400)]", "250"),
                                   keysField("[LeftClick]") + "5", keysField("*If(Counter;<;5;2)*"),
                                   keysField("*Label(2)*"), "<more...>"}));
}

TEST_F(EditorWindowTest, OnlyRealChangesMarkAStoredSequenceChanged) {
    ASSERT_TRUE(store.AppendSequence("Three", {{"a", "1"}, {"b", "2"}, {"[PosMouse(1;2)]", "3"}}));
    open(store.CurrentPosition());
    dragRow(0, 1); // onto the row below: stays where it is
    clickRow(0, Qt::ShiftModifier | Qt::ControlModifier);
    clickRow(2, Qt::AltModifier); // the entry cancelled
    EXPECT_EQ(entries->calls, QStringList({"SetValues [PosMouse.1;2)]"}));
    EXPECT_FALSE(window->SequenceChanged());
    EXPECT_EQ(rows(), QStringList({keysField("a") + "1", keysField("b") + "2",
                                   keysField("[PosMouse(1;2)]") + "3", "<more...>"}));
    QFocusEvent left(QEvent::FocusOut);
    QCoreApplication::sendEvent(control<QPlainTextEdit>("Text2"), &left);
    EXPECT_TRUE(window->SequenceChanged());
}

TEST_F(EditorWindowTest, SavingANewSequence) {
    open();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    window->SvData("S");
    EXPECT_EQ(MessageBox::shown().last().text, "Insert the keys!");
    pick("*BeginExcelLoop*");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    window->SvData("S");
    EXPECT_EQ(MessageBox::shown().last().text,
              "Line 1  '*BeginExcelLoop*' can not to exists without 'ExcelSheetCol#'\n");
    EXPECT_FALSE(window->saved());
    list()->setCurrentRow(0);
    typeLines({"h"}); // replaces the loop line; the selection stays on it
    list()->setCurrentRow(1);
    typeLines({"i"});
    key(XK_Return, {}, "\r");
    control<QPlainTextEdit>("Text2")->setPlainText("Greeting\nsecond line");
    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
    ASSERT_TRUE(window->saved());
    EXPECT_FALSE(window->isVisible());
    Result<StoredSequence> read = store.ReadSequence(window->savedPosition());
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().description, "Greeting\r\nsecond line");
    EXPECT_EQ(read.value().lines, Lines({{"h", "0"}, {"i", "0"}, {"{ENTER}", "0"}}));
    EXPECT_EQ(store.CurrentPosition(), window->savedPosition());
}

TEST_F(EditorWindowTest, ReplacingAStoredSequenceKeepsUntouchedLinesAsStored) {
    ASSERT_TRUE(store.AppendSequence("First", {{"x", "5"}}));
    const qint32 first = store.CurrentPosition();
    ASSERT_TRUE(
        store.AppendSequence("Second", {{"a", "250"}, {"*Pause*wait", "0"}, {"b", "1234567"}}));
    open(store.CurrentPosition());
    EXPECT_TRUE(control<QPushButton>("Command3")->isVisible());
    list()->setCurrentRow(0); // chosen with the keyboard
    key(XK_z, {}, "z");       // over a stored row: its WaitTime stays
    QTest::mouseClick(control<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_TRUE(window->saved());
    Result<MainList> listed = store.ScanSequences();
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed.value().size(), 2);
    EXPECT_EQ(listed.value().position(0), first);
    EXPECT_EQ(listed.value().position(1), window->savedPosition());
    EXPECT_EQ(store.ReadSequence(window->savedPosition()).value().lines,
              Lines({{"z", "250"}, {"*Pause*wait", "0"}, {"b", "1234567"}}));
}

TEST_F(EditorWindowTest, ARefusedSaveKeepsTheEditorOpenWithEverything) {
    open();
    entries->answers = {QString::fromUtf8(":Ωmega")};
    pick(":<string>");
    const QStringList before = rows();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    window->SvData("S");
    EXPECT_FALSE(window->saved());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(rows(), before);
    EXPECT_TRUE(
        MessageBox::shown().last().text.startsWith("The 'Key Sequence' has not been saved"));
    EXPECT_EQ(store.ScanSequences().value().size(), 0);
}

TEST_F(EditorWindowTest, ExitAsksOnlyWhenChanged) {
    open();
    key(XK_a, {}, "a");
    MessageBox::setNextAnswer(QMessageBox::No);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(MessageBox::shown().last().title, "Exit");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->saved());
}

TEST_F(EditorWindowTest, DeleteAndInsertButtons) {
    open();
    typeLines({"a", "b"});
    list()->setCurrentRow(0);
    clickRow(0);
    QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(rows(), QStringList({"", entered("a"), entered("b"), "<more...>"}));
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton);
    EXPECT_EQ(rows(), QStringList({entered("a"), entered("b"), "<more...>"}));
    clickRow(2);
    QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton); // the end marker: nothing
    EXPECT_EQ(rows().size(), 3);
}

TEST_F(EditorWindowTest, WaitTimeBoxForcesInvalidValuesToZero) {
    open();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QLineEdit* box = control<QLineEdit>("Text1");
    box->setFocus();
    box->setText("-5");
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 0, 0));
    keyBox()->setFocus();
    EXPECT_EQ(box->text(), "0");
    QTRY_VERIFY(box->hasFocus());
    box->setText("12.9");
    keyBox()->setFocus();
    EXPECT_EQ(box->text(), "12");
    key(XK_a, {}, "a");
    EXPECT_EQ(rows()[0], entered("a", "12"));
}

TEST_F(EditorWindowTest, OpenEditorOnARecordThatCannotBeReadSaysSoAndOpensNothing) {
    ASSERT_TRUE(store.AppendSequence("One", {{"a", "1"}}));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    EXPECT_FALSE(OpenEditor(nullptr, settings, store, 999));
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_FALSE(MessageBox::shown().last().text.isEmpty());
}

} // namespace
} // namespace tapwise
