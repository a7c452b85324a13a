#pragma once

#include "common/Result.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tapwise {

// The workbook's file on disk. A symbolic link is followed: the file it
// points to is the one read and replaced, the link stays.
class WorkbookFile {
public:
    explicit WorkbookFile(const QString& path);

    // The path as given, made absolute.
    QString fullName() const { return fullName_; }
    // The file itself, links followed ("" when it does not exist).
    QString realPath() const;

    Result<QByteArray> read(const QString& lang) const;
    // The lock file of a spreadsheet program that holds the workbook open
    // ("~$NAME" or ".~lock.NAME#", beside the link or the file itself).
    std::optional<QString> lockFile() const;
    bool isWritable() const;
    // Whether a save could replace the file: it and its folder writable.
    Status checkWritable(const QString& lang) const;

private:
    QString fullName_;
};

} // namespace tapwise
