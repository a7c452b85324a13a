#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace tapwise::fuzz {

// Stops the run as a crash, so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "fuzz oracle failed: %s\n", what);
    std::abort();
}

inline void require(bool condition, const char* what) {
    if (!condition)
        fail(what);
}

// One folder for the whole run, in memory where there is a tmpfs: every
// change of a file is flushed to disk.
inline const QTemporaryDir& scratch() {
    static const QTemporaryDir dir(QDir("/dev/shm").exists()
                                       ? QStringLiteral("/dev/shm/tapwise-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/tapwise-fuzz-XXXXXX"));
    return dir;
}

inline QString scratchFile(const QString& name) {
    return scratch().filePath(name);
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write a scratch file");
    require(file.write(bytes) == bytes.size(), "cannot write a scratch file");
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace tapwise::fuzz
