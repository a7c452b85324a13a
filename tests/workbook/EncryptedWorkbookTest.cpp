// Password-protected workbooks: encrypted by a Python encryptor written from
// the published format, decrypted after our saves by msoffcrypto-tool and
// read back by openpyxl; the key steps against values of files that Office
// wrote; the compound file writer against olefile.
#include "WorkbookFixtures.h"

#include "workbook/AgileEncryption.h"
#include "workbook/CompoundFile.h"
#include "workbook/CompoundFileWriter.h"
#include "workbook/OfficeCrypto.h"
#include "workbook/StandardEncryption.h"
#include "workbook/WorkbookTexts.h"
#include "workbook/XlsxWorkbookOpener.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

namespace oc = officecrypto;
using test::WorkbookFixtures;

const QJsonObject GreenFill{{"type", "solid"}, {"color", "indexed:50"}};
const QString Password = QStringLiteral("Città 2024!");

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray stream(const QString& path, const QString& name) {
    const auto entries = CompoundFile::read(WorkbookFixtures::bytes(path));
    if (!entries) {
        return {};
    }
    for (const CompoundFile::Entry& entry : *entries) {
        if (entry.path == name) {
            return entry.data;
        }
    }
    return {};
}

// Values from files that Office wrote, password "Password1234_" (as
// recorded in msoffcrypto-tool's documentation of its own functions).
TEST(OfficeCryptoTest, KeysMatchThoseOfficeMadeForTheSamePassword) {
    const oc::SecretBytes password = oc::SecretBytes::fromPassword(QStringLiteral("Password1234_"));

    AgileEncryption::Cipher cipher; // AES-256, SHA-512, 100,000 rounds
    cipher.salt = hex("4c725d45dc610f939412a04da7910466");
    const oc::SecretBytes iterated =
        oc::iteratedHash(oc::HashKind::Sha512, cipher.salt, password, 100000);
    const oc::SecretBytes keyKey = agile::blockKeyOf(cipher, iterated, hex("146e0be7abacd0d6"));
    const auto key =
        oc::aesCbc(oc::Direction::Decrypt, keyKey.view(), cipher.salt,
                   hex("a16cd5165a7ab9d271113ed386a78cf49692e8e527b0c5fc0055ed080b7cb94b"));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->toHex(), "40206609d9faadf24b076aebf2c435b74292c8b8a7aa81bc679be89711b02ac2");

    const oc::SecretBytes standard =
        StandardEncryption::passwordKey(password, hex("e88266490c5bd1eebd2b4394e3f830ef"), 128);
    EXPECT_EQ(standard.view().toByteArray().toHex(), "40b13a71f90b966e375408f2d181a1aa");
}

