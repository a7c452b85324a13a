#include "app/HelpWindow.h"
#include "gui/MessageBox.h"

#include "WindowTestSupport.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

class HelpWindowTest : public testing::AnsweredMessagesTest {
protected:
    void open(const QString& lang) {
        Settings settings;
        settings.Lang = lang;
        form = std::make_unique<HelpWindow>(settings);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void clickText(Qt::MouseButton button) {
        QTest::mouseClick(form->text()->viewport(), button, {}, QPoint(40, 40));
    }
    // Pages of a PDF file: its page objects, not the page tree.
    static int pdfPages(const QString& file) {
        QFile pdf(file);
        if (!pdf.open(QIODevice::ReadOnly))
            return 0;
        const QString bytes = QString::fromLatin1(pdf.readAll());
        return static_cast<int>(bytes.count(QRegularExpression("/Type\\s*/Page(?!s)")));
    }

    QTemporaryDir dir;
    std::unique_ptr<HelpWindow> form;
};

TEST_F(HelpWindowTest, ShowsTheManualOfTheLanguageFromItsStart) {
    open("I");
    EXPECT_EQ(form->text()->toPlainText(), HelpText("I"));
    EXPECT_EQ(form->text()->textCursor().position(), 0);
    EXPECT_TRUE(form->text()->isReadOnly());
}

// The example is the same table in both languages; no line is wider than
// the viewer.
TEST_F(HelpWindowTest, BothManualsHoldTheSameExampleAndFitTheViewerWidth) {
    QList<QStringList> examples;
    for (const char* lang : {"E", "I"}) {
        const QStringList lines = HelpText(lang).split('\n');
        const qsizetype header = lines.indexOf("Keys             WaitTime(hsec)  ");
        ASSERT_GT(header, 0) << lang;
        examples << lines.mid(header + 1, 14);
        for (const QString& line : lines)
            EXPECT_LE(line.size(), 78) << line.toStdString();
    }
    EXPECT_EQ(examples[0], examples[1]);
    EXPECT_EQ(examples[0].last(), "{ENTER}               0");
}

TEST_F(HelpWindowTest, RightClickAsksToPrintAndYesPrintsTheWindowOnOnePage) {
    open("E");
    const QString pdf = dir.filePath("help.pdf");
    form->setPrintFile(pdf);
    clickText(Qt::LeftButton);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    MessageBox::setNextAnswer(QMessageBox::No);
    clickText(Qt::RightButton);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text, "Do you confirm to print?");
    EXPECT_EQ(MessageBox::shown()[0].title, "Tapwise");
    EXPECT_FALSE(QFile::exists(pdf));
    MessageBox::setNextAnswer(QMessageBox::Yes);
    clickText(Qt::RightButton);
    EXPECT_EQ(pdfPages(pdf), 1);
}

TEST_F(HelpWindowTest, WithoutAPrinterYesSaysThatNothingWasPrinted) {
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a default printer is configured here";
    open("I");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    clickText(Qt::RightButton);
    ASSERT_EQ(MessageBox::shown().size(), 2);
    EXPECT_EQ(MessageBox::shown()[0].text, "Confermi la stampa?");
    EXPECT_EQ(MessageBox::shown()[1].text,
              "Nessuna stampante e' configurata su questo computer: non e' stato stampato nulla.");
}

TEST(ShowHelpTest, InTestModeTheCallIsRecordedWithoutAWindow) {
    SetHelpTestMode(true);
    Settings settings;
    settings.Lang = "I";
    ShowHelp(nullptr, settings);
    EXPECT_EQ(helpShowings(), 1);
    EXPECT_EQ(lastHelpLang(), "I");
    SetHelpTestMode(false);
    EXPECT_EQ(helpShowings(), 0);
}

} // namespace
} // namespace tapwise
