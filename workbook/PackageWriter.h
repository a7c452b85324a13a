#pragma once

#include "common/Result.h"
#include "workbook/PartContent.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct zip;
struct zip_source;

namespace tapwise {

// The parts of a package that a save writes (new or replaced) or removes.
struct PackageChanges {
    std::map<std::string, std::unique_ptr<PartContent>> parts;
    std::vector<std::string> removed;

    bool empty() const { return parts.empty() && removed.empty(); }
};

// Replaces a workbook file with its package changed. The new file is made
// beside the old one from the old one's bytes: every part that does not
// change is copied as it is stored, never unpacked. It is flushed to disk
// and renamed over the old file, keeping its permissions, so that a crash
// leaves the old workbook or the new one.
class PackageWriter {
public:
    PackageWriter(QString realPath, QString displayName, QString lang);

    // Turns the finished package into the bytes of the file (an encrypted
    // workbook's).
    using Seal = std::function<Result<QByteArray>(const QByteArray& package)>;
    void setSeal(Seal seal);

    Status replace(const QByteArray& original, const PackageChanges& changes) const;
    // Makes a new file at the path (never over an existing one), with the
    // permissions of permissionsFrom when that file exists.
    Status create(const QByteArray& original, const PackageChanges& changes,
                  const QString& permissionsFrom) const;

private:
    Status fail(const QString& reason) const;
    Status writeArchive(const QByteArray& tempPath, const QByteArray& original,
                        const PackageChanges& changes) const;
    Status writeSealed(const QByteArray& tempPath, const QByteArray& original,
                       const PackageChanges& changes) const;
    bool copyEntries(zip* source, zip* target, const PackageChanges& changes) const;
    bool addEntry(zip* target, const char* name, zip_source* data, bool pack) const;
    void removeStaleSaves() const;
    Result<QByteArray> writeTemporary(const QByteArray& original,
                                      const PackageChanges& changes) const;
    Status flushAndRename(const QByteArray& tempPath) const;
    Status flushAndLink(const QByteArray& tempPath, const QString& permissionsFrom) const;

    QString realPath_;
    QString displayName_;
    QString lang_;
    Seal seal_;
};

} // namespace tapwise
