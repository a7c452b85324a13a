#include "workbook/PackageEncryption.h"

#include "workbook/CompoundFileWriter.h"
#include "workbook/WorkbookTexts.h"

#include <QtEndian>

#include <algorithm>

namespace tapwise {

namespace oc = officecrypto;

namespace {

const QString InfoStream = QStringLiteral("EncryptionInfo");
const QString PackageStream = QStringLiteral("EncryptedPackage");

using Cipher = std::variant<AgileEncryption, StandardEncryption>;

const QByteArray* streamNamed(const std::vector<CompoundFile::Entry>& entries,
                              const QString& path) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const auto& entry) {
        return !entry.storage && entry.path == path;
    });
    return found != entries.end() ? &found->data : nullptr;
}

// Rights management (IRM) keeps its package under a data space of its own.
bool isRightsManaged(const std::vector<CompoundFile::Entry>& entries) {
    return std::any_of(entries.begin(), entries.end(), [](const auto& entry) {
        return entry.path.contains(QStringLiteral("DRM"), Qt::CaseInsensitive);
    });
}

// The version at the start of the EncryptionInfo stream names the kind:
// 4.4 agile, 2.2 to 4.2 standard (3.3 and 4.3 are the extensible kind).
Result<Cipher> parseInfo(const QByteArray& info) {
    const quint16 major = info.size() >= 4 ? qFromLittleEndian<quint16>(info.constData()) : 0;
    const quint16 minor = info.size() >= 4 ? qFromLittleEndian<quint16>(info.constData() + 2) : 0;
    if (major == 4 && minor == 4) {
        Result<AgileEncryption> agile = AgileEncryption::parse(info);
        return agile ? Result<Cipher>(Cipher(std::move(agile).value())) : agile.error();
    }
    if (minor == 2 && major >= 2 && major <= 4) {
        Result<StandardEncryption> standard = StandardEncryption::parse(info);
        return standard ? Result<Cipher>(Cipher(std::move(standard).value())) : standard.error();
    }
    if (minor == 3 && (major == 3 || major == 4)) {
        return Error{int(EncryptionFailure::Unsupported), QStringLiteral("extensible encryption")};
    }
    return Error{int(EncryptionFailure::Unsupported),
                 QStringLiteral("version %1.%2").arg(major).arg(minor)};
}

Error userError(const Error& error, const QString& fileName, const QString& lang, bool empty) {
    switch (EncryptionFailure(error.code)) {
    case EncryptionFailure::WrongPassword:
        return workbookError(empty ? WorkbookMessage::PasswordMissing
                                   : WorkbookMessage::PasswordIncorrect,
                             lang, {fileName});
    case EncryptionFailure::Unsupported:
        return workbookError(WorkbookMessage::EncryptionUnsupported, lang,
                             {fileName, error.message});
    case EncryptionFailure::Damaged:
        break;
    }
    return workbookError(
        WorkbookMessage::Damaged, lang,
        {fileName, workbookText(WorkbookMessage::EncryptionDamaged, lang, {error.message})});
}

} // namespace

PackageEncryption::PackageEncryption(Key, Cipher cipher, std::vector<CompoundFile::Entry> entries,
                                     oc::SecretBytes password, QString fileName, QString lang)
    : cipher_(std::move(cipher)), entries_(std::move(entries)), password_(std::move(password)),
      fileName_(std::move(fileName)), lang_(std::move(lang)) {}

Result<PackageEncryption::Opened> PackageEncryption::open(const QByteArray& file,
                                                          const QString& password,
                                                          const QString& fileName,
                                                          const QString& lang) {
    std::optional<std::vector<CompoundFile::Entry>> entries = CompoundFile::read(file);
    if (entries && isRightsManaged(*entries)) {
        return workbookError(WorkbookMessage::RightsManaged, lang, {fileName});
    }
    const QByteArray* info = entries ? streamNamed(*entries, InfoStream) : nullptr;
    const QByteArray* encrypted = entries ? streamNamed(*entries, PackageStream) : nullptr;
    if (!info || !encrypted) {
        return userError(Error{int(EncryptionFailure::Damaged), QStringLiteral("compound file")},
                         fileName, lang, false);
    }
    Result<Cipher> cipher = parseInfo(*info);
    if (!cipher) {
        return userError(cipher.error(), fileName, lang, false);
    }
    oc::SecretBytes secret = oc::SecretBytes::fromPassword(password);
    Result<QByteArray> package = std::visit(
        [&](const auto& kind) { return kind.decrypt(secret, *encrypted); }, cipher.value());
    if (!package) {
        return userError(package.error(), fileName, lang, password.isEmpty());
    }
    if (auto* agile = std::get_if<AgileEncryption>(&cipher.value())) {
        cipher.value() = agile->sameKind(); // the old keys are not needed again
    }
    for (CompoundFile::Entry& entry : *entries) {
        if (!entry.storage && (entry.path == InfoStream || entry.path == PackageStream)) {
            entry.data.clear(); // written anew by every save
        }
    }
    Opened opened;
    opened.package = std::move(package).value();
    opened.encryption = std::make_unique<PackageEncryption>(
        Key{}, std::move(cipher).value(), std::move(*entries), std::move(secret), fileName, lang);
    return opened;
}

bool PackageEncryption::needsPassword(const QByteArray& file) {
    if (!CompoundFile::hasSignature(file)) {
        return false;
    }
    const std::optional<std::vector<CompoundFile::Entry>> entries = CompoundFile::read(file);
    if (!entries || isRightsManaged(*entries)) {
        return false;
    }
    const QByteArray* info = streamNamed(*entries, InfoStream);
    const QByteArray* encrypted = streamNamed(*entries, PackageStream);
    if (!info || !encrypted) {
        return false;
    }
    const Result<Cipher> cipher = parseInfo(*info);
    if (!cipher) {
        return false;
    }
    const oc::SecretBytes none = oc::SecretBytes::fromPassword(QString());
    const Result<QByteArray> package = std::visit(
        [&](const auto& kind) { return kind.decrypt(none, *encrypted); }, cipher.value());
    return !package && EncryptionFailure(package.error().code) == EncryptionFailure::WrongPassword;
}

Result<QByteArray> PackageEncryption::seal(const QByteArray& package) const {
    const Result<std::pair<QByteArray, QByteArray>> streams =
        std::visit([&](const auto& kind) { return kind.encrypt(password_, package); }, cipher_);
    if (!streams) {
        return workbookError(WorkbookMessage::SaveFailed, lang_,
                             {fileName_, workbookText(WorkbookMessage::EncryptionFailed, lang_,
                                                      {streams.error().message})});
    }
    std::vector<CompoundFile::Entry> entries = entries_;
    for (CompoundFile::Entry& entry : entries) {
        if (!entry.storage && entry.path == InfoStream) {
            entry.data = streams.value().first;
        } else if (!entry.storage && entry.path == PackageStream) {
            entry.data = streams.value().second;
        }
    }
    return CompoundFileWriter::write(entries);
}

PackageEncryption::Kind PackageEncryption::kind() const {
    return std::holds_alternative<AgileEncryption>(cipher_) ? Kind::Agile : Kind::Standard;
}

} // namespace tapwise
