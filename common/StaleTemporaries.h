#pragma once

#include "common/NativePath.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tapwise {

// A program ended in the middle of writing a file (killed, power lost) leaves
// the temporary copy it was writing. Those copies are as large as the file
// itself and nothing else ever removes them, so the next change of the same
// file removes them: every regular file in the folder whose name `ours`
// recognises and that was last modified at least `olderThan` ago. The caller
// makes sure no other program is still writing one of them, by holding the
// file's lock (then olderThan is zero) or by a margin of time. Gives the
// number of files removed.
inline int removeStaleTemporaries(const QString& folder,
                                  const std::function<bool(const QString& name)>& ours,
                                  std::chrono::seconds olderThan = std::chrono::seconds(0)) {
    const QByteArray native = encodePath(folder.isEmpty() ? QStringLiteral(".") : folder);
    const int folderFd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return 0;
    // fdopendir takes the descriptor over; closedir closes both.
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::fdopendir(folderFd), ::closedir);
    if (!entries) {
        ::close(folderFd);
        return 0;
    }
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(entries.get())) {
        if (!ours(decodePath(QByteArray(entry->d_name))))
            continue;
        struct stat info {};
        if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || now - info.st_mtime < olderThan.count())
            continue;
        if (::unlinkat(folderFd, entry->d_name, 0) == 0)
            ++removed;
    }
    return removed;
}

} // namespace tapwise