// Small and large streams, a storage, and a stream past the 109 allocation
// sectors that the header lists itself; read back by us and by olefile.
TEST(CompoundFileTest, WrittenFilesReadBackHereAndInOlefile) {
    QByteArray large(7'600'000, '\0');
    for (qsizetype i = 0; i < large.size(); ++i) {
        large[i] = char((i * 7919) >> 5);
    }
    const std::vector<CompoundFile::Entry> entries{
        {QStringLiteral("\x06") + QStringLiteral("DataSpaces"), true, {}},
        {QStringLiteral("\x06") + QStringLiteral("DataSpaces/Version"), false, "version"},
        {QStringLiteral("EncryptionInfo"), false, QByteArray(1000, 'i')},
        {QStringLiteral("EncryptedPackage"), false, large},
        {QStringLiteral("Empty"), false, {}},
    };
    const QByteArray file = CompoundFileWriter::write(entries);
    const auto back = CompoundFile::read(file);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), entries.size());
    for (const CompoundFile::Entry& entry : entries) {
        const auto found = std::find_if(back->begin(), back->end(),
                                        [&](const auto& e) { return e.path == entry.path; });
        ASSERT_NE(found, back->end()) << entry.path.toStdString();
        EXPECT_EQ(found->storage, entry.storage);
        EXPECT_TRUE(found->data == entry.data) << entry.path.toStdString();
    }

    WorkbookFixtures fixtures;
    const QString path = fixtures.path(QStringLiteral("streams.bin"));
    writeFile(path, file);
    QProcess olefile;
    olefile.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-c"),
                   QStringLiteral("import olefile, sys, zlib\n"
                                  "o = olefile.OleFileIO(sys.argv[1])\n"
                                  "for s in ('EncryptedPackage', 'EncryptionInfo', "
                                  "'\\x06DataSpaces/Version'):\n"
                                  "    d = o.openstream(s).read()\n"
                                  "    print(s.strip('\\x06'), len(d), zlib.crc32(d))\n"),
                   path});
    ASSERT_TRUE(olefile.waitForFinished(60000));
    const auto crc = [](const QByteArray& data) {
        quint32 value = 0xFFFFFFFF;
        for (char c : data) {
            value ^= quint8(c);
            for (int k = 0; k < 8; ++k) {
                value = (value >> 1) ^ (0xEDB88320 & (0 - (value & 1)));
            }
        }
        return ~value;
    };
    EXPECT_EQ(
        QString::fromUtf8(olefile.readAllStandardOutput()),
        QStringLiteral("EncryptedPackage %1 %2\nEncryptionInfo 1000 %3\nDataSpaces/Version 7 %4\n")
            .arg(large.size())
            .arg(crc(large))
            .arg(crc(QByteArray(1000, 'i')))
            .arg(crc("version")))
        << olefile.readAllStandardError().toStdString();
}

// The salts of an EncryptionInfo stream: the XML's saltValue attributes
// (agile), or the 16 bytes after the header (standard).
QSet<QByteArray> salts(const QByteArray& info) {
    QSet<QByteArray> found;
    if (info.startsWith(QByteArray("\x04\x00\x04\x00", 4))) {
        const QRegularExpression salt(QStringLiteral("saltValue=\"([^\"]*)\""));
        for (const auto& match : salt.globalMatch(QString::fromUtf8(info.mid(8)))) {
            found.insert(match.captured(1).toLatin1());
        }
    } else {
        found.insert(info.mid(12 + qFromLittleEndian<quint32>(info.constData() + 8) + 4, 16));
    }
    return found;
}

class EncryptedWorkbookTest : public ::testing::Test {
protected:
    Result<std::unique_ptr<Workbook>> open(const QString& path, const QString& password,
                                           bool readOnly = false, const QString& lang = "E") {
        return XlsxWorkbookOpener(lang).open(path, password, readOnly);
    }
    std::unique_ptr<Workbook> openOk(const QString& path, const QString& password) {
        auto workbook = open(path, password);
        EXPECT_TRUE(workbook) << workbook.error().message.toStdString();
        return workbook ? std::move(workbook).value() : nullptr;
    }
    Error refusal(const QString& path, const QString& password, const QString& lang = "E") {
        auto workbook = open(path, password, false, lang);
        EXPECT_FALSE(workbook) << path.toStdString();
        return workbook ? Error{} : workbook.error();
    }

    WorkbookFixtures fixtures_;
};

TEST_F(EncryptedWorkbookTest, OpensWithItsPasswordOnlyAndNeverShowsIt) {
    for (const QString& kind : {QStringLiteral("agile"), QStringLiteral("standard")}) {
        SCOPED_TRACE(kind.toStdString());
        const QString path = fixtures_.makeEncrypted("people", kind, Password);
        const QByteArray before = WorkbookFixtures::bytes(path);
        EXPECT_TRUE(XlsxWorkbookOpener("E").needsPassword(path));
        auto workbook = openOk(path, Password);
        ASSERT_TRUE(workbook);
        EXPECT_EQ(workbook->cellText(2, 1).valueOr(QString()), "Ann");
        EXPECT_EQ(workbook->cellText(6, 2).valueOr(QString()), "Pisa");

        for (const QString& wrong : {QStringLiteral("città 2024!"), QStringLiteral("Città 2024")}) {
            const Error error = refusal(path, wrong);
            EXPECT_EQ(error.code, WorkbookErrorCode);
            EXPECT_TRUE(error.message.contains("is not correct")) << error.message.toStdString();
            EXPECT_FALSE(error.message.contains(wrong, Qt::CaseInsensitive));
        }
        const Error missing = refusal(path, QString());
        EXPECT_TRUE(missing.message.contains("no password was given"))
            << missing.message.toStdString();
        EXPECT_TRUE(refusal(path, "x", "I").message.contains("non è corretta"));
        EXPECT_EQ(WorkbookFixtures::bytes(path), before);
    }
}

