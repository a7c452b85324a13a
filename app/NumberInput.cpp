#include "app/NumberInput.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace tapwise {
namespace {

constexpr int FirstStartRow = 2;
constexpr int LastStartRow = 65536;
constexpr int DefaultWaitPercent = 100;

// The whole part of a number typed without "-" that lies in [low, high].
std::optional<int> wholePartIn(const QString& text, double low, double high) {
    if (text.contains(u'-'))
        return std::nullopt;
    const std::optional<double> number = NumberOfText(text);
    if (!number)
        return std::nullopt;
    const double whole = std::floor(*number);
    if (whole < low || whole > high)
        return std::nullopt;
    return static_cast<int>(whole);
}

std::optional<int> startRowOf(const QString& text) {
    return wholePartIn(text, FirstStartRow, LastStartRow);
}

std::optional<int> waitPercentOf(const QString& text) {
    return wholePartIn(text, 0, std::numeric_limits<int>::max());
}

} // namespace

std::optional<double> NumberOfText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const QLocale& locale : {QLocale::c(), QLocale::system()}) {
        bool ok = false;
        const double value = locale.toDouble(trimmed, &ok);
        if (ok && std::isfinite(value))
            return value;
    }
    return std::nullopt;
}

bool StartRowTextValid(const QString& text) {
    return text.isEmpty() || startRowOf(text).has_value();
}

std::optional<int> StartRowValue(const QString& text) {
    return text.isEmpty() ? std::optional<int>(FirstStartRow) : startRowOf(text);
}

bool WaitPercentTextValid(const QString& text) {
    return text.isEmpty() || waitPercentOf(text).has_value();
}

std::optional<int> WaitPercentValue(const QString& text) {
    return text.isEmpty() ? std::optional<int>(DefaultWaitPercent) : waitPercentOf(text);
}

} // namespace tapwise
