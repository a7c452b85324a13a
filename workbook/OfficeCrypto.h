#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <optional>

namespace tapwise::officecrypto {

// Bytes that hold a password or a key: wiped when they go, so that no copy
// outlives its use in freed memory.
class SecretBytes {
public:
    SecretBytes() = default;
    explicit SecretBytes(QByteArrayView bytes);
    // Takes the bytes over without a copy (a decrypted key).
    static SecretBytes adopt(QByteArray&& bytes);
    SecretBytes(const SecretBytes& other) : SecretBytes(other.view()) {}
    SecretBytes& operator=(const SecretBytes& other);
    ~SecretBytes();

    // The password as the encrypted package hashes it: UTF-16, low byte first.
    static SecretBytes fromPassword(const QString& password);

    QByteArrayView view() const { return bytes_; }
    qsizetype size() const { return bytes_.size(); }
    char* data() { return bytes_.data(); }
    // The first n bytes; shorter keys are filled up with pad.
    SecretBytes resized(qsizetype n, char pad) const;

private:
    QByteArray bytes_;
};

enum class HashKind { Sha1, Sha256, Sha384, Sha512 };

std::optional<HashKind> hashKindNamed(QByteArrayView name);
QByteArray hashName(HashKind kind);
int hashSize(HashKind kind);

// The hash of the pieces one after the other.
QByteArray hash(HashKind kind, std::initializer_list<QByteArrayView> pieces);
// The salted password hashed once, then spinCount more times with the round
// number in front: the slow part of opening an encrypted workbook.
SecretBytes iteratedHash(HashKind kind, QByteArrayView salt, const SecretBytes& password,
                         int spinCount);
QByteArray hmac(HashKind kind, QByteArrayView key, QByteArrayView data);

// AES with a 16, 24 or 32 byte key, without padding: data must be whole
// blocks. Empty when the key or the length does not fit.
enum class Direction { Encrypt, Decrypt };
std::optional<QByteArray> aesCbc(Direction direction, QByteArrayView key, QByteArrayView iv,
                                 QByteArrayView data);
std::optional<QByteArray> aesEcb(Direction direction, QByteArrayView key, QByteArrayView data);

// Bytes from..from+count (to the end when count is -1), cut at the end.
QByteArrayView slice(QByteArrayView bytes, qsizetype from, qsizetype count = -1);
// Filled up with zeros to whole blocks of blockSize.
QByteArray zeroPadded(QByteArrayView data, int blockSize);
// Empty only when the system's random source fails.
std::optional<QByteArray> randomBytes(int count);
// Compares without leaking through timing where the two first differ.
bool sameBytes(QByteArrayView a, QByteArrayView b);

} // namespace tapwise::officecrypto
