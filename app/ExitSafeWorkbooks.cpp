#include "app/ExitSafeWorkbooks.h"

#include "engine/WorksheetSource.h"
#include "workbook/ForwardingWorkbook.h"
#include "workbook/WorkbookTexts.h"

#include <QDateTime>

#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tapwise {

namespace {

class ExitSafeWorkbook;

// Copies tried under other names when one exists.
constexpr int CopyAttempts = 9;

// The workbooks open at this moment. A handler run by exit() can reach
// nothing but what a static holds.
std::vector<ExitSafeWorkbook*>& openWorkbooks() {
    static std::vector<ExitSafeWorkbook*> workbooks;
    return workbooks;
}

void saveAtExit() {
    ExitSafeWorkbookOpener::saveOpenWorkbooks();
}

// The list exists before the handler is registered, so exit() runs the
// handler while the list is still there.
void registerExitHandler() {
    static const bool registered = [] {
        openWorkbooks();
        return std::atexit(saveAtExit) == 0;
    }();
    (void)registered;
}

// A workbook that stays on the list of open workbooks while it lives.
class ExitSafeWorkbook : public ForwardingWorkbook {
public:
    explicit ExitSafeWorkbook(std::unique_ptr<Workbook> workbook)
        : ForwardingWorkbook(*workbook), workbook_(std::move(workbook)) {
        registerExitHandler();
        openWorkbooks().push_back(this);
    }
    ~ExitSafeWorkbook() override { std::erase(openWorkbooks(), this); }

    void close() override {
        closed_ = true;
        ForwardingWorkbook::close();
    }

    // Saves what the run changed and has not saved yet; a closed workbook
    // was dealt with by its run. When the workbook cannot be written, the
    // rows go into a copy beside it, so that they are not typed again.
    void saveBeforeExit() {
        if (closed_)
            return;
        const Status saved = workbook_->save();
        QTextStream err(stderr);
        if (saved) {
            err << "Tapwise: " << workbook_->fullName() << ": saved before the program ended.\n";
            return;
        }
        err << "Tapwise: " << saved.error().message << '\n';
        const Result<QString> copy = saveCopy();
        if (copy)
            err << "Tapwise: the rows sent were saved, coloured, in the copy '" << copy.value()
                << "'.\n";
        else
            err << "Tapwise: no copy could be saved either: " << copy.error().message << '\n';
    }

private:
    Result<QString> saveCopy() {
        const QDateTime now = QDateTime::currentDateTime();
        Status copied;
        for (int attempt = 1; attempt <= CopyAttempts; ++attempt) {
            const QString path = rowsSentCopyPath(workbook_->fullName(),
                                                  QStringLiteral(" (rows sent %1)"), now, attempt);
            copied = workbook_->saveCopy(path);
            if (copied)
                return path;
            if (copied.error().code != FileExistsErrorCode)
                break;
        }
        return copied.error();
    }

    std::unique_ptr<Workbook> workbook_;
    bool closed_ = false;
};

} // namespace

Result<std::unique_ptr<Workbook>>
ExitSafeWorkbookOpener::open(const QString& path, const QString& password, bool readOnly) {
    Result<std::unique_ptr<Workbook>> opened = opener_.open(path, password, readOnly);
    if (!opened)
        return opened.error();
    return std::unique_ptr<Workbook>(std::make_unique<ExitSafeWorkbook>(std::move(opened.value())));
}

void ExitSafeWorkbookOpener::saveOpenWorkbooks() {
    // A copy: saving must not depend on the list staying as it is.
    const std::vector<ExitSafeWorkbook*> workbooks = openWorkbooks();
    for (ExitSafeWorkbook* workbook : workbooks)
        workbook->saveBeforeExit();
}

} // namespace tapwise
