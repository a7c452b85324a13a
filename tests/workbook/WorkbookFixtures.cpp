#include "WorkbookFixtures.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>
#include <zip.h>

namespace tapwise::test {

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

QString script(const char* name) {
    return QStringLiteral(TAPWISE_WORKBOOK_TEST_DIR "/") + QLatin1String(name);
}

QByteArray readEntry(zip_t* archive, zip_uint64_t index, zip_flags_t flags) {
    zip_stat_t stat;
    zip_stat_index(archive, index, 0, &stat);
    const zip_uint64_t size = (flags & ZIP_FL_COMPRESSED) ? stat.comp_size : stat.size;
    QByteArray data(qsizetype(size), '\0');
    zip_file_t* file = zip_fopen_index(archive, index, flags);
    if (file) {
        zip_fread(file, data.data(), size);
        zip_fclose(file);
    }
    return data;
}

} // namespace

WorkbookFixtures::WorkbookFixtures() {
    EXPECT_TRUE(dir_.isValid());
}

QByteArray WorkbookFixtures::run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    EXPECT_TRUE(finished && process.exitCode() == 0)
        << program.toStdString() << " " << arguments.join(u' ').toStdString() << ": "
        << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

QString WorkbookFixtures::make(const QString& fixtureCase) const {
    const QString file = path(fixtureCase + QStringLiteral(".xlsx"));
    run(Python, {script("fixtures.py"), fixtureCase, file});
    return file;
}

QString WorkbookFixtures::makeEncrypted(const QString& fixtureCase, const QString& kind,
                                        const QString& password, int spinCount) const {
    const QString plain = make(fixtureCase);
    const QString file = path(fixtureCase + u'-' + kind + QStringLiteral(".xlsx"));
    run(Python, {script("encrypt.py"), kind, plain, file, password, QString::number(spinCount)});
    return file;
}

QString WorkbookFixtures::decrypted(const QString& path, const QString& password) {
    const QString plain = path + QStringLiteral(".plain.xlsx");
    run(Python, {script("decrypt.py"), path, plain, password});
    return plain;
}

QJsonObject WorkbookFixtures::openpyxlView(const QString& path) {
    return QJsonDocument::fromJson(run(Python, {script("readback.py"), path})).object();
}

QJsonObject WorkbookFixtures::probe(const QString& path, int rows, int columns) {
    return QJsonDocument::fromJson(run(QStringLiteral(TAPWISE_WORKBOOK_PROBE),
                                       {path, QString::number(rows), QString::number(columns)}))
        .object();
}

QStringList WorkbookFixtures::probeRow(const QJsonObject& view, int row) {
    QStringList texts;
    for (const QJsonValue& cell : view["rows"].toArray()[row - 1].toObject()["cells"].toArray()) {
        texts << cell.toString();
    }
    return texts;
}

int WorkbookFixtures::probeColor(const QJsonObject& view, int row) {
    return view["rows"].toArray()[row - 1].toObject()["color"].toInt();
}

QByteArray WorkbookFixtures::bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::map<std::string, QByteArray> WorkbookFixtures::storedEntries(const QString& path) {
    std::map<std::string, QByteArray> entries;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
    EXPECT_NE(archive, nullptr) << path.toStdString();
    if (!archive) {
        return entries;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        entries[zip_get_name(archive, zip_uint64_t(i), 0)] =
            readEntry(archive, zip_uint64_t(i), ZIP_FL_COMPRESSED);
    }
    zip_discard(archive);
    return entries;
}

QByteArray WorkbookFixtures::entry(const QString& path, const std::string& name) {
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
    if (!archive) {
        return {};
    }
    const zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
    QByteArray data = index >= 0 ? readEntry(archive, zip_uint64_t(index), 0) : QByteArray();
    zip_discard(archive);
    return data;
}

} // namespace tapwise::test
