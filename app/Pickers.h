#pragma once

#include "common/Settings.h"

#include <QChar>
#include <QList>
#include <QString>

class QWidget;

namespace tapwise {

// The two place pickers, shown modally. Each gives its choice back as a
// value; "" means the user left with Exit (or closed the window).

// The exchange file picker (Form6). PickerMode 'E' picks a ".tpw" file to
// export to (when it exists the user has agreed to rewrite it; it is left
// in place for the export to replace), 'I' an existing one to import. Gives
// PickedFile: the full path, ending in ".tpw", or "".
QString PickExchangeFile(QWidget* parent, const Settings& settings, QChar PickerMode);

// The folder or file picker (Form8). BrowseMode "FLD" picks a folder (with a
// button that creates a new one) and gives it ending in "/", or a newly
// created folder without the final "/". "FIL" picks a file whose name ends
// in BrowseExtension ("xls" also takes .xlsx and .xlsm) and gives its full
// path. Gives BrowseResult, or "".
QString BrowsePlace(QWidget* parent, const Settings& settings, const QString& BrowseMode,
                    const QString& BrowseExtension, const QString& BrowseCaption);

// For tests: answers the next picker calls in order, without opening a
// window. Once an answer has been queued, a picker call finding the queue
// empty gives "" and is recorded as unanswered instead of waiting for a
// person. Each call is recorded in pickerRequests().
void SetNextPickedFile(const QString& PickedFile);
void SetNextBrowseResult(const QString& BrowseResult);

struct PickerRequest {
    enum class Kind { ExchangeFile, Place };
    Kind kind = Kind::ExchangeFile;
    QChar PickerMode;        // ExchangeFile
    QString BrowseMode;      // Place
    QString BrowseExtension; // Place
    QString BrowseCaption;   // Place
    bool unanswered = false; // the queue held no answer of this kind
};
const QList<PickerRequest>& pickerRequests();
// Empties the queue and the record, and lets the pickers open again.
void ResetPickerAnswers();

} // namespace tapwise
