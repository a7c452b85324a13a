#include "workbook/MemoryWorkbook.h"

#include "workbook/CellReference.h"
#include "workbook/ForwardingWorkbook.h"
#include "workbook/WorkbookTexts.h"

namespace tapwise {

namespace {

const QString English = QStringLiteral("E");

// What the opener hands out: the run owns it, the opener keeps the workbook.
class SharedWorkbook : public ForwardingWorkbook {
public:
    explicit SharedWorkbook(std::shared_ptr<MemoryWorkbook> workbook)
        : ForwardingWorkbook(*workbook), workbook_(std::move(workbook)) {}

private:
    std::shared_ptr<MemoryWorkbook> workbook_;
};

} // namespace

MemoryWorkbook::MemoryWorkbook(QString fullName) : fullName_(std::move(fullName)) {}

void MemoryWorkbook::setCell(int row, int column, const QString& text) {
    saved_.cells[{row, column}] = text;
    current_.cells[{row, column}] = text;
}

void MemoryWorkbook::setRow(int row, const QStringList& texts) {
    for (int column = 1; column <= texts.size(); ++column) {
        setCell(row, column, texts[column - 1]);
    }
}

void MemoryWorkbook::setRowColor(int row, int colorIndex) {
    saved_.rowColors[row] = colorIndex;
    current_.rowColors[row] = colorIndex;
}

QString MemoryWorkbook::cell(int row, int column) const {
    const auto found = current_.cells.find({row, column});
    return found != current_.cells.end() ? found->second : QString();
}

int MemoryWorkbook::rowColor(int row) const {
    const auto found = current_.rowColors.find(row);
    return found != current_.rowColors.end() ? found->second : NoColorIndex;
}

QString MemoryWorkbook::savedCell(int row, int column) const {
    const auto found = saved_.cells.find({row, column});
    return found != saved_.cells.end() ? found->second : QString();
}

int MemoryWorkbook::savedRowColor(int row) const {
    const auto found = saved_.rowColors.find(row);
    return found != saved_.rowColors.end() ? found->second : NoColorIndex;
}

void MemoryWorkbook::failNextWrite(Error error) {
    writeFailure_ = std::move(error);
}

void MemoryWorkbook::failNextSave(Error error) {
    saveFailure_ = std::move(error);
}

void MemoryWorkbook::reopen() {
    current_ = saved_;
    open_ = true;
}

Status MemoryWorkbook::check(int row, int column) const {
    if (!open_) {
        return workbookError(WorkbookMessage::Closed, English);
    }
    if (row < 1 || row > MaxSheetRows || column < 1 || column > MaxSheetColumns) {
        return workbookError(WorkbookMessage::OutsideSheet, English,
                             {QString::number(row), QString::number(column)});
    }
    return {};
}

Status MemoryWorkbook::takeFailure(std::optional<Error>& failure) {
    if (!failure) {
        return {};
    }
    Error error = std::move(*failure);
    failure.reset();
    return error;
}

Result<QString> MemoryWorkbook::cellText(int row, int column) {
    if (Status valid = check(row, column); !valid) {
        return valid.error();
    }
    return cell(row, column);
}

Status MemoryWorkbook::setCellText(int row, int column, const QString& text) {
    Status status = check(row, column);
    status = status ? takeFailure(writeFailure_) : status;
    if (status) {
        current_.cells[{row, column}] = text;
    }
    return status;
}

Result<int> MemoryWorkbook::rowColorIndex(int row) {
    if (Status valid = check(row, 1); !valid) {
        return valid.error();
    }
    return rowColor(row);
}

Status MemoryWorkbook::setRowColorIndex(int row, int colorIndex) {
    Status status = check(row, 1);
    if (status && colorIndex != NoColorIndex && (colorIndex < 1 || colorIndex > 56)) {
        status =
            workbookError(WorkbookMessage::BadColorIndex, English, {QString::number(colorIndex)});
    }
    status = status ? takeFailure(writeFailure_) : status;
    if (status) {
        current_.rowColors[row] = colorIndex;
    }
    return status;
}

Status MemoryWorkbook::save() {
    Status status =
        open_ ? takeFailure(saveFailure_) : Status(workbookError(WorkbookMessage::Closed, English));
    if (status) {
        saved_ = current_;
        ++saveCount_;
    }
    return status;
}

void MemoryWorkbook::failNextCopy(Error error) {
    copyFailure_ = std::move(error);
}

Status MemoryWorkbook::saveCopy(const QString& path) {
    Status status =
        open_ ? takeFailure(copyFailure_) : Status(workbookError(WorkbookMessage::Closed, English));
    if (status && copies_.count(path)) {
        status =
            Error{FileExistsErrorCode, workbookText(WorkbookMessage::CopyExists, English, {path})};
    }
    if (status) {
        copies_[path] = current_;
    }
    return status;
}

QStringList MemoryWorkbook::copies() const {
    QStringList paths;
    for (const auto& copy : copies_) {
        paths.append(copy.first);
    }
    return paths;
}

int MemoryWorkbook::copyRowColor(const QString& path, int row) const {
    const auto copy = copies_.find(path);
    if (copy == copies_.end()) {
        return NoColorIndex;
    }
    const auto found = copy->second.rowColors.find(row);
    return found != copy->second.rowColors.end() ? found->second : NoColorIndex;
}

void MemoryWorkbook::close() {
    open_ = false;
}

std::shared_ptr<MemoryWorkbook> MemoryWorkbookOpener::add(const QString& path) {
    std::shared_ptr<MemoryWorkbook>& workbook = workbooks_[path];
    if (!workbook) {
        workbook = std::make_shared<MemoryWorkbook>(path);
        workbook->close();
    }
    return workbook;
}

void MemoryWorkbookOpener::failNextOpen(Error error) {
    openFailure_ = std::move(error);
}

void MemoryWorkbookOpener::setPassword(const QString& path, const QString& password) {
    passwords_[path] = password;
}

Result<std::unique_ptr<Workbook>>
MemoryWorkbookOpener::open(const QString& path, const QString& password, bool readOnly) {
    requests_.push_back({path, password, readOnly});
    if (openFailure_) {
        Error error = std::move(*openFailure_);
        openFailure_.reset();
        return error;
    }
    const auto found = workbooks_.find(path);
    if (found == workbooks_.end()) {
        return workbookError(WorkbookMessage::NotFound, English, {path});
    }
    if (const auto locked = passwords_.find(path);
        locked != passwords_.end() && locked->second != password) {
        return workbookError(password.isEmpty() ? WorkbookMessage::PasswordMissing
                                                : WorkbookMessage::PasswordIncorrect,
                             English, {path});
    }
    found->second->reopen();
    return std::unique_ptr<Workbook>(std::make_unique<SharedWorkbook>(found->second));
}

} // namespace tapwise
