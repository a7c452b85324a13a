#include "workbook/PackageWriter.h"

#include "common/FileDescriptor.h"
#include "common/NativePath.h"
#include "common/StaleTemporaries.h"
#include "workbook/WorkbookTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tapwise {

namespace {

// libzip would pack changed parts at zlib's slowest level, about eight times
// slower on a large sheet than this one, for a file about a tenth smaller.
constexpr zip_uint32_t CompressionLevel = 3;

// A temporary file of a save untouched this long belongs to no save any more.
constexpr std::chrono::seconds StaleAfter = std::chrono::minutes(15);

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Closes a descriptor when it goes out of scope.
// libzip pulls a changed part's bytes through this while it packs them.
zip_int64_t readContent(void* userdata, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* content = static_cast<PartContent*>(userdata);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        content->rewind();
        return 0;
    case ZIP_SOURCE_READ:
        return zip_int64_t(content->read(static_cast<char*>(data), size_t(length)));
    case ZIP_SOURCE_STAT: {
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        stat->size = content->size();
        stat->mtime = std::time(nullptr);
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
    case ZIP_SOURCE_ERROR: { // reading from memory does not fail
        zip_error_t none;
        zip_error_init(&none);
        return zip_error_to_data(&none, data, length);
    }
    default:
        return 0;
    }
}

zip_source_t* contentSource(zip_t* target, PartContent& content) {
    return zip_source_function(target, readContent, &content);
}

// The original package, opened from memory; null, with the error set, when
// it cannot be.
zip_t* openOriginal(const QByteArray& original, zip_error_t* error) {
    zip_source_t* buffer =
        zip_source_buffer_create(original.constData(), zip_uint64_t(original.size()), 0, error);
    zip_t* source = buffer ? zip_open_from_source(buffer, ZIP_RDONLY, error) : nullptr;
    if (buffer && !source) {
        zip_source_free(buffer);
    }
    return source;
}

} // namespace

PackageWriter::PackageWriter(QString realPath, QString displayName, QString lang)
    : realPath_(std::move(realPath)), displayName_(std::move(displayName)), lang_(std::move(lang)) {
}

Status PackageWriter::fail(const QString& reason) const {
    return workbookError(WorkbookMessage::SaveFailed, lang_, {displayName_, reason});
}

Status PackageWriter::replace(const QByteArray& original, const PackageChanges& changes) const {
    const Result<QByteArray> temp = writeTemporary(original, changes);
    if (!temp) {
        return temp.error();
    }
    const Status status = flushAndRename(temp.value());
    if (!status) {
        ::unlink(temp.value().constData());
    }
    return status;
}

Status PackageWriter::create(const QByteArray& original, const PackageChanges& changes,
                             const QString& permissionsFrom) const {
    const Result<QByteArray> temp = writeTemporary(original, changes);
    if (!temp) {
        return temp.error();
    }
    const Status status = flushAndLink(temp.value(), permissionsFrom);
    ::unlink(temp.value().constData());
    return status;
}

// A save killed half-way (the program ended by force, the machine off)
// leaves its temporary file, as large as the workbook; the next save beside
// it removes those of the same workbook that nobody has written to for a
// while. A save in progress keeps writing to its own.
void PackageWriter::removeStaleSaves() const {
    const QFileInfo info(realPath_);
    const QString prefix = QStringLiteral(".~tapwise-") + info.fileName() + u'-';
    removeStaleTemporaries(
        info.path(),
        [&](const QString& name) {
            return name.size() == prefix.size() + 6 && name.startsWith(prefix);
        },
        StaleAfter);
}

