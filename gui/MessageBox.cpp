#include "gui/MessageBox.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QLineEdit>

#include <deque>
#include <variant>

namespace tapwise {
namespace {

using Answer = std::variant<MessageBox::Button, std::optional<QString>>;

// The buttons speak the program's language, which need not be the desktop's.
bool italianButtons = false;

void setButtonTexts(QMessageBox& box) {
    if (!italianButtons)
        return;
    const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
        {QMessageBox::Yes, "S\u00ec"}, {QMessageBox::No, "No"}, {QMessageBox::Cancel, "Annulla"}};
    for (const auto& [button, text] : texts)
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf8(text));
}

struct TestAnswers {
    bool on = false;
    std::deque<Answer> queue;
    QList<MessageBox::Shown> shown;
};

// The test answers: one set for the program, used by the GUI thread only.
TestAnswers& testAnswers() {
    static TestAnswers answers;
    return answers;
}

MessageBox::Button escapeButton(MessageBox::Buttons buttons) {
    if (buttons & QMessageBox::Cancel)
        return QMessageBox::Cancel;
    if (buttons & QMessageBox::No)
        return QMessageBox::No;
    return QMessageBox::Ok;
}

MessageBox::Button defaultOf(MessageBox::Buttons buttons, MessageBox::Button defaultButton) {
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry})
        if (buttons & b)
            return b;
    return escapeButton(buttons);
}

// Takes the next queued answer of the wanted kind, or records a miss.
template <typename T>
std::optional<T> takeAnswer(const QString& title, const QString& text) {
    auto& answers = testAnswers();
    MessageBox::Shown shown{title, text, false};
    std::optional<T> answer;
    if (!answers.queue.empty() && std::holds_alternative<T>(answers.queue.front())) {
        answer = std::get<T>(answers.queue.front());
        answers.queue.pop_front();
    } else {
        shown.unanswered = true;
        qWarning("MessageBox: no answer queued for \"%s\"", qPrintable(text));
    }
    answers.shown.append(shown);
    return answer;
}

} // namespace

MessageBox::Button MessageBox::show(QWidget* parent, const QString& title, const QString& text,
                                    Buttons buttons, Button defaultButton) {
    if (testAnswers().on) {
        auto answer = takeAnswer<Button>(title, text);
        return answer ? *answer : defaultOf(buttons, defaultButton);
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons, parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton(buttons));
    setButtonTexts(box);
    const int pressed = box.exec();
    return pressed == 0 ? escapeButton(buttons) : static_cast<Button>(pressed);
}

bool MessageBox::askYesNo(QWidget* parent, const QString& title, const QString& text,
                          Button defaultButton) {
    return show(parent, title, text, QMessageBox::Yes | QMessageBox::No, defaultButton) ==
           QMessageBox::Yes;
}

std::optional<QString> MessageBox::input(QWidget* parent, const QString& title,
                                         const QString& prompt, const QString& initial, Echo echo) {
    if (testAnswers().on) {
        auto answer = takeAnswer<std::optional<QString>>(title, prompt);
        return answer ? *answer : std::nullopt;
    }
    QInputDialog dialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    if (echo == Echo::Hidden)
        dialog.setTextEchoMode(QLineEdit::Password);
    if (italianButtons)
        dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void MessageBox::setLanguage(const QString& Lang) {
    italianButtons = Lang == QLatin1String("I");
}

void MessageBox::setNextAnswer(Button answer) {
    testAnswers().on = true;
    testAnswers().queue.emplace_back(answer);
}

void MessageBox::setNextInput(std::optional<QString> text) {
    testAnswers().on = true;
    testAnswers().queue.emplace_back(std::move(text));
}

void MessageBox::setTestMode(bool on) {
    testAnswers().on = on;
    if (!on)
        testAnswers().queue.clear();
}

const QList<MessageBox::Shown>& MessageBox::shown() {
    return testAnswers().shown;
}

void MessageBox::clearShown() {
    testAnswers().shown.clear();
}

int MessageBox::pendingAnswers() {
    return static_cast<int>(testAnswers().queue.size());
}

} // namespace tapwise
