#pragma once

#include <QString>

namespace tapwise {

// The interface language flag: "I" is Italian, anything else English.
inline bool isItalian(const QString& lang) {
    return lang.compare(QLatin1String("I"), Qt::CaseInsensitive) == 0;
}

// A user-visible text in its two languages.
struct BilingualText {
    const char* english;
    const char* italian;

    QString in(const QString& lang) const {
        return QString::fromUtf8(isItalian(lang) ? italian : english);
    }
};

} // namespace tapwise
