#include "workbook/OfficeCrypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <algorithm>
#include <array>
#include <memory>

namespace tapwise::officecrypto {

namespace {

struct DigestContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct DigestFree {
    void operator()(EVP_MD* md) const { EVP_MD_free(md); }
};
struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};

const EVP_MD* digest(HashKind kind) {
    switch (kind) {
    case HashKind::Sha1:
        return EVP_sha1();
    case HashKind::Sha256:
        return EVP_sha256();
    case HashKind::Sha384:
        return EVP_sha384();
    case HashKind::Sha512:
        return EVP_sha512();
    }
    return EVP_sha1();
}

const unsigned char* bytesOf(QByteArrayView view) {
    return reinterpret_cast<const unsigned char*>(view.data());
}

std::optional<QByteArray> runCipher(const EVP_CIPHER* cipher, Direction direction,
                                    QByteArrayView key, QByteArrayView iv, QByteArrayView data) {
    if (!cipher || key.size() != EVP_CIPHER_get_key_length(cipher) || data.size() % 16 != 0 ||
        (!iv.isNull() && iv.size() != 16)) {
        return std::nullopt;
    }
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> context(EVP_CIPHER_CTX_new());
    QByteArray out(data.size() + 16, '\0');
    int written = 0;
    int last = 0;
    const int encrypt = direction == Direction::Encrypt ? 1 : 0;
    if (!context ||
        EVP_CipherInit_ex(context.get(), cipher, nullptr, bytesOf(key),
                          iv.isNull() ? nullptr : bytesOf(iv), encrypt) != 1 ||
        EVP_CIPHER_CTX_set_padding(context.get(), 0) != 1 ||
        EVP_CipherUpdate(context.get(), reinterpret_cast<unsigned char*>(out.data()), &written,
                         bytesOf(data), int(data.size())) != 1 ||
        EVP_CipherFinal_ex(context.get(), reinterpret_cast<unsigned char*>(out.data()) + written,
                           &last) != 1) {
        return std::nullopt;
    }
    out.truncate(written + last);
    return out;
}

} // namespace

SecretBytes::SecretBytes(QByteArrayView bytes) : bytes_(bytes.toByteArray()) {}

SecretBytes SecretBytes::adopt(QByteArray&& bytes) {
    SecretBytes secret;
    secret.bytes_ = std::move(bytes);
    secret.bytes_.detach();
    return secret;
}

SecretBytes& SecretBytes::operator=(const SecretBytes& other) {
    if (this != &other) {
        SecretBytes copy(other);
        std::swap(bytes_, copy.bytes_);
    }
    return *this;
}

SecretBytes::~SecretBytes() {
    // Bytes that another array still shares are wiped by their last owner.
    if (!bytes_.isEmpty() && bytes_.isDetached()) {
        OPENSSL_cleanse(bytes_.data(), size_t(bytes_.size()));
    }
}

SecretBytes SecretBytes::fromPassword(const QString& password) {
    SecretBytes secret;
    secret.bytes_.resize(password.size() * 2);
    for (qsizetype i = 0; i < password.size(); ++i) {
        const char16_t unit = password[i].unicode();
        secret.bytes_[2 * i] = char(unit & 0xFF);
        secret.bytes_[2 * i + 1] = char(unit >> 8);
    }
    return secret;
}

SecretBytes SecretBytes::resized(qsizetype n, char pad) const {
    SecretBytes out;
    out.bytes_ = QByteArray(n, pad);
    std::copy_n(bytes_.constData(), std::min(n, bytes_.size()), out.bytes_.data());
    return out;
}

std::optional<HashKind> hashKindNamed(QByteArrayView name) {
    for (HashKind kind : {HashKind::Sha1, HashKind::Sha256, HashKind::Sha384, HashKind::Sha512}) {
        if (name.compare(hashName(kind), Qt::CaseInsensitive) == 0) {
            return kind;
        }
    }
    return std::nullopt;
}

