#include "workbook/PackageWriter.h"

#include "workbook/WorkbookTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tapwise {

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool closeNow() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

} // namespace

PackageWriter::PackageWriter(QString realPath, QString displayName, QString lang)
    : realPath_(std::move(realPath)), displayName_(std::move(displayName)), lang_(std::move(lang)) {
}

Status PackageWriter::fail(const QString& reason) const {
    return workbookError(WorkbookMessage::SaveFailed, lang_, {displayName_, reason});
}

Status PackageWriter::replace(const QByteArray& original, const PackageChanges& changes) const {
    const QFileInfo info(realPath_);
    QByteArray tempPath =
        QFile::encodeName(info.dir().filePath(QStringLiteral(".~tapwise-") + info.fileName())) +
        "-XXXXXX";
    Descriptor temp(::mkstemp(tempPath.data()));
    if (temp.get() < 0) {
        return fail(systemError());
    }
    Status status = writeBytes(temp.get(), original);
    if (status && !temp.closeNow()) {
        status = fail(systemError());
    }
    if (status) {
        status = applyChanges(tempPath, changes);
    }
    if (status) {
        status = flushAndRename(tempPath);
    }
    if (!status) {
        ::unlink(tempPath.constData());
    }
    return status;
}

Status PackageWriter::writeBytes(int descriptor, const QByteArray& bytes) const {
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(descriptor, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return fail(systemError());
        }
        written += n;
    }
    return {};
}

// libzip writes the changed archive through a file of its own beside the
// temporary one; unchanged entries are copied without being unpacked.
Status PackageWriter::applyChanges(const QByteArray& tempPath,
                                   const PackageChanges& changes) const {
    int code = 0;
    zip_t* archive = zip_open(tempPath.constData(), 0, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        return fail(reason);
    }
    bool ok = true;
    for (const auto& [name, content] : changes.parts) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
        if (!source) {
            ok = false;
        } else if (index >= 0 ? zip_file_replace(archive, zip_uint64_t(index), source, 0) != 0
                              : (index = zip_file_add(archive, name.c_str(), source,
                                                      ZIP_FL_ENC_UTF_8)) < 0) {
            zip_source_free(source);
            ok = false;
        }
        ok = ok && zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) == 0;
    }
    for (const std::string& name : changes.removed) {
        const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
        ok = ok && (index < 0 || zip_delete(archive, zip_uint64_t(index)) == 0);
    }
    if (!ok || zip_close(archive) != 0) {
        const QString reason = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return fail(reason);
    }
    return {};
}

Status PackageWriter::flushAndRename(const QByteArray& tempPath) const {
    struct stat old;
    const QByteArray target = QFile::encodeName(realPath_);
    Descriptor file(::open(tempPath.constData(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0 || ::stat(target.constData(), &old) != 0) {
        return fail(systemError());
    }
    // The owner can only be kept where the system allows it; the mode always.
    [[maybe_unused]] const int owned = ::fchown(file.get(), old.st_uid, old.st_gid);
    if (::fchmod(file.get(), old.st_mode & 07777) != 0 || ::fsync(file.get()) != 0 ||
        !file.closeNow()) {
        return fail(systemError());
    }
    if (::rename(tempPath.constData(), target.constData()) != 0) {
        return fail(systemError());
    }
    Descriptor folder(::open(QFile::encodeName(QFileInfo(realPath_).absolutePath()).constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return {};
}

} // namespace tapwise
