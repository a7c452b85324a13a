#include "DialogTestSupport.h"

#include "common/Settings.h"
#include "editor/BoxColours.h"
#include "editor/EntryDialogs.h"
#include "editor/MouseValuesDialog.h"
#include "editor/PointerPosition.h"

#include <QLabel>
#include <QPushButton>

namespace tapwise {
namespace {

using testing::control;
using testing::typeInto;
using testing::whenModal;

class MouseValuesDialogTest : public testing::DialogTest<MouseValuesDialog> {
protected:
    QLineEdit* box(const char* name) { return control<QLineEdit>(form.get(), name); }
    QLabel* label(const char* name) { return control<QLabel>(form.get(), name); }
    void click(const char* name) {
        QTest::mouseClick(control<QPushButton>(form.get(), name), Qt::LeftButton);
    }
};

// A new entry starts at zero with the first value selected, ready to be typed over.
TEST_F(MouseValuesDialogTest, NewPositionEntry) {
    open("[PosMouse ...]");
    EXPECT_EQ(box("Text1")->text(), "0");
    EXPECT_EQ(box("Text2")->text(), "0");
    EXPECT_TRUE(box("Text1")->hasFocus());
    EXPECT_EQ(box("Text1")->selectedText(), "0");
    ASSERT_NE(form->pointerPosition(), nullptr);
    EXPECT_TRUE(form->pointerPosition()->isVisible());
    testing::shot(form.get(), "Form5-position-E");

    open("[PosMouse ...]", "I");
    testing::shot(form.get(), "Form5-position-I");
}

// A movement has no pointer position to take; the wheel has one value only.
TEST_F(MouseValuesDialogTest, MovementAndWheelEntries) {
    open("[MoveMouse ...]");
    EXPECT_EQ(form->pointerPosition(), nullptr);
    testing::shot(form.get(), "Form5-movement-E");
    open("[MoveMouse ...]", "I");
    testing::shot(form.get(), "Form5-movement-I");
    open("[MoveWheel.3;]", "I");
    EXPECT_FALSE(label("Label3")->isVisible());
    EXPECT_FALSE(box("Text2")->isVisible());
    testing::shot(form.get(), "Form5-wheel-I");
}

TEST_F(MouseValuesDialogTest, NegativePositionIsRedAndHoldsTheFocus) {
    open("[PosMouse ...]");
    typeInto(box("Text1"), "-5");
    EXPECT_TRUE(isBoxRed(box("Text1")));
    box("Text2")->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return box("Text1")->hasFocus(); }, 2000));
    // OK does not take it either, also when pressed with Enter.
    QTest::keyClick(box("Text1"), Qt::Key_Return);
    EXPECT_TRUE(form->isVisible());
    typeInto(box("Text1"), "12");
    EXPECT_FALSE(isBoxRed(box("Text1")));
    typeInto(box("Text2"), "");
    box("Text1")->setFocus();
    EXPECT_EQ(box("Text2")->text(), "0");
    click("Command1");
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->DialogValue1, 12);
    EXPECT_EQ(form->DialogValue2, 0);
}

// Values read back from a line that a position may not have: the user can
// put either right first.
TEST_F(MouseValuesDialogTest, TwoRefusedValuesDoNotFightForTheFocus) {
    open("[PosMouse.-5;-7)]");
    EXPECT_TRUE(isBoxRed(box("Text1")));
    EXPECT_TRUE(isBoxRed(box("Text2")));
    box("Text2")->setFocus();
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::processEvents();
        EXPECT_TRUE(box("Text2")->hasFocus()) << round;
    }
    typeInto(box("Text2"), "7");
    box("Text1")->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(box("Text1")->hasFocus());
    typeInto(box("Text1"), "5");
    QTest::keyClick(box("Text1"), Qt::Key_Return);
    EXPECT_EQ(form->DialogValue1, 5);
    EXPECT_EQ(form->DialogValue2, 7);
}

TEST_F(MouseValuesDialogTest, MovementTakesNegativeValuesAndRoundsHalvesToEven) {
    open("[MoveMouse ...]");
    typeInto(box("Text1"), "-");
    EXPECT_FALSE(isBoxRed(box("Text1")));
    QTest::keyClicks(box("Text1"), "5");
    EXPECT_FALSE(isBoxRed(box("Text1")));
    typeInto(box("Text2"), "2.5");
    QTest::keyClick(box("Text2"), Qt::Key_Return);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->DialogValue1, -5);
    EXPECT_EQ(form->DialogValue2, 2);
}

TEST_F(MouseValuesDialogTest, F8TakesThePointerPosition) {
    open("[PosMouse ...]");
    form->pointerPosition()->setSource([] { return QPoint(640, 512); });
    EXPECT_TRUE(form->pointerPosition()->text().startsWith("Pointer now at  X=640  Y=512"));
    QTest::keyClick(form.get(), Qt::Key_F8);
    EXPECT_EQ(box("Text1")->text(), "640");
    EXPECT_EQ(box("Text2")->text(), "512");
}

// The entry points as the editor calls them.
TEST(SetValuesTest, NewUpdateAndExit) {
    const Settings settings;
    whenModal([](QDialog* form) {
        typeInto(control<QLineEdit>(form, "Text1"), "-5");
        QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
    });
    EXPECT_EQ(SetValues(nullptr, settings, "[MoveMouse ...]"), "[MoveMouse(-5;0)]");

    whenModal([](QDialog* form) {
        EXPECT_EQ(control<QLineEdit>(form, "Text1")->text(), "100");
        EXPECT_EQ(control<QLineEdit>(form, "Text2")->text(), "200");
        QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
    });
    EXPECT_EQ(SetValues(nullptr, settings, "[PosMouse(100;200)]"), "[PosMouse(100;200)]");

    whenModal([](QDialog* form) {
        EXPECT_EQ(control<QLineEdit>(form, "Text1")->text(), "3");
        QTest::mouseClick(control<QPushButton>(form, "Command1"), Qt::LeftButton);
    });
    EXPECT_EQ(SetValues(nullptr, settings, "[MoveWheel.3;]"), "[MoveWheel(3)]");

    whenModal([](QDialog* form) {
        typeInto(control<QLineEdit>(form, "Text1"), "77");
        QTest::mouseClick(control<QPushButton>(form, "Command2"), Qt::LeftButton);
    });
    EXPECT_EQ(SetValues(nullptr, settings, "[PosMouse ...]"), "");

    whenModal([](QDialog* form) { form->close(); });
    EXPECT_EQ(SetValues(nullptr, settings, "[PosMouse(1;2)]"), "");

    EXPECT_EQ(SetValues(nullptr, settings, "[LeftClick]"), "");
}

} // namespace
} // namespace tapwise