// The new archive in a hidden temporary file beside the target; its path.
Result<QByteArray> PackageWriter::writeTemporary(const QByteArray& original,
                                                 const PackageChanges& changes) const {
    removeStaleSaves();
    const QFileInfo info(realPath_);
    QByteArray tempPath =
        encodePath(info.dir().filePath(QStringLiteral(".~tapwise-") + info.fileName())) + "-XXXXXX";
    FileDescriptor temp(::mkstemp(tempPath.data()));
    if (temp.get() < 0 || !temp.close()) {
        return fail(systemError()).error();
    }
    const Status status = seal_ ? writeSealed(tempPath, original, changes)
                                : writeArchive(tempPath, original, changes);
    if (!status) {
        ::unlink(tempPath.constData());
        return status.error();
    }
    return tempPath;
}

// The new archive takes the old one's entries in their order: unchanged
// ones are copied as stored (libzip does not unpack them), changed ones are
// packed anew, new ones come last.
Status PackageWriter::writeArchive(const QByteArray& tempPath, const QByteArray& original,
                                   const PackageChanges& changes) const {
    zip_error_t error;
    zip_error_init(&error);
    zip_t* source = openOriginal(original, &error);
    int code = 0;
    zip_t* target =
        source ? zip_open(tempPath.constData(), ZIP_CREATE | ZIP_TRUNCATE, &code) : nullptr;
    if (!target) {
        if (code != 0) {
            zip_error_fini(&error);
            zip_error_init_with_code(&error, code);
        }
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        if (source) {
            zip_discard(source);
        }
        return fail(reason);
    }
    zip_error_fini(&error);
    bool ok = copyEntries(source, target, changes);
    ok = ok && zip_close(target) == 0;
    const QString reason = QString::fromUtf8(zip_strerror(target));
    if (!ok) {
        zip_discard(target);
    }
    zip_discard(source);
    return ok ? Status() : fail(reason);
}

void PackageWriter::setSeal(Seal seal) {
    seal_ = std::move(seal);
}

