#include "engine/TextRules.h"

#include "language/LineSyntax.h"

#include <cmath>
#include <limits>

namespace tapwise {

namespace {

constexpr int WrapWidth = 50;
constexpr int CaptionPadding = 50;
constexpr int CaptionRowColumn = 14; // the 15th character
constexpr int TitleLength = 259;

} // namespace

QString WrapText(const QString& text) {
    if (text.size() <= WrapWidth)
        return text;
    QString wrapped;
    int count = 0;
    for (const QChar c : text) {
        wrapped += c;
        count = c == u'\n' ? 0 : count + 1;
        if (count == WrapWidth) {
            wrapped += u'\n';
            count = 0;
        }
    }
    return wrapped;
}

QString captionWithRow(const QString& caption, const QString& rowText) {
    QString padded = caption + QString(CaptionPadding, u' ');
    const qsizetype room = padded.size() - CaptionRowColumn;
    padded.replace(CaptionRowColumn, std::min(room, rowText.size()), rowText.left(room));
    return trimBlanks(padded);
}

qint64 scaledWait(qint64 waitTime, qint64 percent) {
    const double exact = double(waitTime) * double(percent) / 100.0;
    const double rounded = std::nearbyint(exact); // the default mode rounds halves to even
    constexpr double Largest = std::numeric_limits<qint32>::max();
    return qint64(std::clamp(rounded, -Largest, Largest));
}

qsizetype textPosition(const QString& text, const QString& part) {
    if (text.isEmpty())
        return 0;
    return text.indexOf(part, 0, Qt::CaseInsensitive) + 1;
}

qsizetype lastTextPosition(const QString& text, const QString& part) {
    if (text.isEmpty())
        return 0;
    if (part.isEmpty())
        return text.size() + 1;
    return text.lastIndexOf(part, -1, Qt::CaseInsensitive) + 1;
}

bool containsText(const QString& text, const QString& part) {
    return textPosition(text, part) > 0;
}

bool isNumericText(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

qint64 leadingNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype end = trimmed.startsWith(u'-') || trimmed.startsWith(u'+') ? 1 : 0;
    while (end < trimmed.size() && trimmed[end].isDigit() && end < 18)
        ++end;
    bool ok = false;
    const qint64 value = trimmed.left(end).toLongLong(&ok);
    return ok ? value : 0;
}

QString titleText(const QString& title) {
    const QString cut = title.left(TitleLength);
    const qsizetype nul = cut.indexOf(QChar(0));
    return nul < 0 ? cut : cut.left(nul);
}

QString rightTrimmed(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

QString firstLine(const QString& text) {
    const qsizetype lineFeed = text.indexOf(u'\n');
    const qsizetype carriageReturn = text.indexOf(u'\r');
    qsizetype end = text.size();
    if (lineFeed >= 0)
        end = lineFeed;
    if (carriageReturn >= 0)
        end = std::min(end, carriageReturn);
    return text.left(end);
}

QStringList characters(const QString& text) {
    QStringList list;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool last = i + 1 == text.size();
        const bool pair = !last && ((text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) ||
                                    (text[i] == u'\r' && text[i + 1] == u'\n'));
        list.append(text.mid(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
    return list;
}

QString generalDateText(const QDateTime& moment, const QLocale& locale) {
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    // A time zone does not belong to a time of day.
    timeFormat.remove(u't');
    return locale.toString(moment.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(moment.time(), timeFormat.trimmed());
}

QString errorText(const Error& error) {
    if (error.code == 0)
        return error.message;
    return QString::number(error.code) + QStringLiteral("    ") + error.message;
}

} // namespace tapwise
