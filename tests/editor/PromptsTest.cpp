#include "DialogTestSupport.h"

#include "common/Settings.h"
#include "editor/EntryDialogs.h"
#include "gui/MessageBox.h"

#include <QInputDialog>
#include <QLabel>

namespace tapwise {
namespace {

class PromptsTest : public testing::AnsweredMessagesTest {
protected:
    QStringList prompts() const {
        QStringList texts;
        for (const auto& shown : MessageBox::shown())
            texts.append(shown.title + u'|' + shown.text);
        return texts;
    }

    Settings settings;
};

TEST_F(PromptsTest, EachKindAsksWithItsTextAndBuildsItsLine) {
    MessageBox::setNextInput("  check the total ");
    EXPECT_EQ(Remark(nullptr, settings, "*Pause*", 0), "*Pause*check the total");
    MessageBox::setNextInput(QString(50, u'r'));
    EXPECT_EQ(Remark(nullptr, settings, "#**Remark ...", 0), "#**" + QString(40, u'r'));
    MessageBox::setNextInput("John Smith");
    EXPECT_EQ(Remark(nullptr, settings, ":<string>", 0), ":John Smith");
    EXPECT_EQ(prompts(), (QStringList{"Remark|Enter the pause remark.\n(Max 36 characters)",
                                      "Remark|Enter the remark.\n(Max 40 characters)",
                                      "Characters string|Enter the characters string.\n(Max 40 "
                                      "characters)"}));
}

TEST_F(PromptsTest, CommaIsAskedAgainAndCancelGivesNothing) {
    settings.Lang = "I";
    MessageBox::setNextInput("a,b");
    MessageBox::setNextInput("a, b");
    MessageBox::setNextInput("a b");
    EXPECT_EQ(Remark(nullptr, settings, "#**old", 1), "#**a b");
    EXPECT_EQ(prompts(), (QStringList{"Commento|Inserisci il commento.\n(Max 40 caratteri)",
                                      "Commento|'Virgola' non permessa!",
                                      "Commento|'Virgola' non permessa!"}));
    MessageBox::setNextInput(std::nullopt);
    EXPECT_EQ(Remark(nullptr, settings, "*Pause*x", 1), "");
    MessageBox::setNextInput("   ");
    EXPECT_EQ(Remark(nullptr, settings, ":abc", 1), "");
    // An empty pause remark cancels the pause line too.
    MessageBox::setNextInput("");
    EXPECT_EQ(Remark(nullptr, settings, "*Pause*", 0), "");
}

TEST_F(PromptsTest, LabelIsAskedUntilItIsANumberFrom1To999) {
    for (const char* wrong : {"0", "1000", "12a", "-1"})
        MessageBox::setNextInput(QString::fromLatin1(wrong));
    MessageBox::setNextInput("007");
    EXPECT_EQ(LabelN(nullptr, settings, "*Label ...*"), "*Label(7)*");
    const QStringList asked = prompts();
    ASSERT_EQ(asked.size(), 5);
    EXPECT_EQ(asked[0], "Label|Enter the 'Label'\nFrom 1 to 999");
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(asked[i], "Label|Wrong 'Label'!");

    MessageBox::setNextInput("999");
    EXPECT_EQ(LabelN(nullptr, settings, "*Label(12)*"), "*Label(999)*");
    MessageBox::setNextInput(std::nullopt);
    EXPECT_EQ(LabelN(nullptr, settings, "*Label(12)*"), "");
}

// The real input box: what it offers in update mode, and the refused answer
// offered again.
TEST(PromptBoxTest, OffersTheCurrentTextAndTheRefusedAnswer) {
    MessageBox::setTestMode(false);
    const Settings settings;
    testing::whenModal([](QDialog* first) {
        auto* box = first->findChild<QLineEdit*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "old remark");
        box->setText("a,b");
        testing::whenModal([](QDialog* second) {
            EXPECT_EQ(second->findChild<QLineEdit*>()->text(), "a,b");
            EXPECT_EQ(second->findChild<QLabel*>()->text(), "'Comma' not allowed!");
            second->findChild<QLineEdit*>()->setText("a b");
            second->accept();
        });
        first->accept();
    });
    EXPECT_EQ(Remark(nullptr, settings, "#**old remark", 1), "#**a b");

    testing::whenModal([](QDialog* form) {
        EXPECT_EQ(form->findChild<QLineEdit*>()->text(), "12");
        form->reject();
    });
    EXPECT_EQ(LabelN(nullptr, settings, "*Label(12)*"), "");
}

} // namespace
} // namespace tapwise
