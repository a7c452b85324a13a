#include "app/Pickers.h"

#include "app/ExchangeFilePicker.h"
#include "app/FolderPicker.h"

#include <deque>

namespace tapwise {
namespace {

struct PickerAnswers {
    bool on = false;
    std::deque<QString> files;
    std::deque<QString> places;
    QList<PickerRequest> requests;
};

// The test answers: one set for the program, used by the GUI thread only.
PickerAnswers& answers() {
    static PickerAnswers pickerAnswers;
    return pickerAnswers;
}

// Takes the next queued answer, or records that none was there.
QString takeAnswer(std::deque<QString>& queue, PickerRequest request) {
    QString answer;
    if (queue.empty()) {
        request.unanswered = true;
        qWarning("Pickers: no answer queued for a picker");
    } else {
        answer = queue.front();
        queue.pop_front();
    }
    answers().requests.append(request);
    return answer;
}

} // namespace

QString PickExchangeFile(QWidget* parent, const Settings& settings, QChar PickerMode) {
    if (answers().on) {
        PickerRequest request;
        request.kind = PickerRequest::Kind::ExchangeFile;
        request.PickerMode = PickerMode;
        return takeAnswer(answers().files, request);
    }
    ExchangeFilePicker picker(settings, PickerMode, StartPlaces(settings.Lang), parent);
    picker.exec();
    return picker.PickedFile();
}

QString BrowsePlace(QWidget* parent, const Settings& settings, const QString& BrowseMode,
                    const QString& BrowseExtension, const QString& BrowseCaption) {
    if (answers().on) {
        PickerRequest request;
        request.kind = PickerRequest::Kind::Place;
        request.BrowseMode = BrowseMode;
        request.BrowseExtension = BrowseExtension;
        request.BrowseCaption = BrowseCaption;
        return takeAnswer(answers().places, request);
    }
    FolderPicker picker(settings, BrowseMode, BrowseExtension, BrowseCaption,
                        StartPlaces(settings.Lang), parent);
    picker.exec();
    return picker.BrowseResult();
}

void SetNextPickedFile(const QString& PickedFile) {
    answers().on = true;
    answers().files.push_back(PickedFile);
}

void SetNextBrowseResult(const QString& BrowseResult) {
    answers().on = true;
    answers().places.push_back(BrowseResult);
}

const QList<PickerRequest>& pickerRequests() {
    return answers().requests;
}

void ResetPickerAnswers() {
    answers() = {};
}

} // namespace tapwise