QByteArray hashName(HashKind kind) {
    switch (kind) {
    case HashKind::Sha1:
        return "SHA1";
    case HashKind::Sha256:
        return "SHA256";
    case HashKind::Sha384:
        return "SHA384";
    case HashKind::Sha512:
        return "SHA512";
    }
    return "SHA1";
}

int hashSize(HashKind kind) {
    return EVP_MD_get_size(digest(kind));
}

QByteArray hash(HashKind kind, std::initializer_list<QByteArrayView> pieces) {
    std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    QByteArray out(hashSize(kind), '\0');
    EVP_DigestInit_ex(context.get(), digest(kind), nullptr);
    for (QByteArrayView piece : pieces) {
        EVP_DigestUpdate(context.get(), piece.data(), size_t(piece.size()));
    }
    EVP_DigestFinal_ex(context.get(), reinterpret_cast<unsigned char*>(out.data()), nullptr);
    return out;
}

SecretBytes iteratedHash(HashKind kind, QByteArrayView salt, const SecretBytes& password,
                         int spinCount) {
    SecretBytes value = SecretBytes::adopt(hash(kind, {salt, password.view()}));
    std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    // Fetched once: the implicit fetch behind EVP_sha512() in every round
    // would take about as long as the hashing itself.
    std::unique_ptr<EVP_MD, DigestFree> md(
        EVP_MD_fetch(nullptr, EVP_MD_get0_name(digest(kind)), nullptr));
    const EVP_MD* type = md ? md.get() : digest(kind);
    auto* out = reinterpret_cast<unsigned char*>(value.data());
    for (int round = 0; round < spinCount; ++round) {
        const std::array<unsigned char, 4> counter{
            static_cast<unsigned char>(round), static_cast<unsigned char>(round >> 8),
            static_cast<unsigned char>(round >> 16), static_cast<unsigned char>(round >> 24)};
        EVP_DigestInit_ex2(context.get(), type, nullptr);
        EVP_DigestUpdate(context.get(), counter.data(), counter.size());
        EVP_DigestUpdate(context.get(), out, size_t(value.size()));
        EVP_DigestFinal_ex(context.get(), out, nullptr);
    }
    return value;
}

QByteArray hmac(HashKind kind, QByteArrayView key, QByteArrayView data) {
    QByteArray out(EVP_MAX_MD_SIZE, '\0');
    unsigned int length = 0;
    HMAC(digest(kind), key.data(), int(key.size()), bytesOf(data), size_t(data.size()),
         reinterpret_cast<unsigned char*>(out.data()), &length);
    out.truncate(int(length));
    return out;
}

std::optional<QByteArray> aesCbc(Direction direction, QByteArrayView key, QByteArrayView iv,
                                 QByteArrayView data) {
    const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_cbc()
                               : key.size() == 24 ? EVP_aes_192_cbc()
                               : key.size() == 32 ? EVP_aes_256_cbc()
                                                  : nullptr;
    if (iv.size() != 16) {
        return std::nullopt;
    }
    return runCipher(cipher, direction, key, iv, data);
}

std::optional<QByteArray> aesEcb(Direction direction, QByteArrayView key, QByteArrayView data) {
    const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_ecb()
                               : key.size() == 24 ? EVP_aes_192_ecb()
                               : key.size() == 32 ? EVP_aes_256_ecb()
                                                  : nullptr;
    return runCipher(cipher, direction, key, QByteArrayView(), data);
}

QByteArrayView slice(QByteArrayView bytes, qsizetype from, qsizetype count) {
    from = std::clamp<qsizetype>(from, 0, bytes.size());
    const qsizetype rest = bytes.size() - from;
    return bytes.sliced(from, count < 0 ? rest : std::min(count, rest));
}

QByteArray zeroPadded(QByteArrayView data, int blockSize) {
    QByteArray out = data.toByteArray();
    const qsizetype rest = out.size() % blockSize;
    if (rest != 0) {
        out.append(blockSize - rest, '\0');
    }
    return out;
}

std::optional<QByteArray> randomBytes(int count) {
    QByteArray out(count, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), count) != 1) {
        return std::nullopt;
    }
    return out;
}

bool sameBytes(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}

} // namespace tapwise::officecrypto
