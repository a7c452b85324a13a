#include "workbook/WorkbookFile.h"

#include "workbook/WorkbookTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
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

} // namespace

WorkbookFile::WorkbookFile(const QString& path) : fullName_(QFileInfo(path).absoluteFilePath()) {}

QString WorkbookFile::realPath() const {
    return QFileInfo(fullName_).canonicalFilePath();
}

Result<QByteArray> WorkbookFile::read(const QString& lang) const {
    const QString real = realPath();
    if (real.isEmpty()) {
        return workbookError(WorkbookMessage::NotFound, lang, {fullName_});
    }
    QFile file(real);
    if (QFileInfo(real).isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString reason =
            QFileInfo(real).isDir() ? QStringLiteral("Is a directory") : file.errorString();
        return workbookError(WorkbookMessage::CannotRead, lang, {fullName_, reason});
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
            if (QFileInfo::exists(lock)) {
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
    if (::faccessat(AT_FDCWD, QFile::encodeName(real).constData(), W_OK, AT_EACCESS) != 0) {
        return workbookError(WorkbookMessage::FileReadOnlyAtOpen, lang, {fullName_});
    }
    const QString folder = QFileInfo(real).absolutePath();
    if (::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) !=
        0) {
        return workbookError(WorkbookMessage::FolderReadOnlyAtOpen, lang, {fullName_, folder});
    }
    return {};
}

bool WorkbookFile::isWritable() const {
    return QFileInfo(realPath()).isWritable();
}

} // namespace tapwise
