#include "engine/LineDispatcher.h"

#include "engine/EngineTexts.h"
#include "engine/Outcomes.h"
#include "engine/Run.h"
#include "engine/TextRules.h"
#include "language/KeyTranslation.h"
#include "language/LineFields.h"
#include "language/LineSyntax.h"
#include "platform/Desktop.h"

namespace tapwise {

LineDispatcher::LineDispatcher(Run& run) : run_(run) {}

qint16 LineDispatcher::ExecLine(QString& keys, qint32 waitTime) {
    qint16 outcome = 0;
    if (isMouseLine(keys)) {
        DoMouse(keys);
    } else if (isCharacterString(keys)) {
        outcome = TypeChars(keys, waitTime);
    } else if (isPauseLine(keys)) {
        outcome = run_.pause.HandlePause(pauseRemark(keys), PauseModeKey);
    } else if (isCheckLine(keys)) {
        outcome = run_.checks.DoChk(keys);
    } else if (isConditionLine(keys)) {
        return run_.conditions.DoIf(keys);
    } else if (isLabelLine(keys)) {
        return run_.conditions.DoLabel();
    } else if (isWorksheetCommand(keys)) {
        return 0;
    } else if (!keys.isEmpty()) {
        run_.check(run_.desktop().sendKeys(keys, true));
    }
    run_.pause.WaitHundredths(scaledWait(waitTime, run_.state.WaitPercent));
    return outcome;
}

qint16 LineDispatcher::TypeChars(QString& keys, qint32 waitTime) {
    keys.remove(0, 1);
    for (const QString& character : characters(keys)) {
        if (run_.stopping())
            break;
        TypeCharacter(character, waitTime);
    }
    return 0;
}

void LineDispatcher::TypeCharacter(const QString& character, qint32 waitTime) {
    // A character beyond the basic plane or a "\r\n" line break is two units
    // long; neither is a special character of the notation, and goes as it is.
    QString keys = character.size() == 1 ? KeysToSend(character) : character;
    ExecLine(keys, waitTime);
}

void LineDispatcher::DoMouse(const QString& keys) {
    Desktop& desktop = run_.desktop();
    switch (mouseEvent(keys)) {
    case MouseEvent::RightClick:
        run_.check(desktop.click(MouseButton::Right));
        break;
    case MouseEvent::LeftClick:
        run_.check(desktop.click(MouseButton::Left));
        break;
    case MouseEvent::MiddleClick:
        run_.check(desktop.click(MouseButton::Middle));
        break;
    case MouseEvent::DblClick:
        run_.check(desktop.doubleClick());
        break;
    case MouseEvent::PosMouse:
        movePointer(keys, true);
        break;
    case MouseEvent::MoveMouse:
        movePointer(keys, false);
        break;
    case MouseEvent::MoveWheel:
        turnWheel(keys);
        break;
    case MouseEvent::None:
        break;
    }
}

// A position that cannot be read would click in the wrong place later: the
// run stops instead.
void LineDispatcher::movePointer(const QString& keys, bool absolute) {
    const std::optional<MouseValues> values = mouseValues(keys);
    if (!values) {
        run_.fail(Error{0, run_.text(enginetexts::BadMouseValues).arg(keys)});
        return;
    }
    Desktop& desktop = run_.desktop();
    run_.check(absolute ? desktop.setPointer(QPoint(values->x, values->y))
                        : desktop.movePointerBy(values->x, values->y));
}

void LineDispatcher::turnWheel(const QString& keys) {
    const std::optional<qint32> amount = wheelAmount(keys);
    if (!amount) {
        run_.fail(Error{0, run_.text(enginetexts::BadMouseValues).arg(keys)});
        return;
    }
    run_.check(run_.desktop().turnWheel(*amount));
}

} // namespace tapwise
