#include "engine/PauseControl.h"

#include "engine/EngineTexts.h"
#include "engine/Outcomes.h"
#include "engine/Run.h"
#include "engine/RunUi.h"
#include "engine/TextRules.h"
#include "language/LineSyntax.h"
#include "platform/Desktop.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace tapwise {

namespace et = enginetexts;
using namespace std::chrono_literals;

namespace {

constexpr auto PollInterval = 10ms;

} // namespace

PauseControl::PauseControl(Run& run) : run_(run) {}

bool PauseControl::yieldToWindows() {
    run_.ui().processEvents();
    if (run_.state.RunningWindowShown && run_.ui().runningWindowActivated()) {
        run_.endByActivation();
        return false;
    }
    return true;
}

void PauseControl::WaitHundredths(qint64 n) {
    RunState& s = run_.state;
    if (s.PauseRequested || run_.stopping() || n < 0)
        return;
    Desktop& desktop = run_.desktop();
    n = std::min<qint64>(n, std::numeric_limits<qint32>::max());
    const std::chrono::nanoseconds deadline = desktop.monotonicTime() + n * 10ms;
    do {
        if (!yieldToWindows())
            return;
        const std::chrono::nanoseconds left = deadline - desktop.monotonicTime();
        if (left > 0ns) {
            // Never sleep past the deadline: a short wait stays short.
            desktop.sleep(std::chrono::ceil<std::chrono::microseconds>(
                std::min<std::chrono::nanoseconds>(PollInterval, left)));
        }
        if (desktop.pauseKeyPressed()) {
            s.PauseRequested = true;
            return;
        }
    } while (desktop.monotonicTime() < deadline);
}

void PauseControl::PollPauseKey() {
    if (run_.desktop().pauseKeyPressed())
        run_.state.PauseRequested = true;
}

qint16 PauseControl::HandlePause(const QString& text, int mode) {
    RunState& s = run_.state;
    s.SavedCursor = run_.desktop().pointer();
    ShowMessageWindow(mode, WrapText(pauseMessage(text, mode)));
    WaitHundredths(10);
    return answerOutcome();
}

qint16 PauseControl::answerOutcome() {
    const QString& answer = run_.state.PauseAnswer;
    if (answer == u"C") {
        run_.state.NoMsg = QStringLiteral("CANCEL");
        return PauseCancel;
    }
    if (answer == u"P") {
        run_.check(run_.desktop().setPointer(run_.state.SavedCursor));
        return PauseContinue;
    }
    if (answer == u"E")
        return RestartNextRow;
    if (answer == u"R")
        return RestartThisRow;
    if (answer == u"F")
        return RestartNextLoop;
    if (answer == u"T")
        return RestartThisLoop;
    return PauseContinue;
}

QString PauseControl::pauseMessage(const QString& text, int mode) const {
    if (mode == DifferenceMode)
        return run_.text(et::DifferenceBefore) + text + run_.text(et::DifferenceAfter);
    if (mode == WrongDataMode)
        return wrongDataMessage(text);
    const QString remark = pauseText(text);
    if (isItalian(run_.lang()))
        return QStringLiteral("\n\n") + run_.text(et::PauseHeading) + QStringLiteral("\r\n") +
               remark;
    return QStringLiteral("\n\n") + run_.text(et::PauseHeading) +
           generalDateText(run_.desktop().currentDateTime()) + QStringLiteral("\r\n") + remark;
}

// The remark of a pause, in brackets; nothing for "", "0" or blanks.
QString PauseControl::pauseText(const QString& text) const {
    const QString trimmed = trimBlanks(text);
    if (trimmed.isEmpty() || trimmed == u"0" || trimmed[0].unicode() < 33)
        return {};
    return u'(' + text + u')';
}

// The check line up to its closing "*", the banner, then what was found.
QString PauseControl::wrongDataMessage(const QString& text) const {
    const qsizetype star = text.indexOf(u'*', 1);
    const qsizetype split = star < 0 ? 0 : star + 1;
    return text.left(split) + u'\n' + run_.text(et::WrongData) + u'\n' + text.mid(split);
}

void PauseControl::ShowMessageWindow(int mode, const QString& text) {
    RunState& s = run_.state;
    s.PauseAnswer.clear();
    if (mode != WrongDataMode)
        s.PauseCountdown = 0;
    RunUi::MessageRequest request;
    request.mode = mode;
    request.caption = run_.title();
    request.text = text;
    request.countdownSeconds = s.PauseCountdown;
    if (mode != MessageMode && s.ColumnCount >= 1) {
        request.caption = captionWithRow(request.caption, run_.text(et::ExcelRow) +
                                                              QString::number(s.CurrentRow) + u')');
        request.worksheet = true;
        request.loops = s.HasExcelLoop;
    }
    run_.desktop().beep();
    s.PauseAnswer = run_.ui().showMessageWindow(request);
    WaitHundredths(5);
}

void PauseControl::ShowRunningWindow() {
    const QString caption = run_.title() + run_.text(et::RunningCaption);
    const QString label = run_.text(et::Running) + u'\n' + run_.text(et::UsePauseKey);
    run_.state.RunningWindowShown = true;
    run_.ui().showRunningWindow(caption, label);
}

} // namespace tapwise
