#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <string>

#include <ostream>

// Texts in test failures as text, not as arrays of UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tapwise::test {

// Workbooks made at test time in a temporary folder, and ways to look at
// them from outside the workbook layer: openpyxl, a process of their own,
// the raw zip entries.
class WorkbookFixtures {
public:
    WorkbookFixtures();

    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // A workbook of fixtures.py, as folder/CASE.xlsx.
    QString make(const QString& fixtureCase) const;
    // A workbook of fixtures.py encrypted by encrypt.py ("agile" or
    // "standard"), as folder/CASE-KIND.xlsx.
    QString makeEncrypted(const QString& fixtureCase, const QString& kind, const QString& password,
                          int spinCount = 100000) const;
    // msoffcrypto-tool's decryption of an encrypted workbook (decrypt.py),
    // beside it as NAME.plain.xlsx.
    static QString decrypted(const QString& path, const QString& password);

    // openpyxl's view of a workbook (readback.py).
    static QJsonObject openpyxlView(const QString& path);
    // The layer's view from a new process (tapwise_workbook_probe).
    static QJsonObject probe(const QString& path, int rows, int columns);
    // Cell texts of one row of a probe's view.
    static QStringList probeRow(const QJsonObject& view, int row);
    static int probeColor(const QJsonObject& view, int row);

    static QByteArray bytes(const QString& path);
    // Every entry of a zip file as stored (compressed), by name.
    static std::map<std::string, QByteArray> storedEntries(const QString& path);
    // One entry, unpacked.
    static QByteArray entry(const QString& path, const std::string& name);

private:
    static QByteArray run(const QString& program, const QStringList& arguments);

    QTemporaryDir dir_;
};

} // namespace tapwise::test
