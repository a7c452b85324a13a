#pragma once

#include "common/Settings.h"

#include <QDialog>

class QPlainTextEdit;
class QPrinter;

namespace tapwise {

// The manual (Form4): a read-only text in the language of the settings,
// captioned MainTitle + "  Tutorial". Shown modally; returns when closed.
void ShowHelp(QWidget* parent, const Settings& settings);

// The manual in a language ("I" Italian, otherwise English).
QString HelpText(const QString& lang);

// For tests of the windows that offer the help: while on, ShowHelp records
// the call and returns at once instead of opening the modal viewer.
void SetHelpTestMode(bool on);
// How many times ShowHelp was called in test mode, and the last Lang.
int helpShowings();
QString lastHelpLang();

// The viewer itself. A right click on the text asks whether to print the
// window; Yes prints its image on the default printer.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const Settings& settings, QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return Text1; }

    // Prints the window's image on the printer given, one page; false when
    // nothing could be printed.
    bool printImage(QPrinter& printer);
    // For tests: the print offer prints into this PDF file instead of on the
    // default printer.
    void setPrintFile(const QString& pdfFile) { printFile_ = pdfFile; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Text1_MouseDown();
    void printOnDefaultPrinter();

    Settings settings_;
    QString printFile_;
    QPlainTextEdit* Text1 = nullptr;
};

} // namespace tapwise
