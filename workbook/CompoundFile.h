#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tapwise {

// The compound file format of old spreadsheets, which also wraps workbooks
// encrypted with a password (streams "EncryptionInfo" and
// "EncryptedPackage"). Every read is bounded by the file.
class CompoundFile {
public:
    // A storage or a stream; path is its names from the root joined by "/".
    struct Entry {
        QString path;
        bool storage = false;
        QByteArray data;
    };

    static bool hasSignature(const QByteArray& bytes);
    // The names of the storages and streams in the directory; empty when the
    // directory cannot be read.
    static QStringList entryNames(const QByteArray& bytes);
    // A package encrypted with a password or protected by rights management.
    static bool isEncryptedWorkbook(const QByteArray& bytes);

    // Every storage and stream with its bytes, parents before children;
    // nothing when the file is damaged.
    static std::optional<std::vector<Entry>> read(const QByteArray& bytes);
};

} // namespace tapwise
