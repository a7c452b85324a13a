#include "DialogTestSupport.h"

#include "common/Settings.h"
#include "editor/BoxColours.h"
#include "editor/ConditionDialog.h"
#include "editor/EntryDialogs.h"
#include "gui/MessageBox.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QScrollBar>

namespace tapwise {
namespace {

using testing::control;
using testing::pick;
using testing::typeInto;

class ConditionDialogTest : public testing::DialogTest<ConditionDialog> {
protected:
    QComboBox* type() { return control<QComboBox>(form.get(), "Combo1"); }
    QComboBox* op() { return control<QComboBox>(form.get(), "Combo2"); }
    QLineEdit* value() { return control<QLineEdit>(form.get(), "Text1"); }
    QLineEdit* label() { return control<QLineEdit>(form.get(), "Text2"); }
    void ok(bool expectMessage = false) {
        if (expectMessage)
            MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(control<QPushButton>(form.get(), "Command1"), Qt::LeftButton);
    }
};

TEST_F(ConditionDialogTest, NewConditionStartsWithNothingChosen) {
    open("*If ...*");
    EXPECT_EQ(type()->count(), 15);
    EXPECT_EQ(type()->currentText(), "");
    EXPECT_EQ(op()->count(), 0);
    testing::shot(form.get(), "Form12-new-E");
    open("*If ...*", "I");
    pick(type(), "Time");
    testing::shot(form.get(), "Form12-time-I");
}

TEST_F(ConditionDialogTest, PickedTypeSetsTheOperatorsAndSwitchesBoxesOff) {
    open("*If ...*");
    for (const char* picked : {"ClipBoard", "Window Title", "ExcelSheetCol#C"}) {
        pick(type(), QString::fromLatin1(picked));
        EXPECT_EQ(op()->count(), 12) << picked;
        EXPECT_EQ(op()->currentText(), "") << picked;
    }
    pick(type(), "Time");
    EXPECT_EQ(op()->count(), 4);
    typeInto(value(), "08:30:00");
    pick(type(), "True");
    EXPECT_FALSE(op()->isEnabled());
    EXPECT_FALSE(value()->isEnabled());
    EXPECT_EQ(value()->text(), "");
    EXPECT_TRUE(isBoxGrey(op()));
    EXPECT_TRUE(isBoxGrey(value()));
    pick(type(), "Counter");
    EXPECT_FALSE(op()->isEnabled());
    EXPECT_TRUE(value()->isEnabled());
    EXPECT_FALSE(isBoxGrey(value()));
    EXPECT_EQ(op()->currentText(), "Less (<)");
    testing::shot(form.get(), "Form12-counter-E");
}

TEST_F(ConditionDialogTest, TypedTextIsRedUnlessItIsAnEntry) {
    open("*If ...*");
    type()->lineEdit()->setFocus();
    QTest::keyClicks(type()->lineEdit(), "Clip");
    EXPECT_TRUE(isBoxRed(type()));
    QTest::keyClicks(type()->lineEdit(), "board");
    EXPECT_FALSE(isBoxRed(type()));
    // A type typed in full offers its operators as a pick does; one typed
    // before it is kept.
    EXPECT_EQ(op()->count(), 12);
    typeInto(op()->lineEdit(), "Less (<)");
    EXPECT_FALSE(isBoxRed(op()));
    typeInto(type()->lineEdit(), "time");
    EXPECT_EQ(op()->count(), 4);
    EXPECT_EQ(op()->currentText(), "Less (<)");
    typeInto(type()->lineEdit(), "counter");
    EXPECT_FALSE(op()->isEnabled());
    typeInto(type()->lineEdit(), "ClipBoard");
    // An operator that is not one of the list holds the dialog.
    typeInto(op()->lineEdit(), "about");
    EXPECT_TRUE(isBoxRed(op()));
    typeInto(label(), "3");
    ok();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(op()->hasFocus());
}

TEST_F(ConditionDialogTest, BuildsTheLineOrRefusesTheBox) {
    open("*If ...*");
    ok(true);
    EXPECT_EQ(MessageBox::shown().last().text, "Must be not empty!");
    EXPECT_TRUE(isBoxRed(type()));
    pick(type(), "Counter");
    typeInto(value(), "0");
    typeInto(label(), "1");
    const qsizetype messages = MessageBox::shown().size();
    ok();
    EXPECT_EQ(MessageBox::shown().size(), messages);
    EXPECT_TRUE(isBoxRed(value()));
    EXPECT_TRUE(value()->hasFocus());
    typeInto(value(), "5");
    ok();
    EXPECT_EQ(form->EditorKeys, "*If(Counter;<;5;1)*");

    open("*If ...*");
    pick(type(), "ClipBoard");
    ok(true);
    EXPECT_EQ(MessageBox::shown().last().text, "Must be not empty!");
    EXPECT_TRUE(op()->hasFocus());
    pick(op(), "Contains (Cn)");
    typeInto(value(), "x(y)");
    typeInto(label(), "5");
    ok(true);
    EXPECT_TRUE(isBoxRed(value()));

    open("*If ...*");
    pick(type(), "Time");
    pick(op(), "Equal (=)");
    typeInto(label(), "12");
    ok(true);
    EXPECT_TRUE(value()->hasFocus());
    typeInto(value(), "08:30:00");
    ok();
    EXPECT_EQ(form->EditorKeys, "*If(Time;=;08:30:00;12)*");
}

TEST_F(ConditionDialogTest, ReopensAnExistingLine) {
    open("*If(WinTit;NS;Mail;9)*");
    EXPECT_EQ(type()->currentText(), "Window Title");
    EXPECT_EQ(op()->currentText(), "Not Starts (NS)");
    EXPECT_EQ(value()->text(), "Mail");
    EXPECT_EQ(label()->text(), "9");
    ok();
    EXPECT_EQ(form->EditorKeys, "*If(WinTit;NS;Mail;9)*");

    open("*If(True;;;2)*", "I");
    EXPECT_FALSE(op()->isEnabled());
    EXPECT_FALSE(value()->isEnabled());
    EXPECT_TRUE(isBoxGrey(value()));
    testing::shot(form.get(), "Form12-true-I");
    ok();
    EXPECT_EQ(form->EditorKeys, "*If(True;;;2)*");

    // A column beyond the ten first offered is in the list too.
    open("*If(Col#Z;=;x;1)*");
    EXPECT_EQ(type()->currentText(), "ExcelSheetCol#Z");
    EXPECT_EQ(form->offeredColumns(), 26);
    EXPECT_GE(type()->findText("ExcelSheetCol#Z"), 0);
}

TEST_F(ConditionDialogTest, ScrollingTheTypeListOffersMoreColumns) {
    open("*If ...*");
    type()->showPopup();
    QScrollBar* scroll = type()->view()->verticalScrollBar();
    for (int step = 1; step <= 3; ++step)
        scroll->setValue(scroll->value() + 1);
    type()->hidePopup();
    EXPECT_GE(form->offeredColumns(), 13);
    EXPECT_EQ(type()->itemText(type()->count() - 1),
              "ExcelSheetCol#" + QString(QChar(u'A' + form->offeredColumns() - 1)));
}

TEST(AskConditionTest, ExitGivesNothing) {
    const Settings settings;
    testing::whenModal([](QDialog* form) {
        QTest::mouseClick(control<QPushButton>(form, "Command2"), Qt::LeftButton);
    });
    EXPECT_EQ(AskCondition(nullptr, settings, "*If(ClipB;Cn;Total;3)*"), "");
    testing::whenModal([](QDialog* form) {
        QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
    });
    EXPECT_EQ(AskCondition(nullptr, settings, "*If(ClipB;Cn;Total;3)*"), "*If(ClipB;Cn;Total;3)*");
}

} // namespace
} // namespace tapwise
