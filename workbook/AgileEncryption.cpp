#include "workbook/AgileEncryption.h"

#include "workbook/XmlNames.h"

#include <pugixml.hpp>

#include <QtEndian>

#include <array>
#include <limits>

namespace tapwise {

namespace oc = officecrypto;

namespace {

constexpr int SegmentSize = 4096;
constexpr int MaxSpinCount = 10000000;
const QByteArray PasswordUri = "http://schemas.microsoft.com/office/2006/keyEncryptor/password";

// The block keys that tell apart the keys and IVs made from one secret.
constexpr std::array<char, 8> VerifierInputBlock{'\xfe', '\xa7', '\xd2', '\x76',
                                                 '\x3b', '\x4b', '\x9e', '\x79'};
constexpr std::array<char, 8> VerifierHashBlock{'\xd7', '\xaa', '\x0f', '\x6d',
                                                '\x30', '\x61', '\x34', '\x4e'};
constexpr std::array<char, 8> KeyValueBlock{'\x14', '\x6e', '\x0b', '\xe7',
                                            '\xab', '\xac', '\xd0', '\xd6'};
constexpr std::array<char, 8> HmacKeyBlock{'\x5f', '\xb2', '\xad', '\x01',
                                           '\x0c', '\xb9', '\xe1', '\xf6'};
constexpr std::array<char, 8> HmacValueBlock{'\xa0', '\x67', '\x7f', '\x02',
                                             '\xb2', '\x2c', '\x84', '\x33'};

QByteArrayView view(const std::array<char, 8>& block) {
    return QByteArrayView(block.data(), qsizetype(block.size()));
}

Error failure(EncryptionFailure kind, const QString& detail) {
    return Error{int(kind), detail};
}

QByteArray base64(pugi::xml_node node, const char* name) {
    return QByteArray::fromBase64(node.attribute(name).value());
}

Result<AgileEncryption::Cipher> readCipher(pugi::xml_node node) {
    AgileEncryption::Cipher cipher;
    const QByteArray algorithm = node.attribute("cipherAlgorithm").value();
    const QByteArray chaining = node.attribute("cipherChaining").value();
    const auto hash = oc::hashKindNamed(node.attribute("hashAlgorithm").value());
    if (algorithm != "AES" || chaining != "ChainingModeCBC" || !hash) {
        return failure(EncryptionFailure::Unsupported,
                       QStringLiteral("%1, %2, %3")
                           .arg(QString::fromLatin1(algorithm), QString::fromLatin1(chaining),
                                QString::fromUtf8(node.attribute("hashAlgorithm").value())));
    }
    cipher.hash = *hash;
    cipher.keyBits = node.attribute("keyBits").as_int();
    cipher.blockSize = node.attribute("blockSize").as_int();
    cipher.salt = base64(node, "saltValue");
    cipher.saltSize = int(cipher.salt.size());
    if ((cipher.keyBits != 128 && cipher.keyBits != 192 && cipher.keyBits != 256) ||
        cipher.blockSize != 16 || cipher.salt.isEmpty() ||
        node.attribute("saltSize").as_int() != cipher.saltSize) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("key or salt sizes"));
    }
    return cipher;
}

void writeCipher(pugi::xml_node node, const AgileEncryption::Cipher& cipher) {
    node.append_attribute("saltSize") = cipher.saltSize;
    node.append_attribute("blockSize") = cipher.blockSize;
    node.append_attribute("keyBits") = cipher.keyBits;
    node.append_attribute("hashSize") = oc::hashSize(cipher.hash);
    node.append_attribute("cipherAlgorithm") = "AES";
    node.append_attribute("cipherChaining") = "ChainingModeCBC";
    node.append_attribute("hashAlgorithm") = oc::hashName(cipher.hash).constData();
    node.append_attribute("saltValue") = cipher.salt.toBase64().constData();
}

void setBase64(pugi::xml_node node, const char* name, const QByteArray& bytes) {
    node.append_attribute(name) = bytes.toBase64().constData();
}

class StringWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), qsizetype(size));
    }
    QByteArray out;
};

QByteArray segmentIndex(quint32 index) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(index, bytes.data());
    return bytes;
}

} // namespace

namespace agile {

// A hash cut to the block size, or filled up with 0x36.
QByteArray blockIv(const AgileEncryption::Cipher& cipher, QByteArrayView blockKey) {
    QByteArray iv = oc::hash(cipher.hash, {cipher.salt, blockKey});
    iv = iv.left(cipher.blockSize);
    iv.append(cipher.blockSize - iv.size(), '\x36');
    return iv;
}

oc::SecretBytes blockKeyOf(const AgileEncryption::Cipher& cipher, const oc::SecretBytes& iterated,
                           QByteArrayView blockKey) {
    const oc::SecretBytes full =
        oc::SecretBytes::adopt(oc::hash(cipher.hash, {iterated.view(), blockKey}));
    return full.resized(cipher.keyBits / 8, '\x36');
}

} // namespace agile

Result<AgileEncryption> AgileEncryption::parse(QByteArrayView info) {
    pugi::xml_document document;
    if (info.size() <= 8 ||
        !document.load_buffer(info.data() + 8, size_t(info.size() - 8), pugi::parse_default)) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("EncryptionInfo is not XML"));
    }
    const pugi::xml_node root = document.document_element();
    AgileEncryption encryption;
    const Result<Cipher> data = readCipher(firstChild(root, "keyData"));
    if (!data) {
        return data.error();
    }
    encryption.data_ = data.value();
    const pugi::xml_node integrity = firstChild(root, "dataIntegrity");
    encryption.hasIntegrity_ = bool(integrity);
    encryption.hmacKey_ = base64(integrity, "encryptedHmacKey");
    encryption.hmacValue_ = base64(integrity, "encryptedHmacValue");
    pugi::xml_node key;
    for (pugi::xml_node node = firstChild(firstChild(root, "keyEncryptors"), "keyEncryptor"); node;
         node = nextSibling(node, "keyEncryptor")) {
        if (QByteArray(node.attribute("uri").value()) == PasswordUri) {
            key = firstChild(node, "encryptedKey");
        }
    }
    if (!key) {
        return failure(EncryptionFailure::Unsupported, QStringLiteral("certificate"));
    }
    const Result<Cipher> password = readCipher(key);
    if (!password) {
        return password.error();
    }
    encryption.password_ = password.value();
    encryption.spinCount_ = key.attribute("spinCount").as_int(-1);
    encryption.verifierInput_ = base64(key, "encryptedVerifierHashInput");
    encryption.verifierHash_ = base64(key, "encryptedVerifierHashValue");
    encryption.keyValue_ = base64(key, "encryptedKeyValue");
    if (encryption.spinCount_ < 0 || encryption.spinCount_ > MaxSpinCount) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("spin count"));
    }
    return encryption;
}

AgileEncryption AgileEncryption::sameKind() const {
    AgileEncryption fresh;
    fresh.data_ = data_;
    fresh.password_ = password_;
    fresh.spinCount_ = spinCount_;
    return fresh;
}

