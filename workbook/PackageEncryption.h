#pragma once

#include "common/Result.h"
#include "workbook/AgileEncryption.h"
#include "workbook/CompoundFile.h"
#include "workbook/OfficeCrypto.h"
#include "workbook/StandardEncryption.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <variant>
#include <vector>

namespace tapwise {

// A workbook file encrypted with a password: a compound file whose
// "EncryptedPackage" stream holds the zip package. Opening it gives the
// package; sealing a package gives the bytes of a new encrypted file with
// the same password and kind of encryption, new salts and a new key, and
// every other stream of the old file (the data spaces) as it was.
//
// The password stays in memory (wiped when this goes) because every save
// derives new keys from it.
class PackageEncryption {
public:
    enum class Kind { Agile, Standard };

    struct Opened {
        std::unique_ptr<PackageEncryption> encryption;
        QByteArray package;
    };

    // Errors are workbook errors (1004) naming fileName, in the language
    // lang; a wrong or missing password says that the password is not
    // correct and never shows it.
    static Result<Opened> open(const QByteArray& file, const QString& password,
                               const QString& fileName, const QString& lang);
    // True when file is encrypted in a way that opens and the empty password
    // does not open it: asking the user for the password can help.
    static bool needsPassword(const QByteArray& file);

    Result<QByteArray> seal(const QByteArray& package) const;
    Kind kind() const;

private:
    struct Key {
        explicit Key() = default;
    };

public:
    PackageEncryption(Key, std::variant<AgileEncryption, StandardEncryption> cipher,
                      std::vector<CompoundFile::Entry> entries, officecrypto::SecretBytes password,
                      QString fileName, QString lang);

private:
    std::variant<AgileEncryption, StandardEncryption> cipher_;
    std::vector<CompoundFile::Entry> entries_;
    officecrypto::SecretBytes password_;
    QString fileName_;
    QString lang_;
};

} // namespace tapwise