// The saved file is encrypted again with the same password and kind, reads
// back in msoffcrypto-tool and openpyxl, and a second save builds on the
// first one's package; a copy beside it is encrypted too.
TEST_F(EncryptedWorkbookTest, SavesEncryptedWithTheSamePasswordAndKind) {
    for (const QString& kind : {QStringLiteral("agile"), QStringLiteral("standard")}) {
        SCOPED_TRACE(kind.toStdString());
        const QString path = fixtures_.makeEncrypted("people", kind, Password, 1000);
        const QByteArray info = stream(path, "EncryptionInfo");
        const QByteArray version = info.left(4);
        auto workbook = openOk(path, Password);
        ASSERT_TRUE(workbook);
        ASSERT_TRUE(workbook->setRowColorIndex(2, GreenColorIndex));
        ASSERT_TRUE(workbook->setCellText(3, 2, QStringLiteral("Genova")));
        const Status saved = workbook->save();
        ASSERT_TRUE(saved) << saved.error().message.toStdString();
        ASSERT_TRUE(workbook->setRowColorIndex(3, GreenColorIndex));
        ASSERT_TRUE(workbook->save());
        const QString copy = fixtures_.path(kind + QStringLiteral("-copy.xlsx"));
        ASSERT_TRUE(workbook->saveCopy(copy));
        workbook->close();

        for (const QString& file : {path, copy}) {
            EXPECT_TRUE(CompoundFile::hasSignature(WorkbookFixtures::bytes(file)));
            EXPECT_EQ(stream(file, "EncryptionInfo").left(4), version);
            // New salts (and so new IVs) on every save.
            const QSet<QByteArray> saved = salts(stream(file, "EncryptionInfo"));
            EXPECT_EQ(saved.size(), kind == "agile" ? 2 : 1);
            EXPECT_FALSE(saved.intersects(salts(info)));
            const QJsonObject view =
                WorkbookFixtures::openpyxlView(WorkbookFixtures::decrypted(file, Password));
            EXPECT_EQ(view["cells"].toObject()["B3"].toString(), "Genova");
            EXPECT_EQ(view["cells"].toObject()["A6"].toString(), "Dee");
            EXPECT_EQ(view["fills"].toObject()["A2"].toObject(), GreenFill);
            EXPECT_EQ(view["fills"].toObject()["D3"].toObject(), GreenFill);
        }
        auto again = openOk(path, Password);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->rowColorIndex(3).valueOr(0), GreenColorIndex);
        EXPECT_TRUE(refusal(path, "wrong").message.contains("is not correct"));
    }
}

// Another program opens what we saved: LibreOffice with the password, and
// not without it.
TEST_F(EncryptedWorkbookTest, SavedWorkbooksOpenInLibreOffice) {
    const QString uno = QStringLiteral("/usr/lib/python3/dist-packages/uno.py");
    if (!QFile::exists(QStringLiteral("/usr/bin/soffice")) || !QFile::exists(uno)) {
        GTEST_SKIP() << "LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed";
    }
    const auto libreOffice = [](const QString& path, const QString& password) {
        QProcess process;
        process.start(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(TAPWISE_WORKBOOK_TEST_DIR "/libreoffice.py"), path, password});
        EXPECT_TRUE(process.waitForFinished(300000));
        return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    };
    for (const QString& kind : {QStringLiteral("agile"), QStringLiteral("standard")}) {
        SCOPED_TRACE(kind.toStdString());
        const QString path = fixtures_.makeEncrypted("people", kind, Password, 1000);
        auto workbook = openOk(path, Password);
        ASSERT_TRUE(workbook);
        ASSERT_TRUE(workbook->setRowColorIndex(2, GreenColorIndex));
        ASSERT_TRUE(workbook->setCellText(3, 2, QStringLiteral("Genova")));
        ASSERT_TRUE(workbook->save());
        workbook->close();

        const QJsonObject view = libreOffice(path, Password);
        EXPECT_EQ(view["cells"].toObject()["B3"].toString(), "Genova");
        EXPECT_EQ(view["colors"].toObject()["A2"].toString(), "99cc00");
        EXPECT_TRUE(libreOffice(path, QStringLiteral("wrong")).contains("error"));
    }
}

