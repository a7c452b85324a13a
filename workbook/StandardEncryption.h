#pragma once

#include "common/Result.h"
#include "workbook/OfficeCrypto.h"

#include <QByteArray>

#include <utility>

namespace tapwise {

// The encryption of the first Office Open XML spreadsheet programs: the
// whole package in AES-ECB (128 bits as a rule) under a key made from the
// password with 50,000 rounds of SHA-1. Failures carry an
// EncryptionFailure as their code (AgileEncryption.h).
class StandardEncryption {
public:
    // info: the whole EncryptionInfo stream.
    static Result<StandardEncryption> parse(QByteArrayView info);

    Result<QByteArray> decrypt(const officecrypto::SecretBytes& password,
                               QByteArrayView encryptedPackage) const;
    // The EncryptionInfo and EncryptedPackage streams of the package: the
    // same header, a new salt and a new verifier.
    Result<std::pair<QByteArray, QByteArray>> encrypt(const officecrypto::SecretBytes& password,
                                                      QByteArrayView package) const;

    // The key of a password and a salt.
    static officecrypto::SecretBytes passwordKey(const officecrypto::SecretBytes& password,
                                                 QByteArrayView salt, int keyBits);

private:
    QByteArray header_; // version, flags and the encryption header, as read
    int keyBits_ = 128;
    QByteArray salt_;
    QByteArray verifier_;
    QByteArray verifierHash_;
};

} // namespace tapwise