// The password opens the verifier (a random input and its hash) and then the
// package's key.
Result<oc::SecretBytes> AgileEncryption::packageKey(const oc::SecretBytes& password) const {
    const oc::SecretBytes iterated =
        oc::iteratedHash(password_.hash, password_.salt, password, spinCount_);
    const QByteArray iv = password_.salt.left(16).leftJustified(16, '\x36');
    const auto decrypt = [&](const std::array<char, 8>& block, const QByteArray& data) {
        const oc::SecretBytes key = agile::blockKeyOf(password_, iterated, view(block));
        return oc::aesCbc(oc::Direction::Decrypt, key.view(), iv, data);
    };
    const std::optional<QByteArray> input = decrypt(VerifierInputBlock, verifierInput_);
    const std::optional<QByteArray> expected = decrypt(VerifierHashBlock, verifierHash_);
    const int size = oc::hashSize(password_.hash);
    if (!input || !expected || input->size() < password_.saltSize || expected->size() < size) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("password verifier"));
    }
    const QByteArray actual = oc::hash(password_.hash, {input->left(password_.saltSize)});
    if (!oc::sameBytes(actual, expected->left(size))) {
        return failure(EncryptionFailure::WrongPassword, QString());
    }
    std::optional<QByteArray> key = decrypt(KeyValueBlock, keyValue_);
    if (!key || key->size() < data_.keyBits / 8) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("key"));
    }
    return oc::SecretBytes::adopt(std::move(*key)).resized(data_.keyBits / 8, '\0');
}

Status AgileEncryption::checkIntegrity(const oc::SecretBytes& key, QByteArrayView stream) const {
    if (!hasIntegrity_) {
        return {};
    }
    const int size = oc::hashSize(data_.hash);
    std::optional<QByteArray> hmacKey = oc::aesCbc(
        oc::Direction::Decrypt, key.view(), agile::blockIv(data_, view(HmacKeyBlock)), hmacKey_);
    const std::optional<QByteArray> expected =
        oc::aesCbc(oc::Direction::Decrypt, key.view(), agile::blockIv(data_, view(HmacValueBlock)),
                   hmacValue_);
    if (!hmacKey || !expected || hmacKey->size() < size || expected->size() < size) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("data integrity"));
    }
    const oc::SecretBytes secret = oc::SecretBytes::adopt(std::move(*hmacKey));
    const QByteArray actual = oc::hmac(data_.hash, oc::slice(secret.view(), 0, size), stream);
    if (!oc::sameBytes(actual, expected->left(size))) {
        return failure(EncryptionFailure::Damaged,
                       QStringLiteral("the data integrity check (HMAC) failed"));
    }
    return {};
}

Result<QByteArray> AgileEncryption::decrypt(const oc::SecretBytes& password,
                                            QByteArrayView encryptedPackage) const {
    const Result<oc::SecretBytes> key = packageKey(password);
    if (!key) {
        return key.error();
    }
    if (Status intact = checkIntegrity(key.value(), encryptedPackage); !intact) {
        return intact.error();
    }
    const QByteArrayView body = oc::slice(encryptedPackage, 8);
    const quint64 size = encryptedPackage.size() >= 8
                             ? qFromLittleEndian<quint64>(encryptedPackage.data())
                             : std::numeric_limits<quint64>::max();
    if (size > quint64(body.size()) || body.size() % data_.blockSize != 0) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("package size"));
    }
    QByteArray package;
    package.reserve(body.size());
    for (qsizetype at = 0, index = 0; at < body.size(); at += SegmentSize, ++index) {
        const QByteArray iv = agile::blockIv(data_, segmentIndex(quint32(index)));
        const std::optional<QByteArray> plain = oc::aesCbc(
            oc::Direction::Decrypt, key.value().view(), iv, oc::slice(body, at, SegmentSize));
        if (!plain) {
            return failure(EncryptionFailure::Damaged, QStringLiteral("package segment"));
        }
        package.append(*plain);
    }
    package.truncate(qsizetype(size));
    return package;
}

