#include "store/FileAccess.h"

#include "common/FileDescriptor.h"
#include "common/NativePath.h"
#include "common/StaleTemporaries.h"
#include "store/DataFileLayout.h"
#include "store/StoreTexts.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tapwise {

namespace {

enum class LockOutcome { Locked, Busy, Unsupported };

QByteArray nativePath(const QString& path) {
    return encodePath(path);
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// A symbolic link is followed, so that the file it names is replaced rather
// than the link.
QString resolvedPath(const QString& path) {
    char resolved[PATH_MAX];
    if (::realpath(nativePath(path).constData(), resolved) == nullptr)
        return path;
    return decodePath(QByteArray(resolved));
}

// The name of a temporary file that replace() makes for a file.
QString temporaryName(const QFileInfo& target, quint32 number) {
    // Put together piece by piece: the folder's name may hold "%1".
    return target.path() + QStringLiteral("/.") + target.fileName() + u'.' +
           QString::number(number, 16).rightJustified(8, u'0') + QStringLiteral(".tmp");
}

// Removes what replace() left of earlier changes of the file that ended
// half-way (a killed program). Without the file's exclusive lock another
// program may be writing one right now, so then only old ones go.
void removeLeftTemporaries(const QString& path,
                           std::chrono::seconds olderThan = std::chrono::seconds(0)) {
    const QFileInfo target(path);
    const QString prefix = u'.' + target.fileName() + u'.';
    static const QRegularExpression number(QStringLiteral("^[0-9a-f]{8}\\.tmp$"));
    removeStaleTemporaries(
        target.path(),
        [&](const QString& name) {
            return name.startsWith(prefix) &&
                   number.match(QStringView(name).mid(prefix.size())).hasMatch();
        },
        olderThan);
}

LockOutcome lockWithin(int fd, int operation, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, operation | LOCK_NB) == 0)
            return LockOutcome::Locked;
        if (errno == EINTR)
            continue;
        // Some file systems have no locks; the file is then used as it is.
        if (errno != EWOULDBLOCK)
            return LockOutcome::Unsupported;
        if (std::chrono::steady_clock::now() >= deadline)
            return LockOutcome::Busy;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Whether the path still names the file that fd has open.
bool stillNamed(int fd, const QString& path) {
    struct stat open {};
    struct stat named {};
    if (::fstat(fd, &open) != 0 || ::stat(nativePath(path).constData(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

Result<QByteArray> readAll(int fd, const QString& path, const QString& lang) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Error{ReadFailed, StoreText::CannotRead.in(lang).arg(path, systemReason(errno))};
    if (info.st_size > MaxDataFileLength)
        return Error{DataFileTooLarge,
                     StoreText::CannotRead.in(lang).arg(path, StoreText::FileTooLong.in(lang))};
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, std::size_t(bytes.size() - done), done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Error{ReadFailed, StoreText::CannotRead.in(lang).arg(path, systemReason(errno))};
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

// A new, empty file beside path, named after it and hidden.
Result<std::pair<FileDescriptor, QString>> createTemporary(const QString& path,
                                                           const QString& lang) {
    const QFileInfo info(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = temporaryName(info, QRandomGenerator::global()->generate());
        FileDescriptor fd(
            ::open(nativePath(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid())
            return std::pair{std::move(fd), name};
        if (errno != EEXIST)
            break;
    }
    return Error{WriteFailed, StoreText::CannotWrite.in(lang).arg(path, systemReason(errno))};
}

// Makes a rename or a new name in the folder survive a crash.
void syncFolder(const QString& path) {
    FileDescriptor folder(
        ::open(nativePath(QFileInfo(path).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        ::fsync(folder.get());
}

// An open file that holds the lock, or nothing when the file is missing.
struct LockedFile {
    FileDescriptor fd;
    bool missing = false;
    // False on a file system without locks.
    bool locked = false;
};

Error notRegular(const QString& path, const QString& lang) {
    return {NotRegularFile, StoreText::NotRegular.in(lang).arg(path)};
}

// Opens without waiting (a FIFO would wait for a writer) and refuses anything
// but a regular file: a FIFO or a device, also behind a link, never ends.
FileDescriptor openRegular(const QString& path, int flags, bool& regular) {
    FileDescriptor fd(::open(nativePath(path).constData(), flags | O_CLOEXEC | O_NONBLOCK, 0666));
    struct stat info {};
    regular = fd.valid() && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode);
    if (regular)
        ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
}

Error openError(int flags, const QString& path, const QString& lang) {
    const BilingualText& text =
        (flags & O_ACCMODE) == O_RDONLY ? StoreText::CannotRead : StoreText::CannotWrite;
    return {(flags & O_ACCMODE) == O_RDONLY ? ReadFailed : WriteFailed,
            text.in(lang).arg(path, systemReason(errno))};
}

Result<LockedFile> openLocked(const QString& path, int flags, int operation,
                              std::chrono::milliseconds wait, const QString& lang) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        bool regular = false;
        FileDescriptor fd = openRegular(path, flags, regular);
        if (!fd.valid() && errno == ENOENT && !(flags & O_CREAT))
            return LockedFile{FileDescriptor(), true};
        if (!fd.valid())
            return openError(flags, path, lang);
        if (!regular)
            return notRegular(path, lang);
        const LockOutcome outcome = lockWithin(fd.get(), operation, wait);
        if (outcome == LockOutcome::Busy)
            return Error{FileInUse, StoreText::InUse.in(lang).arg(path)};
        // Another program replaced the file while we waited: lock the new one.
        if (outcome == LockOutcome::Unsupported || stillNamed(fd.get(), path))
            return LockedFile{std::move(fd), false, outcome == LockOutcome::Locked};
    }
    return Error{FileInUse, StoreText::InUse.in(lang).arg(path)};
}

// Writes the new content of path into a fresh file and makes it durable,
// with the permissions of the file it replaces.
bool writeDurably(FileDescriptor& fd, QByteArrayView bytes, const QString& path,
                  const FileWriter& writer) {
    struct stat old {};
    if (::stat(nativePath(path).constData(), &old) == 0 &&
        ::fchmod(fd.get(), old.st_mode & 07777) != 0)
        return false;
    return writer(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close();
}

} // namespace

bool writeAllBytes(int fd, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, std::size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        done += put;
    }
    return true;
}

FileAccess::FileAccess(FileOptions options, QString lang)
    : options_(std::move(options)), lang_(std::move(lang)) {}

Result<QByteArray> FileAccess::readLocked(const QString& path, Missing missing) const {
    const QString target = resolvedPath(path);
    Result<LockedFile> file = openLocked(target, O_RDONLY, LOCK_SH, options_.lockWait, lang_);
    if (!file)
        return file.error();
    if (file.value().missing && missing == Missing::IsAnError)
        return Error{ReadFailed, StoreText::CannotRead.in(lang_).arg(path, systemReason(ENOENT))};
    if (file.value().missing)
        return QByteArray();
    return readAll(file.value().fd.get(), path, lang_);
}

Status FileAccess::changeLocked(const QString& path, bool create, const Change& change) const {
    const QString target = resolvedPath(path);
    Result<LockedFile> file =
        openLocked(target, O_RDWR | (create ? O_CREAT : 0), LOCK_EX, options_.lockWait, lang_);
    if (!file)
        return file.error();
    QByteArray current;
    if (!file.value().missing) {
        Result<QByteArray> bytes = readAll(file.value().fd.get(), path, lang_);
        if (!bytes)
            return bytes.error();
        current = std::move(bytes).value();
    }
    Result<std::optional<QByteArray>> next = change(current);
    if (!next)
        return next.error();
    if (!next.value())
        return {};
    if (file.value().locked)
        removeLeftTemporaries(target);
    // The lock is held until the new file has taken the old one's place.
    return replace(target, *next.value());
}

Status FileAccess::replace(const QString& path, QByteArrayView bytes) const {
    const QString target = resolvedPath(path);
    // Renaming over a FIFO or a device would quietly take its place.
    struct stat existing {};
    if (::stat(nativePath(target).constData(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return notRegular(path, lang_);
    // Files written without the lock (export, print): copies of killed
    // writes go once they are clearly nobody's.
    removeLeftTemporaries(target, std::chrono::minutes(10));
    auto temporary = createTemporary(target, lang_);
    if (!temporary)
        return temporary.error();
    auto& [fd, name] = temporary.value();
    const QByteArray nativeName = nativePath(name);
    if (writeDurably(fd, bytes, target, options_.writer) &&
        ::rename(nativeName.constData(), nativePath(target).constData()) == 0) {
        syncFolder(target);
        return {};
    }
    const int error = errno;
    ::unlink(nativeName.constData());
    return Error{WriteFailed, StoreText::CannotWrite.in(lang_).arg(path, systemReason(error))};
}

Status FileAccess::createNew(const QString& path, QByteArrayView bytes) const {
    const QByteArray native = nativePath(path);
    FileDescriptor fd(::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid() && errno == EEXIST)
        return Error{DataFileExists, StoreText::AlreadyExists.in(lang_).arg(path)};
    if (!fd.valid())
        return Error{WriteFailed, StoreText::CannotWrite.in(lang_).arg(path, systemReason(errno))};
    if (!options_.writer(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close()) {
        const int error = errno;
        ::unlink(native.constData());
        return Error{WriteFailed, StoreText::CannotWrite.in(lang_).arg(path, systemReason(error))};
    }
    syncFolder(path);
    return {};
}

} // namespace tapwise