QByteArray withStream(const QString& path, const QString& name, const QByteArray& data) {
    auto entries = CompoundFile::read(WorkbookFixtures::bytes(path))
                       .value_or(std::vector<CompoundFile::Entry>{});
    bool replaced = false;
    for (CompoundFile::Entry& entry : entries) {
        if (entry.path == name) {
            entry.data = data;
            replaced = true;
        }
    }
    if (!replaced) {
        entries.push_back({name, false, data});
    }
    return CompoundFileWriter::write(entries);
}

// A changed byte of the package, and the kinds we do not open: each refused
// with its own reason and nothing written.
TEST_F(EncryptedWorkbookTest, RefusesDamageAndKindsItCannotOpen) {
    const QString agile = fixtures_.makeEncrypted("people", "agile", Password, 1000);
    QByteArray package = stream(agile, "EncryptedPackage");
    package[package.size() - 1] = char(package.back() ^ 1);
    const QString tampered = fixtures_.path("tampered.xlsx");
    writeFile(tampered, withStream(agile, "EncryptedPackage", package));

    const QString standard = fixtures_.makeEncrypted("people", "standard", Password);
    QByteArray rc4 = stream(standard, "EncryptionInfo");
    qToLittleEndian(quint32(0x04), rc4.data() + 4); // CryptoAPI RC4, no AES
    const QString rc4Path = fixtures_.path("rc4.xlsx");
    writeFile(rc4Path, withStream(standard, "EncryptionInfo", rc4));

    QByteArray extensible = stream(standard, "EncryptionInfo");
    qToLittleEndian(quint16(3), extensible.data() + 2);
    const QString extensiblePath = fixtures_.path("extensible.xlsx");
    writeFile(extensiblePath, withStream(standard, "EncryptionInfo", extensible));

    const QString truncated = fixtures_.path("truncated.xlsx");
    writeFile(truncated, WorkbookFixtures::bytes(agile).left(3000));

    const QString irm = fixtures_.path("irm.xlsx");
    writeFile(irm, withStream(agile, QStringLiteral("\x09") + QStringLiteral("DRMContent"), "x"));

    const std::vector<std::pair<QString, QString>> cases{
        {tampered, "data integrity check (HMAC) failed"},
        {rc4Path, "cannot be opened (RC4)"},
        {extensiblePath, "cannot be opened (extensible encryption)"},
        {irm, "rights management (IRM)"},
        {truncated, "cannot be opened"},
    };
    // Asking for a password helps only where one opens the file: the
    // damaged package is found out after it.
    XlsxWorkbookOpener opener("E");
    EXPECT_TRUE(opener.needsPassword(tampered));
    for (const QString& path : {rc4Path, extensiblePath, irm, truncated, fixtures_.make("people"),
                                fixtures_.path("missing.xlsx")}) {
        EXPECT_FALSE(opener.needsPassword(path)) << path.toStdString();
    }
    for (const auto& [path, reason] : cases) {
        const QByteArray before = WorkbookFixtures::bytes(path);
        const Error error = refusal(path, Password);
        EXPECT_EQ(error.code, WorkbookErrorCode);
        EXPECT_TRUE(error.message.contains(reason)) << error.message.toStdString();
        EXPECT_EQ(WorkbookFixtures::bytes(path), before);
    }
}

} // namespace
} // namespace tapwise
