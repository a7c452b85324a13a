#include "language/KeyTranslation.h"

#include "language/LineSyntax.h"

namespace tapwise {

namespace {

constexpr QStringView SpecialCharacters = u"+^%~()[]{}";

// The names that stand for keys a Keys text cannot hold as they are.
QString translateKeyName(const QString& key) {
    QString result = key;
    if (keywordAtSecond(key, u"COMMA"))
        result = QStringLiteral(",");
    if (keywordAtSecond(key, u"SPACE"))
        result = QStringLiteral(" ");
    if (keywordAtSecond(key, u"PLUS"))
        result = QStringLiteral("{+}");
    return result;
}

QString modifierPrefix(const QString& combination) {
    QString prefix;
    if (combination.contains(u"SHIFT", Qt::CaseInsensitive))
        prefix += u'+';
    if (combination.contains(u"CTRL", Qt::CaseInsensitive))
        prefix += u'^';
    if (combination.contains(u"ALT", Qt::CaseInsensitive))
        prefix += u'%';
    return prefix;
}

QString translateCombination(const QString& keys) {
    const qsizetype plus = keys.lastIndexOf(u'+');
    if (plus < 0)
        return {};
    const QString key = keys.mid(plus + 1);
    // A modifier with nothing to hold it for would hang on the next key typed.
    if (key.isEmpty())
        return {};
    return modifierPrefix(keys) + translateKeyName(key);
}

} // namespace

QString KeysToSend(const QString& keys) {
    if (keys.isEmpty())
        return {};
    if (keys.size() == 1) {
        if (SpecialCharacters.contains(keys.front()))
            return u'{' + keys + u'}';
        return keys;
    }
    const QChar first = keys.front();
    if (first == u'[' || first == u'*' || first == u':')
        return keys;
    if (first == u'{')
        return translateKeyName(keys);
    return translateCombination(keys);
}

} // namespace tapwise
