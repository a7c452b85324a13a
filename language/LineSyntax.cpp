#include "language/LineSyntax.h"

#include <array>

namespace tapwise {

namespace {

constexpr Qt::CaseSensitivity NoCase = Qt::CaseInsensitive;

struct MouseKeyword {
    const char16_t* keyword;
    MouseEvent event;
};

constexpr std::array<MouseKeyword, 7> MouseKeywords{{
    {u"RIGHTCLICK", MouseEvent::RightClick},
    {u"LEFTCLICK", MouseEvent::LeftClick},
    {u"MIDDLECLICK", MouseEvent::MiddleClick},
    {u"DBLCLICK", MouseEvent::DblClick},
    {u"POSMOUSE", MouseEvent::PosMouse},
    {u"MOVEMOUSE", MouseEvent::MoveMouse},
    {u"MOVEWHEEL", MouseEvent::MoveWheel},
}};

constexpr std::array<const char16_t*, 4> WorksheetCommands{u"*CHKEXCEL", u"*BEGINEXCEL",
                                                           u"*ENDEXCEL", u"*PUTCLIPBTOCOL"};

} // namespace

QString trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

bool beginsWithKeyword(QStringView text, QStringView keyword) {
    return text.startsWith(keyword, NoCase);
}

bool keywordAtSecond(QStringView text, QStringView keyword) {
    return text.indexOf(keyword, 0, NoCase) == 1;
}

bool isNotExecutable(const QString& keys) {
    return keys.startsWith(u'#') && trimBlanks(QStringView(keys).left(2)) != u"#";
}

bool isRemark(const QString& keys) {
    return keys.startsWith(u"#**");
}

bool isCommandLine(const QString& keys) {
    const QString trimmed = trimBlanks(keys);
    if (trimmed.size() <= 2)
        return false;
    return trimmed.startsWith(u'*') || trimmed.startsWith(u"#*");
}

bool isMouseLine(const QString& keys) {
    return keys.startsWith(u'[') && keys.size() > 2;
}

bool isCharacterString(const QString& keys) {
    return keys.startsWith(u':') && keys.size() > 1;
}

bool isPauseLine(const QString& keys) {
    return beginsWithKeyword(keys, u"*PAUSE");
}

bool isCheckLine(const QString& keys) {
    return beginsWithKeyword(keys, u"*CHK(");
}

bool isConditionLine(const QString& keys) {
    return beginsWithKeyword(keys, u"*IF(");
}

bool isLabelLine(const QString& keys) {
    return beginsWithKeyword(keys, u"*LABEL(");
}

bool isWorksheetCommand(const QString& keys) {
    for (const char16_t* keyword : WorksheetCommands) {
        if (beginsWithKeyword(keys, keyword))
            return true;
    }
    return false;
}

bool isClipboardToColumnLine(const QString& keys) {
    return beginsWithKeyword(keys, u"*PUTCLIPBTOCOL");
}

bool isWorksheetColumnLine(const QString& keys) {
    return beginsWithKeyword(keys, u"EXCEL");
}

MouseEvent mouseEvent(const QString& keys) {
    if (!isMouseLine(keys))
        return MouseEvent::None;
    for (const MouseKeyword& entry : MouseKeywords) {
        if (keywordAtSecond(keys, entry.keyword))
            return entry.event;
    }
    return MouseEvent::None;
}

LineKind lineKind(const QString& keys) {
    if (isNotExecutable(keys))
        return LineKind::NotExecutable;
    if (isWorksheetColumnLine(keys))
        return LineKind::WorksheetColumn;
    if (isMouseLine(keys))
        return LineKind::Mouse;
    if (isCharacterString(keys))
        return LineKind::CharacterString;
    if (isPauseLine(keys))
        return LineKind::Pause;
    if (isCheckLine(keys))
        return LineKind::Check;
    if (isConditionLine(keys))
        return LineKind::Condition;
    if (isLabelLine(keys))
        return LineKind::Label;
    if (isWorksheetCommand(keys))
        return LineKind::WorksheetCommand;
    return LineKind::Keystrokes;
}

QString markNotExecutable(const QString& keys) {
    if (isNotExecutable(keys))
        return keys;
    // "#" in front of "**" would make a remark, which is never switched on
    // again; "##" keeps the line switchable (no other marked line begins so).
    const QString mark = keys.startsWith(u"**") ? QStringLiteral("##") : QStringLiteral("#");
    QString marked = mark + keys;
    if (marked.size() > KeysWidth)
        marked.chop(mark.size());
    return marked;
}

QString unmarkNotExecutable(const QString& keys) {
    if (!isNotExecutable(keys) || isRemark(keys))
        return keys;
    if (keys.startsWith(u"##**"))
        return keys.mid(2);
    return keys.mid(1);
}

} // namespace tapwise
