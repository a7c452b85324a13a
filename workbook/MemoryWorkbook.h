#pragma once

#include "workbook/Workbook.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tapwise {

// A workbook held in memory, for fast tests of the code that runs rows: a
// grid of texts and row colours. It has two states, as a file has: what was
// saved (the "file", which the set-up functions write) and what the open
// workbook holds; open() starts from the saved state, save() copies the
// open state over it.
class MemoryWorkbook : public Workbook {
public:
    explicit MemoryWorkbook(QString fullName = QStringLiteral("/memory/Book1.xlsx"));

    // Set-up: the saved content.
    void setCell(int row, int column, const QString& text);
    void setRow(int row, const QStringList& texts); // from column 1
    void setRowColor(int row, int colorIndex);

    // What the open workbook holds now, and what was saved.
    QString cell(int row, int column) const;
    int rowColor(int row) const;
    QString savedCell(int row, int column) const;
    int savedRowColor(int row) const;
    int saveCount() const { return saveCount_; }
    bool isOpen() const { return open_; }

    // The next setCellText or setRowColorIndex, or the next save, fails with
    // this error and changes nothing.
    void failNextWrite(Error error);
    void failNextSave(Error error);
    void failNextCopy(Error error);

    // The copies saved with saveCopy, by path, and the row colours of one.
    QStringList copies() const;
    int copyRowColor(const QString& path, int row) const;

    // Back to the saved content, open (used by MemoryWorkbookOpener).
    void reopen();

    QString fullName() const override { return fullName_; }
    Result<QString> cellText(int row, int column) override;
    Status setCellText(int row, int column, const QString& text) override;
    Result<int> rowColorIndex(int row) override;
    Status setRowColorIndex(int row, int colorIndex) override;
    Status save() override;
    // A path that already holds a copy is refused, as an existing file is.
    Status saveCopy(const QString& path) override;
    void close() override;

private:
    struct Sheet {
        std::map<std::pair<int, int>, QString> cells;
        std::map<int, int> rowColors;
    };

    Status check(int row, int column) const;
    Status takeFailure(std::optional<Error>& failure);

    QString fullName_;
    Sheet current_;
    Sheet saved_;
    bool open_ = true;
    int saveCount_ = 0;
    std::optional<Error> writeFailure_;
    std::optional<Error> saveFailure_;
    std::optional<Error> copyFailure_;
    std::map<QString, Sheet> copies_;
};

// Hands out MemoryWorkbooks by path. The opener keeps each workbook, so a
// test can look at it after the run has closed and dropped it.
class MemoryWorkbookOpener : public WorkbookOpener {
public:
    struct Request {
        QString path;
        QString password;
        bool readOnly;
    };

    // The workbook that opening path gives (made on the first call).
    std::shared_ptr<MemoryWorkbook> add(const QString& path);
    void failNextOpen(Error error);
    // Makes the workbook at path open only with this password, as an
    // encrypted one does.
    void setPassword(const QString& path, const QString& password);
    const std::vector<Request>& requests() const { return requests_; }

    // A path never added fails as a missing file does.
    Result<std::unique_ptr<Workbook>> open(const QString& path, const QString& password,
                                           bool readOnly) override;
    bool needsPassword(const QString& path) override { return passwords_.count(path) != 0; }

private:
    std::map<QString, std::shared_ptr<MemoryWorkbook>> workbooks_;
    std::map<QString, QString> passwords_;
    std::optional<Error> openFailure_;
    std::vector<Request> requests_;
};

} // namespace tapwise
