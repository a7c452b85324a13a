#include "language/TimeValue.h"

#include <QRegularExpression>

namespace tapwise {

namespace {

std::optional<QTime> parseTime(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

bool hasTwoDigitYear(const QString& format) {
    return format.contains(QLatin1String("yy")) && !format.contains(QLatin1String("yyyy"));
}

std::optional<QDate> parseLocaleDate(const QString& text, const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(text, format);
    if (date.isValid() && hasTwoDigitYear(format)) {
        // Qt reads "yy" as 1900 to 1999; the dates of a run lie ahead.
        return date.addYears(100);
    }
    if (!date.isValid() && hasTwoDigitYear(format)) {
        QString fourDigits = format;
        fourDigits.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        date = locale.toDate(text, fourDigits);
    }
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> parseDate(const QString& text, const QLocale& locale) {
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (iso.match(text).hasMatch()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
    }
    return parseLocaleDate(text, locale);
}

} // namespace

QDateTime TimeValue::on(QDate today) const {
    return QDateTime(date.value_or(today), time);
}

std::optional<TimeValue> parseTimeValue(QStringView text, const QLocale& locale) {
    const QString trimmed = text.trimmed().toString();
    const qsizetype blank = trimmed.lastIndexOf(QRegularExpression(QStringLiteral("\\s")));
    const std::optional<QTime> time = parseTime(trimmed.mid(blank + 1));
    if (!time)
        return std::nullopt;
    if (blank < 0)
        return TimeValue{std::nullopt, *time};
    const std::optional<QDate> date = parseDate(trimmed.left(blank).trimmed(), locale);
    if (!date)
        return std::nullopt;
    return TimeValue{date, *time};
}

} // namespace tapwise
