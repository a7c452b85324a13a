#pragma once

#include "common/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace tapwise {

// Writes all bytes to an open file; false, with errno set, when it cannot.
// Every file the store writes goes through one, so that a test can make a
// write fail (or the process end) half-way.
using FileWriter = std::function<bool(int fd, QByteArrayView bytes)>;
bool writeAllBytes(int fd, QByteArrayView bytes);

struct FileOptions {
    FileWriter writer = writeAllBytes;
    // How long to wait for another program's lock before giving up.
    std::chrono::milliseconds lockWait{10000};
};

// Reading and writing whole files safely.
//  - Reads and changes hold an advisory lock (flock: shared to read, exclusive
//    to change) on the file, so that two programs never interleave a change.
//    Since a change replaces the file, a lock taken on a file that has been
//    replaced meanwhile is dropped and taken again on the new one.
//  - A change never writes into the file: the new content goes to a temporary
//    file in the same folder, which is flushed to disk and renamed over the
//    old one, so a crash leaves either the old or the new file.
//  - Reads stop at the file's length, and files beyond 2 GB are refused, as is
//    anything that is not a regular file.
//  - Paths cross into the system through encodePath, so that folder names
//    that are not UTF-8 work.
class FileAccess {
public:
    explicit FileAccess(FileOptions options = {}, QString lang = QString());

    enum class Missing { ReadsEmpty, IsAnError };

    // The file's bytes, as many as it had when it was opened; a missing file
    // reads as empty unless told otherwise. Anything but a regular file (a
    // FIFO, a device, also behind a link) is refused.
    Result<QByteArray> readLocked(const QString& path, Missing missing = Missing::ReadsEmpty) const;

    // Given the current bytes, gives the new bytes, nothing to leave the file
    // as it is, or an error to pass on.
    using Change = std::function<Result<std::optional<QByteArray>>(const QByteArray& current)>;

    // Runs the change under the exclusive lock and replaces the file with its
    // result. Temporary files that earlier changes of the file left behind
    // when they were killed are removed first. A missing file is created (empty) first when create
    // is set, and otherwise handed to the change as empty bytes.
    Status changeLocked(const QString& path, bool create, const Change& change) const;

    // Replaces the file, or creates it, with the bytes, without locking.
    Status replace(const QString& path, QByteArrayView bytes) const;

    // Creates a file that must not exist yet.
    Status createNew(const QString& path, QByteArrayView bytes) const;

    const QString& lang() const { return lang_; }

private:
    FileOptions options_;
    QString lang_;
};

} // namespace tapwise
