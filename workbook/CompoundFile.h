#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tapwise {

// The compound file format of old spreadsheets, which also wraps workbooks
// encrypted with a password (streams "EncryptionInfo" and
// "EncryptedPackage"). Only its directory is read, bounded by the file.
class CompoundFile {
public:
    static bool hasSignature(const QByteArray& bytes);
    // The names of the storages and streams in the directory; empty when the
    // directory cannot be read.
    static QStringList entryNames(const QByteArray& bytes);
    static bool isEncryptedWorkbook(const QByteArray& bytes);
};

} // namespace tapwise
