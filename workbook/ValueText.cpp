#include "workbook/ValueText.h"

#include <QDate>

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace tapwise {

namespace {

constexpr long long SecondsPerDay = 86400;

QString timeText(int secondOfDay) {
    return QString::asprintf("%02d:%02d:%02d", secondOfDay / 3600, secondOfDay / 60 % 60,
                             secondOfDay % 60);
}

QString dayText(const QDate& date) {
    return QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
}

// Days since the epoch of the workbook's date system. The 1900 system counts
// a 29 February 1900 that never was, as the first spreadsheets did.
QString serialDayText(long long days, bool date1904) {
    if (date1904) {
        return dayText(QDate(1904, 1, 1).addDays(days));
    }
    if (days == 60) {
        return QStringLiteral("1900-02-29");
    }
    return dayText(QDate(1899, 12, days < 60 ? 31 : 30).addDays(days));
}

QString joinDateTime(const QString& day, int secondOfDay) {
    return secondOfDay == 0 ? day : day + u' ' + timeText(secondOfDay);
}

// "hh:mm:ss[.fff]" followed by an optional zone, which is ignored.
std::optional<double> parseIsoTime(std::string_view text) {
    int hour = 0;
    int minute = 0;
    double second = 0;
    if (text.size() < 5 || text[2] != ':') {
        return std::nullopt;
    }
    const auto h = std::from_chars(text.data(), text.data() + 2, hour);
    const auto m = std::from_chars(text.data() + 3, text.data() + 5, minute);
    if (h.ec != std::errc() || m.ec != std::errc() || h.ptr != text.data() + 2) {
        return std::nullopt;
    }
    if (text.size() > 6 && text[5] == ':') {
        std::from_chars(text.data() + 6, text.data() + text.size(), second);
    }
    if (hour > 24 || minute > 59 || second >= 61) {
        return std::nullopt;
    }
    return hour * 3600.0 + minute * 60.0 + second;
}

} // namespace

QString numberText(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return QStringLiteral("0");
    }
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    text.replace(u'e', u'E');
    return text;
}

QString serialDateText(double serial, bool date1904) {
    const double lastSerial = date1904 ? 2957003 : 2958465; // 9999-12-31
    if (!(serial >= 0) || serial >= lastSerial + 1) {
        return numberText(serial);
    }
    const long long seconds = std::llround(serial * double(SecondsPerDay));
    const long long days = seconds / SecondsPerDay;
    const int secondOfDay = int(seconds % SecondsPerDay);
    if (days == 0) {
        return timeText(secondOfDay);
    }
    return joinDateTime(serialDayText(days, date1904), secondOfDay);
}

QString isoDateText(std::string_view iso) {
    const QString original = QString::fromUtf8(iso.data(), qsizetype(iso.size()));
    const size_t tee = iso.find('T');
    const std::string_view datePart = iso.substr(0, tee == std::string_view::npos ? 10 : tee);
    const QDate date = QDate::fromString(
        QString::fromLatin1(datePart.data(), qsizetype(datePart.size())), Qt::ISODate);
    const std::string_view timePart =
        tee == std::string_view::npos ? std::string_view() : iso.substr(tee + 1);
    if (!date.isValid()) {
        const auto time = parseIsoTime(tee == std::string_view::npos ? iso : timePart);
        return time ? timeText(int(std::llround(*time) % SecondsPerDay)) : original;
    }
    const std::optional<double> seconds = timePart.empty() ? 0.0 : parseIsoTime(timePart);
    if (!seconds) {
        return original;
    }
    const long long rounded = std::llround(*seconds);
    return joinDateTime(dayText(date.addDays(rounded / SecondsPerDay)),
                        int(rounded % SecondsPerDay));
}

QString errorText(std::string_view code) {
    static constexpr std::array<std::pair<std::string_view, int>, 14> Codes{{
        {"#NULL!", 2000},
        {"#DIV/0!", 2007},
        {"#VALUE!", 2015},
        {"#REF!", 2023},
        {"#NAME?", 2029},
        {"#NUM!", 2036},
        {"#N/A", 2042},
        {"#GETTING_DATA", 2043},
        {"#SPILL!", 2045},
        {"#CONNECT!", 2046},
        {"#BLOCKED!", 2047},
        {"#UNKNOWN!", 2048},
        {"#FIELD!", 2049},
        {"#CALC!", 2050},
    }};
    for (const auto& [name, number] : Codes) {
        if (name == code) {
            return QStringLiteral("Error %1").arg(number);
        }
    }
    return QString::fromUtf8(code.data(), qsizetype(code.size()));
}

QString booleanText(std::string_view stored) {
    const bool isTrue = stored != "0" && stored != "false" && !stored.empty();
    return isTrue ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace tapwise
