#include "engine/Checks.h"

#include "engine/EngineTexts.h"
#include "engine/Outcomes.h"
#include "engine/Run.h"
#include "engine/TextRules.h"
#include "language/LineFields.h"
#include "language/LineSyntax.h"
#include "platform/Desktop.h"
#include "platform/KeyNotation.h"

#include <chrono>

namespace tapwise {

namespace {

enum Field { X = 0, Y = 1, Seconds = 2, Wanted = 3, FieldCount = 4 };

// Keeps the first failure of a sequence of steps that must all be tried.
void keep(Status& first, const Status& next) {
    if (first && !next)
        first = next;
}

bool isZero(const QString& field) {
    return isNumericText(field) && field.trimmed().toDouble() == 0.0;
}

// A cell's "\r\n" comes back from an editor as "\n" (or "\r"): one line
// end either way, typed as one Enter.
QString sameLineEnds(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
}

qint16 countdownSeconds(const QString& field) {
    const qint32 seconds = wholeNumber(field).value_or(0);
    return qint16(std::clamp<qint32>(seconds, 0, std::numeric_limits<qint16>::max()));
}

} // namespace

Checks::Checks(Run& run) : run_(run) {}

qint16 Checks::DoChk(const QString& keys) {
    QStringList fields = CommandFields(keys);
    while (fields.size() < FieldCount)
        fields.append(QString());
    run_.state.PauseCountdown = countdownSeconds(fields[Seconds]);
    if (fields[Y].compare(QLatin1String("ClipB"), Qt::CaseInsensitive) == 0)
        return checkClipboard(keys, fields[Wanted]);
    if (isZero(fields[X]) && isZero(fields[Y]))
        return checkWindowTitle(keys, fields[Wanted], run_.state.PauseCountdown);
    return checkScreenText(keys, fields[X], fields[Y], fields[Wanted]);
}

qint16 Checks::checkClipboard(const QString& keys, const QString& wanted) {
    Desktop& desktop = run_.desktop();
    const QString found =
        desktop.clipboardHasText() ? trimBlanks(desktop.clipboardText()) : QString();
    if (containsText(found, wanted))
        return PauseContinue;
    return run_.pause.HandlePause(keys + found, WrongDataMode);
}

// Tries every 10 hundredths until the title holds the text or the seconds
// have passed; the Pause key ends the check without a message.
qint16 Checks::checkWindowTitle(const QString& keys, const QString& wanted, int seconds) {
    RunState& s = run_.state;
    Desktop& desktop = run_.desktop();
    const auto start = desktop.monotonicTime();
    QString title;
    while (!run_.stopping()) {
        if (desktop.monotonicTime() - start > std::chrono::seconds(seconds)) {
            s.PauseCountdown = 0;
            return run_.pause.HandlePause(keys + rightTrimmed(title), WrongDataMode);
        }
        if (s.PauseRequested)
            return PauseContinue;
        title = titleText(desktop.foregroundWindow().title);
        if (containsText(title, wanted)) {
            s.PauseCountdown = 0;
            run_.pause.WaitHundredths(10);
            return PauseContinue;
        }
        if (desktop.pauseKeyPressed()) {
            s.PauseRequested = true;
            return PauseContinue;
        }
        run_.pause.WaitHundredths(10);
    }
    return PauseContinue;
}

qint16 Checks::checkScreenText(const QString& keys, const QString& x, const QString& y,
                               const QString& wanted) {
    Desktop& desktop = run_.desktop();
    const ClipboardContent saved = desktop.saveClipboard();
    const bool placePointer = !x.isEmpty();
    const QPoint from = placePointer
                            ? QPoint(wholeNumber(x).value_or(0), wholeNumber(y).value_or(0))
                            : desktop.pointer();
    Status status = desktop.clearClipboard();
    if (status)
        status = selectScreenLine(from, placePointer);
    const QString copied = status ? copySelection(status) : QString();
    keep(status, desktop.restoreClipboard(saved));
    if (!run_.check(status))
        return PauseContinue;
    if (containsText(copied, wanted)) {
        run_.check(desktop.click(MouseButton::Left)); // removes the selection
        return PauseContinue;
    }
    return run_.pause.HandlePause(keys + rightTrimmed(firstLine(copied)), WrongDataMode);
}

// Drags from the position to the right edge of the screen and back: the
// button goes up again whatever happens in between.
Status Checks::selectScreenLine(QPoint from, bool placePointer) {
    Desktop& desktop = run_.desktop();
    Status status = placePointer ? desktop.setPointer(from) : Status();
    if (!status)
        return status;
    status = desktop.buttonDown(MouseButton::Left);
    if (!status)
        return status;
    status = desktop.setPointer(QPoint(desktop.screenSize().width() - 2, from.y()));
    keep(status, desktop.buttonUp(MouseButton::Left));
    if (status)
        status = desktop.setPointer(from);
    return status;
}

QString Checks::copySelection(Status& status) {
    Desktop& desktop = run_.desktop();
    run_.pause.WaitHundredths(3);
    status = desktop.sendKeys(QStringLiteral("^c"), true);
    run_.pause.WaitHundredths(3);
    if (!status || !desktop.clipboardHasText())
        return {};
    return desktop.clipboardText();
}

qint16 Checks::ChkSentCell(const QString& expected, qint32 /*row*/) {
    Desktop& desktop = run_.desktop();
    const ClipboardContent saved = desktop.saveClipboard();
    Status status = desktop.clearClipboard();
    const bool selecting = status.ok();
    if (selecting)
        status = selectTyped(characters(expected).size());
    run_.pause.WaitHundredths(1);
    if (status)
        status = desktop.sendKeys(QStringLiteral("^c"), true);
    run_.pause.WaitHundredths(1);
    if (selecting) // the selection must go, or the next key would replace it
        keep(status, desktop.sendKeys(QStringLiteral("{RIGHT}"), true));
    run_.pause.WaitHundredths(3);
    const QString received =
        status && desktop.clipboardHasText() ? desktop.clipboardText() : QString();
    keep(status, desktop.restoreClipboard(saved));
    if (!run_.check(status))
        return PauseContinue;
    if (sameLineEnds(expected).compare(sameLineEnds(received), Qt::CaseInsensitive) == 0)
        return PauseContinue;
    const QString text = run_.text(enginetexts::ReceivedData).arg(expected, received);
    return run_.pause.HandlePause(text, DifferenceMode);
}

// Shift+Left once per character, in as few keystroke texts as the
// notation's repeat count allows.
Status Checks::selectTyped(qsizetype count) {
    Status status;
    while (status && count > 0) {
        const qsizetype step = std::min<qsizetype>(count, kMaxKeyRepeat);
        status = run_.desktop().sendKeys(QStringLiteral("+{LEFT %1}").arg(step), true);
        count -= step;
    }
    return status;
}

} // namespace tapwise
