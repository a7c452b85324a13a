#include "language/LineFields.h"

#include <cmath>
#include <limits>

namespace tapwise {

namespace {

double roundHalfToEven(double value) {
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return whole;
}

} // namespace

QStringList CommandFields(const QString& keys) {
    const qsizetype open = keys.indexOf(u'(');
    const qsizetype close = keys.lastIndexOf(u')');
    if (open < 0 || close < open)
        return {};
    return keys.mid(open + 1, close - open - 1).split(u';');
}

QString pauseRemark(const QString& keys) {
    return keys.mid(7);
}

QString worksheetColumnLetters(const QString& keys) {
    const qsizetype hash = keys.indexOf(u'#');
    if (hash < 0)
        return {};
    const QString rest = keys.mid(hash + 1);
    const qsizetype semicolon = rest.indexOf(u';');
    return semicolon < 0 ? rest : rest.left(semicolon);
}

QString clipboardColumnLetters(const QString& keys) {
    const qsizetype hash = keys.indexOf(u'#');
    if (hash < 0 || hash + 1 >= keys.size())
        return {};
    return keys.mid(hash + 1, keys.size() - hash - 2);
}

std::optional<qint32> wholeNumber(QStringView text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfToEven(value);
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

std::optional<MouseValues> mouseValues(const QString& keys) {
    const qsizetype open = keys.indexOf(u'(');
    const qsizetype separator = keys.indexOf(u';');
    const qsizetype close = keys.indexOf(u')');
    if (open < 0 || separator < open || close < separator)
        return std::nullopt;
    const QStringView view(keys);
    const auto x = wholeNumber(view.mid(open + 1, separator - open - 1));
    const auto y = wholeNumber(view.mid(separator + 1, close - separator - 1));
    if (!x || !y)
        return std::nullopt;
    return MouseValues{*x, *y};
}

std::optional<qint32> wheelAmount(const QString& keys) {
    const qsizetype open = keys.indexOf(u'(');
    const qsizetype close = keys.indexOf(u')');
    if (open < 0 || close < open)
        return std::nullopt;
    return wholeNumber(QStringView(keys).mid(open + 1, close - open - 1));
}

} // namespace tapwise
