#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QStringView>
#include <QTime>

#include <optional>

namespace tapwise {

// The value of a time condition: a time of day, optionally on a given date.
struct TimeValue {
    std::optional<QDate> date;
    QTime time;

    // The moment it names: on its own date, or on `today` when it has none.
    QDateTime on(QDate today) const;

    bool operator==(const TimeValue&) const = default;
};

// Reads the value of a time condition; the editor's check and the run use
// this one function, so that what the editor accepts is what a run can use.
//
// Accepted, with blanks around the whole ignored:
//   "HH:mm:ss"            a time of day; the hour may have one digit
//                         ("8:30:00"), minutes and seconds have two
//   DATE " " "HH:mm:ss"   the same time on a date, one or more blanks between
// where DATE is either
//   - an ISO date "yyyy-MM-dd" ("2024-12-31"), or
//   - a date in the locale's short date format (QLocale::ShortFormat of
//     `locale`, by default the system's: "31/12/24" in Italy, "12/31/24" in
//     the United States). Where that format has a two-digit year, a
//     four-digit year is accepted as well ("31/12/2024"), and a two-digit
//     year means 2000 to 2099.
// Anything else (a missing part, a second out of range, a day that does not
// exist) gives nothing.
std::optional<TimeValue> parseTimeValue(QStringView text,
                                        const QLocale& locale = QLocale::system());

} // namespace tapwise
