#include "workbook/StandardEncryption.h"

#include "workbook/AgileEncryption.h"

#include <QtEndian>

#include <limits>

namespace tapwise {

namespace oc = officecrypto;

namespace {

constexpr int Rounds = 50000;
constexpr quint32 AesFlag = 0x20;
constexpr quint32 ExternalFlag = 0x10;
constexpr int SaltSize = 16;
constexpr int Sha1Size = 20;

Error failure(EncryptionFailure kind, const QString& detail) {
    return Error{int(kind), detail};
}

quint32 u32(QByteArrayView bytes, qsizetype at) {
    return at + 4 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.data() + at) : 0;
}

QByteArray littleEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

oc::SecretBytes StandardEncryption::passwordKey(const oc::SecretBytes& password,
                                                QByteArrayView salt, int keyBits) {
    const oc::SecretBytes iterated = oc::iteratedHash(oc::HashKind::Sha1, salt, password, Rounds);
    const oc::SecretBytes finalHash =
        oc::SecretBytes::adopt(oc::hash(oc::HashKind::Sha1, {iterated.view(), littleEndian(0)}));
    // The hash is stretched to the key's length as CryptDeriveKey does it.
    oc::SecretBytes inner = finalHash.resized(64, '\0');
    oc::SecretBytes outer = finalHash.resized(64, '\0');
    for (int i = 0; i < 64; ++i) {
        inner.data()[i] = char(inner.data()[i] ^ 0x36);
        outer.data()[i] = char(outer.data()[i] ^ 0x5c);
    }
    QByteArray stretched =
        oc::hash(oc::HashKind::Sha1, {inner.view()}) + oc::hash(oc::HashKind::Sha1, {outer.view()});
    return oc::SecretBytes::adopt(std::move(stretched)).resized(keyBits / 8, '\0');
}

Result<StandardEncryption> StandardEncryption::parse(QByteArrayView info) {
    const quint32 flags = u32(info, 4);
    const quint32 headerSize = u32(info, 8);
    if ((flags & ExternalFlag) != 0) {
        return failure(EncryptionFailure::Unsupported, QStringLiteral("extensible encryption"));
    }
    if ((flags & AesFlag) == 0) {
        return failure(EncryptionFailure::Unsupported, QStringLiteral("RC4"));
    }
    const qsizetype verifierAt = 12 + qsizetype(headerSize);
    if (headerSize < 32 || verifierAt + 4 + SaltSize + 16 + 4 + 32 > info.size()) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("EncryptionInfo"));
    }
    StandardEncryption encryption;
    const quint32 algorithm = u32(info, 12 + 8);
    encryption.keyBits_ = int(u32(info, 12 + 16));
    const bool aes = algorithm == 0x660E || algorithm == 0x660F || algorithm == 0x6610;
    if (!aes || u32(info, 12 + 12) != 0x8004 ||
        (encryption.keyBits_ != 128 && encryption.keyBits_ != 192 && encryption.keyBits_ != 256) ||
        u32(info, verifierAt) != SaltSize) {
        return failure(EncryptionFailure::Unsupported,
                       QStringLiteral("algorithm %1").arg(algorithm, 4, 16, QChar(u'0')));
    }
    encryption.header_ = oc::slice(info, 0, verifierAt).toByteArray();
    encryption.salt_ = oc::slice(info, verifierAt + 4, SaltSize).toByteArray();
    encryption.verifier_ = oc::slice(info, verifierAt + 4 + SaltSize, 16).toByteArray();
    encryption.verifierHash_ =
        oc::slice(info, verifierAt + 4 + SaltSize + 16 + 4, 32).toByteArray();
    return encryption;
}

Result<QByteArray> StandardEncryption::decrypt(const oc::SecretBytes& password,
                                               QByteArrayView encryptedPackage) const {
    const oc::SecretBytes key = passwordKey(password, salt_, keyBits_);
    const std::optional<QByteArray> verifier =
        oc::aesEcb(oc::Direction::Decrypt, key.view(), verifier_);
    const std::optional<QByteArray> expected =
        oc::aesEcb(oc::Direction::Decrypt, key.view(), verifierHash_);
    if (!verifier || !expected) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("password verifier"));
    }
    if (!oc::sameBytes(oc::hash(oc::HashKind::Sha1, {*verifier}), expected->left(Sha1Size))) {
        return failure(EncryptionFailure::WrongPassword, QString());
    }
    const quint64 size = encryptedPackage.size() >= 8
                             ? qFromLittleEndian<quint64>(encryptedPackage.data())
                             : std::numeric_limits<quint64>::max();
    // Some writers leave a few bytes past the last whole block.
    QByteArrayView body = oc::slice(encryptedPackage, 8);
    body = oc::slice(body, 0, body.size() - body.size() % 16);
    if (size > quint64(body.size())) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("package size"));
    }
    std::optional<QByteArray> package = oc::aesEcb(oc::Direction::Decrypt, key.view(), body);
    if (!package) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("package"));
    }
    package->truncate(qsizetype(size));
    return *package;
}

Result<std::pair<QByteArray, QByteArray>>
StandardEncryption::encrypt(const oc::SecretBytes& password, QByteArrayView package) const {
    const std::optional<QByteArray> salt = oc::randomBytes(SaltSize);
    const std::optional<QByteArray> verifier = oc::randomBytes(16);
    if (!salt || !verifier) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("no random numbers"));
    }
    const oc::SecretBytes key = passwordKey(password, *salt, keyBits_);
    const auto seal = [&](QByteArrayView plain) {
        return oc::aesEcb(oc::Direction::Encrypt, key.view(), oc::zeroPadded(plain, 16))
            .value_or(QByteArray());
    };
    QByteArray info = header_;
    info += littleEndian(SaltSize) + *salt + seal(*verifier) + littleEndian(Sha1Size) +
            seal(oc::hash(oc::HashKind::Sha1, {*verifier}));
    QByteArray stream(8, '\0');
    qToLittleEndian(quint64(package.size()), stream.data());
    stream += seal(package);
    return std::pair(info, stream);
}

} // namespace tapwise
