#include "app/HelpWindow.h"

#include "app/HelpTexts.h"
#include "gui/MessageBox.h"
#include "gui/Twips.h"
#include "gui/WidgetNames.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>

namespace tapwise {
namespace {

constexpr int FormWidth = 11250;
constexpr int FormHeight = 8535;
constexpr int Margin = 120;

struct HelpTestMode {
    bool on = false;
    int showings = 0;
    QString lang;
};

// The test switch: one for the program, used by the GUI thread only.
HelpTestMode& helpTestMode() {
    static HelpTestMode mode;
    return mode;
}

QString messageTitle() {
    return QString::fromLatin1(helptext::MessageTitle);
}

} // namespace

QString HelpText(const QString& lang) {
    QString text = helptext::HelpBeforeExample.in(lang);
    for (const char* line : helptext::ExampleLines)
        text += QString::fromLatin1(line) + QLatin1Char('\n');
    return text + helptext::HelpAfterExample.in(lang);
}

HelpWindow::HelpWindow(const Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(settings_.MainTitle + QString::fromLatin1(helptext::CaptionSuffix));
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setContextMenuPolicy(Qt::NoContextMenu);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9.75);
    Text1->setFont(font);
    Text1->setPlainText(HelpText(settings_.Lang));
    Text1->moveCursor(QTextCursor::Start);
    Text1->viewport()->installEventFilter(this);

    auto* column = new QVBoxLayout(this);
    const int margin = TwipsToPixels(Margin);
    column->setContentsMargins(margin, margin, margin, margin);
    column->addWidget(Text1);
    resize(TwipsToPixels(FormWidth), TwipsToPixels(FormHeight));
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        Text1_MouseDown();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void HelpWindow::Text1_MouseDown() {
    if (!MessageBox::askYesNo(this, messageTitle(), helptext::PrintQuestion.in(settings_.Lang)))
        return;
    if (!printFile_.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile_);
        printImage(printer);
        return;
    }
    printOnDefaultPrinter();
}

// Without a configured printer the user is told so: the question was
// answered Yes, and silence would look like a print on its way.
void HelpWindow::printOnDefaultPrinter() {
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        MessageBox::show(this, messageTitle(), helptext::NoPrinter.in(settings_.Lang));
        return;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    if (!printImage(printer))
        MessageBox::show(this, messageTitle(),
                         helptext::PrintFailed.in(settings_.Lang).arg(target.printerName()));
}

// The window's image, as large as the page allows with its proportions kept.
bool HelpWindow::printImage(QPrinter& printer) {
    const QPixmap image = grab();
    QPainter painter;
    if (image.isNull() || !painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(QRect(page.topLeft(), size));
    painter.setWindow(image.rect());
    painter.drawPixmap(0, 0, image);
    return painter.end();
}

void ShowHelp(QWidget* parent, const Settings& settings) {
    if (helpTestMode().on) {
        ++helpTestMode().showings;
        helpTestMode().lang = settings.Lang;
        return;
    }
    HelpWindow window(settings, parent);
    window.exec();
}

void SetHelpTestMode(bool on) {
    helpTestMode() = {on, 0, {}};
}

int helpShowings() {
    return helpTestMode().showings;
}

QString lastHelpLang() {
    return helpTestMode().lang;
}

} // namespace tapwise
