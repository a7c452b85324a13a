#pragma once

#include "store/SequenceRecord.h"
#include "store/SequenceStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tapwise::test {

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray int32le(qint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((quint32(value) >> (8 * i)) & 0xFF);
    return bytes;
}

// A temporary data folder with a store on it.
class StoreFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SequenceStore store{dir.path()};

    QString dataFile() const { return store.DataFilePath(); }
    QByteArray data() const { return fileBytes(dataFile()); }
    QStringList folderEntries() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    }

    // Appends a sequence whose record is exactly length bytes long.
    qint32 appendOfLength(qint32 length, char fill = 'd') {
        const Lines one = {{QStringLiteral("a"), QStringLiteral("1")}};
        Result<qint32> added = store.AppendSequence(QString(length - 14, QLatin1Char(fill)), one);
        EXPECT_TRUE(added.ok());
        return added.valueOr(0);
    }
};

} // namespace tapwise::test
