#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

namespace tapwise {

// Every message box and text prompt of the program opens through here, so
// that a test can answer the next ones before they open (no path of a window
// needs a person) and read back what they said.
class MessageBox {
public:
    using Button = QMessageBox::StandardButton;
    using Buttons = QMessageBox::StandardButtons;

    // A message or a question; gives the button pressed. Closing the box
    // with its close button or Escape gives Cancel where the box has it,
    // otherwise No where it has it, otherwise Ok.
    static Button show(QWidget* parent, const QString& title, const QString& text,
                       Buttons buttons = QMessageBox::Ok,
                       Button defaultButton = QMessageBox::NoButton);
    static bool askYesNo(QWidget* parent, const QString& title, const QString& text,
                         Button defaultButton = QMessageBox::Yes);

    // A one-line text prompt with OK and Cancel; nullopt when cancelled.
    // Hidden shows a dot for each character typed (a password).
    enum class Echo { Shown, Hidden };
    static std::optional<QString> input(QWidget* parent, const QString& title,
                                        const QString& prompt, const QString& initial = {},
                                        Echo echo = Echo::Shown);

    // The language of the buttons: "I" Italian, anything else English.
    static void setLanguage(const QString& Lang);

    // For tests. Answers are taken in order by the boxes that open next;
    // a box that opens while no answer is queued fails the test loudly
    // (its default button is taken and the miss is recorded).
    static void setNextAnswer(Button answer);
    static void setNextInput(std::optional<QString> text);
    // Starts answering boxes from the queue instead of showing them.
    static void setTestMode(bool on);

    struct Shown {
        QString title;
        QString text;
        bool unanswered = false; // opened with nothing queued (test mode only)
    };
    // What opened since the last clearShown(), oldest first.
    static const QList<Shown>& shown();
    static void clearShown();
    // Answers still queued: a test that expects every question to be asked
    // checks that none is left.
    static int pendingAnswers();
};

} // namespace tapwise
