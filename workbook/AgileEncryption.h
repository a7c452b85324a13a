#pragma once

#include "common/Result.h"
#include "workbook/OfficeCrypto.h"

#include <QByteArray>

#include <utility>

namespace tapwise {

// The encryption of current spreadsheet programs: the package in segments
// of 4096 bytes, each AES-CBC with its own IV, under a random key that the
// password's key (an iterated hash, 100,000 rounds as a rule) encrypts;
// an HMAC over the encrypted package guards it.
//
// Failures carry an EncryptionFailure as their code and a technical detail.
class AgileEncryption {
public:
    // Parameters of one cipher: the package's, or the password's.
    struct Cipher {
        int saltSize = 16;
        int blockSize = 16;
        int keyBits = 256;
        officecrypto::HashKind hash = officecrypto::HashKind::Sha512;
        QByteArray salt;
    };

    // info: the whole EncryptionInfo stream.
    static Result<AgileEncryption> parse(QByteArrayView info);
    // An encryption with the same parameters and no keys yet (for saving).
    AgileEncryption sameKind() const;

    // The package from the EncryptedPackage stream.
    Result<QByteArray> decrypt(const officecrypto::SecretBytes& password,
                               QByteArrayView encryptedPackage) const;
    // The EncryptionInfo and EncryptedPackage streams of the package with new
    // salts and a new key.
    Result<std::pair<QByteArray, QByteArray>> encrypt(const officecrypto::SecretBytes& password,
                                                      QByteArrayView package) const;

    int spinCount() const { return spinCount_; }

private:
    Result<officecrypto::SecretBytes> packageKey(const officecrypto::SecretBytes& password) const;
    Status checkIntegrity(const officecrypto::SecretBytes& key, QByteArrayView stream) const;
    QByteArray infoStream() const;

    Cipher data_;
    Cipher password_;
    int spinCount_ = 100000;
    bool hasIntegrity_ = false;
    QByteArray hmacKey_;
    QByteArray hmacValue_;
    QByteArray verifierInput_;
    QByteArray verifierHash_;
    QByteArray keyValue_;
};

// Codes of the errors of the encryption classes.
enum class EncryptionFailure { WrongPassword = 1, Damaged, Unsupported };

// The steps from a secret to an IV or a key, each told apart by its block
// key; public so that tests can check them against known values.
namespace agile {
QByteArray blockIv(const AgileEncryption::Cipher& cipher, QByteArrayView blockKey);
officecrypto::SecretBytes blockKeyOf(const AgileEncryption::Cipher& cipher,
                                     const officecrypto::SecretBytes& iterated,
                                     QByteArrayView blockKey);
} // namespace agile

} // namespace tapwise
