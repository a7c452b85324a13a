#include "ScriptedRunUi.h"

namespace tapwise {

QStringList ScriptedRunUi::windowTexts(int mode) const {
    QStringList texts;
    for (const MessageRequest& request : windows) {
        if (request.mode == mode)
            texts.append(request.text);
    }
    return texts;
}

QString ScriptedRunUi::report() const {
    const QStringList texts = windowTexts(0);
    return texts.isEmpty() ? QString() : texts.last();
}

void ScriptedRunUi::processEvents() {
    ++processEventsCount;
    if (onProcessEvents)
        onProcessEvents(processEventsCount);
}

void ScriptedRunUi::closeMainWindow() {
    log.append(QStringLiteral("main-closed"));
}

void ScriptedRunUi::showMessage(const QString& text) {
    log.append(QStringLiteral("message ") + text);
    messages.append(text);
}

QString ScriptedRunUi::chooseWorkbook() {
    log.append(QStringLiteral("choose-workbook"));
    return workbookChoice;
}

std::optional<QString> ScriptedRunUi::askPassword(const QString& prompt) {
    log.append(QStringLiteral("password"));
    passwordPrompts.append(prompt);
    return passwordAnswer;
}

RunUi::StartAnswer ScriptedRunUi::showStartWindow(const StartRequest& request) {
    log.append(QStringLiteral("start"));
    starts.push_back(request);
    if (startAnswers.empty())
        return StartAnswer{true, 2};
    const StartAnswer answer = startAnswers.front();
    startAnswers.pop_front();
    return answer;
}

QString ScriptedRunUi::showMessageWindow(const MessageRequest& request) {
    windows.push_back(request);
    if (onMessageWindow)
        onMessageWindow(request);
    QString answer = QStringLiteral("OK");
    if (request.mode != 0) {
        answer = QStringLiteral("P");
        if (!pauseAnswers.empty()) {
            answer = pauseAnswers.front();
            pauseAnswers.pop_front();
        }
    }
    log.append(QStringLiteral("window %1 %2").arg(request.mode).arg(request.text));
    return answer;
}

RunUi::CycleAnswer ScriptedRunUi::showCycleDialog(const CycleRequest& request) {
    log.append(QStringLiteral("cycle"));
    cycles.push_back(request);
    CycleAnswer answer{QStringLiteral("NO"), waitPercent_};
    if (!cycleAnswers.empty()) {
        answer = cycleAnswers.front();
        cycleAnswers.pop_front();
    }
    waitPercent_ = answer.waitPercent; // the box keeps its value between cycles
    return answer;
}

void ScriptedRunUi::showRunningWindow(const QString&, const QString&) {
    log.append(QStringLiteral("running"));
}

void ScriptedRunUi::closeRunningWindow() {
    log.append(QStringLiteral("running-closed"));
}

void ScriptedRunUi::showActivationNotice(const QString& text) {
    log.append(QStringLiteral("notice ") + text);
}

} // namespace tapwise