Result<std::pair<QByteArray, QByteArray>> AgileEncryption::encrypt(const oc::SecretBytes& password,
                                                                   QByteArrayView package) const {
    AgileEncryption out = sameKind();
    const std::optional<QByteArray> dataSalt = oc::randomBytes(data_.saltSize);
    const std::optional<QByteArray> passwordSalt = oc::randomBytes(password_.saltSize);
    std::optional<QByteArray> secret = oc::randomBytes(data_.keyBits / 8);
    const std::optional<QByteArray> input = oc::randomBytes(password_.saltSize);
    std::optional<QByteArray> hmacSecret = oc::randomBytes(oc::hashSize(data_.hash));
    if (!dataSalt || !passwordSalt || !secret || !input || !hmacSecret) {
        return failure(EncryptionFailure::Damaged, QStringLiteral("no random numbers"));
    }
    const oc::SecretBytes key = oc::SecretBytes::adopt(std::move(*secret));
    const oc::SecretBytes hmacKey = oc::SecretBytes::adopt(std::move(*hmacSecret));
    out.data_.salt = *dataSalt;
    out.password_.salt = *passwordSalt;
    const oc::SecretBytes iterated =
        oc::iteratedHash(password_.hash, out.password_.salt, password, spinCount_);
    const QByteArray iv = out.password_.salt.left(16).leftJustified(16, '\x36');
    const auto seal = [&](const std::array<char, 8>& block, QByteArrayView plain) {
        const oc::SecretBytes blockKey = agile::blockKeyOf(out.password_, iterated, view(block));
        return oc::aesCbc(oc::Direction::Encrypt, blockKey.view(), iv, oc::zeroPadded(plain, 16))
            .value_or(QByteArray());
    };
    out.verifierInput_ = seal(VerifierInputBlock, *input);
    out.verifierHash_ = seal(VerifierHashBlock, oc::hash(password_.hash, {*input}));
    out.keyValue_ = seal(KeyValueBlock, key.view());

    QByteArray stream(8, '\0');
    qToLittleEndian(quint64(package.size()), stream.data());
    for (qsizetype at = 0, index = 0; at < package.size(); at += SegmentSize, ++index) {
        const QByteArray iv = agile::blockIv(out.data_, segmentIndex(quint32(index)));
        stream.append(oc::aesCbc(oc::Direction::Encrypt, key.view(), iv,
                                 oc::zeroPadded(oc::slice(package, at, SegmentSize), 16))
                          .value_or(QByteArray()));
    }
    const auto sealData = [&](const std::array<char, 8>& block, QByteArrayView plain) {
        return oc::aesCbc(oc::Direction::Encrypt, key.view(),
                          agile::blockIv(out.data_, view(block)), oc::zeroPadded(plain, 16))
            .value_or(QByteArray());
    };
    out.hasIntegrity_ = true;
    out.hmacKey_ = sealData(HmacKeyBlock, hmacKey.view());
    out.hmacValue_ = sealData(HmacValueBlock, oc::hmac(data_.hash, hmacKey.view(), stream));
    return std::pair(out.infoStream(), stream);
}

QByteArray AgileEncryption::infoStream() const {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("encryption");
    root.append_attribute("xmlns") = "http://schemas.microsoft.com/office/2006/encryption";
    root.append_attribute("xmlns:p") = PasswordUri.constData();
    root.append_attribute("xmlns:c") =
        "http://schemas.microsoft.com/office/2006/keyEncryptor/certificate";
    writeCipher(root.append_child("keyData"), data_);
    pugi::xml_node integrity = root.append_child("dataIntegrity");
    setBase64(integrity, "encryptedHmacKey", hmacKey_);
    setBase64(integrity, "encryptedHmacValue", hmacValue_);
    pugi::xml_node encryptor = root.append_child("keyEncryptors").append_child("keyEncryptor");
    encryptor.append_attribute("uri") = PasswordUri.constData();
    pugi::xml_node key = encryptor.append_child("p:encryptedKey");
    key.append_attribute("spinCount") = spinCount_;
    writeCipher(key, password_);
    setBase64(key, "encryptedVerifierHashInput", verifierInput_);
    setBase64(key, "encryptedVerifierHashValue", verifierHash_);
    setBase64(key, "encryptedKeyValue", keyValue_);
    StringWriter writer;
    writer.out = QByteArray("\x04\x00\x04\x00\x40\x00\x00\x00", 8) +
                 "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    document.print(writer, "", pugi::format_raw | pugi::format_no_declaration);
    return writer.out;
}

} // namespace tapwise
