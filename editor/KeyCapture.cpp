#include "editor/KeyCapture.h"

#include <QStringList>

namespace tapwise {

namespace {

struct NamedKey {
    int code;
    const char* name;
};

constexpr NamedKey NamedKeys[] = {
    {8, "{BACKSPACE}"}, {9, "{TAB}"},     {13, "{ENTER}"},    {19, "{BREAK}"},
    {20, "{CAPSLOCK}"}, {27, "{ESC}"},    {32, "{SPACE}"},    {33, "{PGUP}"},
    {34, "{PGDN}"},     {35, "{END}"},    {36, "{HOME}"},     {37, "{LEFT}"},
    {38, "{UP}"},       {39, "{RIGHT}"},  {40, "{DOWN}"},     {44, "{PRTSC}"},
    {45, "{INSERT}"},   {46, "{DELETE}"}, {144, "{NUMLOCK}"}, {145, "{SCROLLLOCK}"},
    {187, "{PLUS}"},    {188, "{COMMA}"},
};

constexpr int FirstFunctionKey = 112;
constexpr int LastFunctionKey = 127;

bool isLetterOrDigit(int code) {
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

QString characterText(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

// The key after the modifiers of a key that typed no character.
QString unmodifiedKey(const KeyRelease& key) {
    if (isLetterOrDigit(key.code))
        return QString(QChar(key.code)).toLower();
    if (key.base > 32 && key.base != 127)
        return characterText(key.base).toLower();
    return {};
}

QString withoutComma(QString keys) {
    return keys.replace(u',', QStringLiteral("{COMMA}"));
}

} // namespace

QString KeyNames(int code) {
    if (code >= FirstFunctionKey && code <= LastFunctionKey)
        return QStringLiteral("{F%1}").arg(code - FirstFunctionKey + 1);
    for (const NamedKey& key : NamedKeys) {
        if (key.code == code)
            return QString::fromLatin1(key.name);
    }
    return {};
}

QString ModifierPrefix(int mask) {
    QStringList parts;
    if (mask & ShiftMask)
        parts << QStringLiteral("Shift");
    if (mask & CtrlMask)
        parts << QStringLiteral("Ctrl");
    if (mask & AltMask)
        parts << QStringLiteral("Alt");
    return parts.join(u'+');
}

QString keyReleaseKeys(const KeyRelease& key) {
    if (key.code == keycode::Shift || key.code == keycode::Control || key.code == keycode::Alt)
        return {};
    const bool typed = key.typed > 31;
    QString keys = typed ? characterText(key.typed) : QString();
    if (key.code < 1 || key.code > 255)
        return withoutComma(keys);
    const QString name = KeyNames(key.code);
    if (!name.isEmpty())
        keys = name;
    if (key.mask != 0) {
        const bool characterKey =
            name.isEmpty() || key.code == keycode::Plus || key.code == keycode::Comma;
        if (characterKey && typed) {
            keys = characterText(key.typed);
        } else if (!name.isEmpty()) {
            keys = ModifierPrefix(key.mask) + u'+' + name;
        } else {
            const QString plain = unmodifiedKey(key);
            keys = plain.isEmpty() ? QString() : ModifierPrefix(key.mask) + u'+' + plain;
        }
    }
    return withoutComma(keys);
}

bool movesDropDownSelection(int code) {
    return code == keycode::PageUp || code == keycode::PageDown || code == keycode::Up ||
           code == keycode::Down;
}

} // namespace tapwise
