#include "workbook/WorkbookFile.h"

#include "common/FileDescriptor.h"
#include "common/NativePath.h"
#include "workbook/WorkbookTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tapwise {

namespace {

QStringList lockNames(const QString& name) {
    QStringList names{QStringLiteral("~$") + name, QStringLiteral(".~lock.") + name + u'#'};
    if (name.size() > 2) {
        names << QStringLiteral("~$") + name.mid(2); // long names lose their first two letters
    }
    return names;
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The path made absolute against the working folder, without "." and "..".
QString absolute(const QString& path) {
    if (path.startsWith(u'/')) {
        return QDir::cleanPath(path);
    }
    const std::unique_ptr<char, decltype(&std::free)> here(::getcwd(nullptr, 0), &std::free);
    const QString folder = here ? decodePath(QByteArray(here.get())) : QString();
    return QDir::cleanPath(folder + u'/' + path);
}

} // namespace

// Every name goes to the system as its own bytes (see NativePath): Qt's file
// classes cannot reach a file whose name is not UTF-8.
WorkbookFile::WorkbookFile(const QString& path) : fullName_(absolute(path)) {}

QString WorkbookFile::realPath() const {
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(encodePath(fullName_).constData(), nullptr), &std::free);
    return real ? decodePath(QByteArray(real.get())) : QString();
}

Result<QByteArray> WorkbookFile::read(const QString& lang) const {
    const QString real = realPath();
    if (real.isEmpty()) {
        return workbookError(WorkbookMessage::NotFound, lang, {fullName_});
    }
    FileDescriptor fd(::open(encodePath(real).constData(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        return workbookError(WorkbookMessage::CannotRead, lang, {fullName_, systemError()});
    }
    if (S_ISDIR(info.st_mode)) {
        return workbookError(WorkbookMessage::CannotRead, lang,
                             {fullName_, QStringLiteral("Is a directory")});
    }
    QFile file;
    if (!file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return workbookError(WorkbookMessage::CannotRead, lang, {fullName_, file.errorString()});
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return workbookError(WorkbookMessage::CannotRead, lang, {fullName_, file.errorString()});
    }
    return bytes;
}

std::optional<QString> WorkbookFile::lockFile() const {
    for (const QString& path : {fullName_, realPath()}) {
        if (path.isEmpty()) {
            continue;
        }
        const QFileInfo info(path);
        for (const QString& name : lockNames(info.fileName())) {
            const QString lock = info.dir().filePath(name);
            if (::access(encodePath(lock).constData(), F_OK) == 0) {
                return lock;
            }
        }
    }
    return std::nullopt;
}

// A save makes the new file beside the old one and renames it over the old
// one: both the file and its folder must let us write.
Status WorkbookFile::checkWritable(const QString& lang) const {
    const QString real = realPath();
    if (::faccessat(AT_FDCWD, encodePath(real).constData(), W_OK, AT_EACCESS) != 0) {
        return workbookError(WorkbookMessage::FileReadOnlyAtOpen, lang, {fullName_});
    }
    const QString folder = QFileInfo(real).absolutePath();
    if (::faccessat(AT_FDCWD, encodePath(folder).constData(), W_OK | X_OK, AT_EACCESS) != 0) {
        return workbookError(WorkbookMessage::FolderReadOnlyAtOpen, lang, {fullName_, folder});
    }
    return {};
}

bool WorkbookFile::isWritable() const {
    const QString real = realPath();
    return !real.isEmpty() &&
           ::faccessat(AT_FDCWD, encodePath(real).constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace tapwise
