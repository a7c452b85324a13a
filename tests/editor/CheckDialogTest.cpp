#include "DialogTestSupport.h"

#include "common/Settings.h"
#include "editor/BoxColours.h"
#include "editor/CheckDialog.h"
#include "editor/EntryDialogs.h"
#include "editor/PointerPosition.h"
#include "gui/MessageBox.h"

#include <QCheckBox>
#include <QPushButton>

namespace tapwise {
namespace {

using testing::control;
using testing::typeInto;

class CheckDialogTest : public testing::DialogTest<CheckDialog> {
protected:
    QLineEdit* box(const char* name) { return control<QLineEdit>(form.get(), name); }
    QCheckBox* clipboard() { return control<QCheckBox>(form.get(), "Check1"); }
    void fill(const QString& x, const QString& y, const QString& seconds, const QString& text) {
        typeInto(box("Text1"), x);
        typeInto(box("Text2"), y);
        typeInto(box("Text3"), seconds);
        typeInto(box("Text4"), text);
    }
    // OK, answering the message it is expected to show.
    void ok(bool expectMessage = false) {
        if (expectMessage)
            MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(control<QPushButton>(form.get(), "Command1"), Qt::LeftButton);
    }
    QString lastMessage() const {
        return MessageBox::shown().isEmpty() ? QString() : MessageBox::shown().last().text;
    }
};

TEST_F(CheckDialogTest, NewCheckStartsOnXWithNoWait) {
    open("*Chk ...*");
    EXPECT_EQ(box("Text1")->text(), "");
    EXPECT_EQ(box("Text3")->text(), "0");
    EXPECT_TRUE(box("Text1")->hasFocus());
    EXPECT_TRUE(form->pointerPosition()->isVisible());
    testing::shot(form.get(), "Form11-new-E");
    open("*Chk ...*", "I");
    testing::shot(form.get(), "Form11-new-I");
}

TEST_F(CheckDialogTest, BuildsScreenTitleAndClipboardChecks) {
    open("*Chk ...*");
    fill("", "", "5", "Saved");
    ok();
    EXPECT_EQ(form->EditorKeys, "*Chk(;;5;Saved)*");
    EXPECT_EQ(form->DialogValue1, -1);

    open("*Chk ...*");
    fill("120", "455", "5", "Saved");
    clipboard()->click();
    EXPECT_FALSE(box("Text1")->isVisible());
    EXPECT_FALSE(form->pointerPosition()->isVisible());
    ok();
    EXPECT_EQ(form->EditorKeys, "*Chk(;ClipB;5;Saved)*");
    EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(CheckDialogTest, RefusalsKeepTheDialogOpen) {
    open("*Chk ...*");
    fill("12", "", "5", "Saved");
    ok(true);
    EXPECT_EQ(lastMessage(), "Both X and Y must be space!");
    EXPECT_TRUE(form->isVisible());

    typeInto(box("Text2"), "30");
    typeInto(box("Text4"), "a,b");
    ok(true);
    EXPECT_EQ(lastMessage(), "Must not contains the following characters: ,;()");
    EXPECT_TRUE(isBoxRed(box("Text4")));
    EXPECT_TRUE(box("Text4")->hasFocus());

    typeInto(box("Text4"), "");
    ok(true);
    EXPECT_EQ(lastMessage(), "Must be not empty!");

    // A red number holds the dialog without a message.
    typeInto(box("Text4"), "ok");
    typeInto(box("Text1"), "-1");
    EXPECT_TRUE(isBoxRed(box("Text1")));
    const qsizetype messages = MessageBox::shown().size();
    ok();
    EXPECT_EQ(MessageBox::shown().size(), messages);
    EXPECT_TRUE(box("Text1")->hasFocus());
    EXPECT_TRUE(form->isVisible());
    typeInto(box("Text1"), "12");
    EXPECT_FALSE(isBoxRed(box("Text1")));
    ok();
    EXPECT_EQ(form->EditorKeys, "*Chk(12;30;5;ok)*");
}

TEST_F(CheckDialogTest, ReopensAnExistingLine) {
    open("*Chk(;ClipB;7;Total)*", "I");
    EXPECT_TRUE(clipboard()->isChecked());
    EXPECT_FALSE(box("Text2")->isVisible());
    EXPECT_EQ(box("Text2")->text(), "");
    EXPECT_EQ(box("Text3")->text(), "7");
    EXPECT_EQ(box("Text4")->text(), "Total");
    testing::shot(form.get(), "Form11-clipboard-I");
    clipboard()->click();
    EXPECT_TRUE(box("Text1")->isVisible());

    open("*Chk(100;200;0;Saved)*");
    EXPECT_EQ(box("Text1")->text(), "100");
    EXPECT_EQ(box("Text2")->text(), "200");
    typeInto(box("Text3"), "");
    box("Text4")->setFocus();
    EXPECT_EQ(box("Text3")->text(), "0");
    ok();
    EXPECT_EQ(form->EditorKeys, "*Chk(100;200;0;Saved)*");
    EXPECT_EQ(form->DialogValue1, 100);
    EXPECT_EQ(form->DialogValue2, 200);
}

TEST_F(CheckDialogTest, F8TakesThePointerPosition) {
    open("*Chk ...*");
    form->pointerPosition()->setSource([] { return QPoint(300, 40); });
    QTest::keyClick(form.get(), Qt::Key_F8);
    EXPECT_EQ(box("Text1")->text(), "300");
    EXPECT_EQ(box("Text2")->text(), "40");
}

TEST(AskCheckTest, ExitGivesNothing) {
    const Settings settings;
    testing::whenModal([](QDialog* form) {
        typeInto(control<QLineEdit>(form, "Text4"), "Saved");
        QTest::mouseClick(control<QPushButton>(form, "Command2"), Qt::LeftButton);
    });
    EXPECT_EQ(AskCheck(nullptr, settings, "*Chk(;;5;Old)*"), "");
    testing::whenModal([](QDialog* form) {
        QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
    });
    EXPECT_EQ(AskCheck(nullptr, settings, "*Chk(;;5;Old)*"), "*Chk(;;5;Old)*");
}

} // namespace
} // namespace tapwise