// An encrypted workbook's package never reaches the disk unencrypted: it is
// built in memory and only its sealed form is written.
Status PackageWriter::writeSealed(const QByteArray& tempPath, const QByteArray& original,
                                  const PackageChanges& changes) const {
    zip_error_t error;
    zip_error_init(&error);
    zip_t* source = openOriginal(original, &error);
    zip_source_t* memory = source ? zip_source_buffer_create(nullptr, 0, 0, &error) : nullptr;
    zip_t* target = memory ? zip_open_from_source(memory, ZIP_TRUNCATE, &error) : nullptr;
    if (!target) {
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        if (memory) {
            zip_source_free(memory);
        }
        if (source) {
            zip_discard(source);
        }
        return fail(reason);
    }
    zip_error_fini(&error);
    zip_source_keep(memory); // read back after the archive is closed
    bool ok = copyEntries(source, target, changes) && zip_close(target) == 0;
    const QString reason = QString::fromUtf8(zip_strerror(target));
    if (!ok) {
        zip_discard(target);
    }
    zip_discard(source);
    QByteArray archive;
    zip_stat_t stat;
    ok = ok && zip_source_open(memory) == 0;
    if (ok) {
        ok = zip_source_stat(memory, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE);
        archive.resize(ok ? qsizetype(stat.size) : 0);
        ok = ok && zip_source_read(memory, archive.data(), stat.size) == zip_int64_t(stat.size);
        zip_source_close(memory);
    }
    zip_source_free(memory);
    if (!ok) {
        return fail(reason);
    }
    const Result<QByteArray> sealed = seal_(archive);
    if (!sealed) {
        return sealed.error();
    }
    // Opened by its bytes: the name may not be UTF-8.
    FileDescriptor fd(::open(tempPath.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    QFile file;
    if (fd.get() < 0 || !file.open(fd.get(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        return fail(systemError());
    }
    if (file.write(sealed.value()) != sealed.value().size() || !file.flush()) {
        return fail(file.errorString());
    }
    file.close();
    if (!fd.close()) {
        return fail(systemError());
    }
    return {};
}

bool PackageWriter::copyEntries(zip_t* source, zip_t* target, const PackageChanges& changes) const {
    const auto sameName = [](const std::string& a, const char* b) {
        return ::strcasecmp(a.c_str(), b) == 0;
    };
    std::vector<bool> written(changes.parts.size(), false);
    bool ok = true;
    for (zip_int64_t i = 0; ok && i < zip_get_num_entries(source, 0); ++i) {
        const char* name = zip_get_name(source, zip_uint64_t(i), 0);
        if (!name || std::any_of(changes.removed.begin(), changes.removed.end(),
                                 [&](const std::string& gone) { return sameName(gone, name); })) {
            ok = name != nullptr;
            continue;
        }
        size_t n = 0;
        auto changed = changes.parts.begin();
        for (; changed != changes.parts.end() && !sameName(changed->first, name); ++changed, ++n) {
        }
        if (changed == changes.parts.end()) {
            ok = addEntry(target, name, zip_source_zip(target, source, zip_uint64_t(i), 0, 0, -1),
                          false);
        } else {
            written[n] = true;
            ok = addEntry(target, name, contentSource(target, *changed->second), true);
        }
    }
    size_t n = 0;
    for (auto part = changes.parts.begin(); ok && part != changes.parts.end(); ++part, ++n) {
        if (!written[n]) {
            ok = addEntry(target, part->first.c_str(), contentSource(target, *part->second), true);
        }
    }
    return ok;
}

bool PackageWriter::addEntry(zip_t* target, const char* name, zip_source_t* data, bool pack) const {
    if (!data) {
        return false;
    }
    const zip_int64_t index = zip_file_add(target, name, data, 0);
    if (index < 0) {
        zip_source_free(data);
        return false;
    }
    return !pack || zip_set_file_compression(target, zip_uint64_t(index), ZIP_CM_DEFLATE,
                                             CompressionLevel) == 0;
}

Status PackageWriter::flushAndRename(const QByteArray& tempPath) const {
    struct stat old;
    const QByteArray target = encodePath(realPath_);
    FileDescriptor file(::open(tempPath.constData(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0 || ::stat(target.constData(), &old) != 0) {
        return fail(systemError());
    }
    // The owner can only be kept where the system allows it; the mode always.
    [[maybe_unused]] const int owned = ::fchown(file.get(), old.st_uid, old.st_gid);
    if (::fchmod(file.get(), old.st_mode & 07777) != 0 || ::fsync(file.get()) != 0 ||
        !file.close()) {
        return fail(systemError());
    }
    if (::rename(tempPath.constData(), target.constData()) != 0) {
        return fail(systemError());
    }
    FileDescriptor folder(::open(encodePath(QFileInfo(realPath_).absolutePath()).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return {};
}

// A hard link gives the file its name only when the name is free, so a
// file that appeared there in the meantime is not replaced.
Status PackageWriter::flushAndLink(const QByteArray& tempPath,
                                   const QString& permissionsFrom) const {
    struct stat model;
    const bool hasModel = ::stat(encodePath(permissionsFrom).constData(), &model) == 0;
    FileDescriptor file(::open(tempPath.constData(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return fail(systemError());
    }
    const mode_t mode = hasModel ? model.st_mode & 0666 : 0644;
    if (::fchmod(file.get(), mode) != 0 || ::fsync(file.get()) != 0 || !file.close()) {
        return fail(systemError());
    }
    const QByteArray target = encodePath(realPath_);
    int linked = ::link(tempPath.constData(), target.constData());
    if (linked != 0 && (errno == EPERM || errno == EOPNOTSUPP)) { // no hard links here
        linked = ::renameat2(AT_FDCWD, tempPath.constData(), AT_FDCWD, target.constData(),
                             RENAME_NOREPLACE);
    }
    if (linked != 0) {
        if (errno == EEXIST) {
            return Error{FileExistsErrorCode,
                         workbookText(WorkbookMessage::CopyExists, lang_, {displayName_})};
        }
        return fail(systemError());
    }
    FileDescriptor folder(::open(encodePath(QFileInfo(realPath_).absolutePath()).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) {
        ::fsync(folder.get());
    }
    return {};
}

} // namespace tapwise
