#include "store/PrintFile.h"

#include "language/LineSyntax.h"
#include "store/SequenceStore.h"
#include "store/StoreTexts.h"
#include "store/Windows1252.h"

#include <QDir>

namespace tapwise {

namespace {

constexpr qsizetype WaitTimeWidth = 10;

QString fitted(const QString& text, qsizetype width) {
    return text.leftJustified(width, QLatin1Char(' '), true);
}

QString listingLine(const Line& line) {
    QString text = fitted(line.keys, KeysWidth) + QStringLiteral("   ");
    text += isCommandLine(line.keys) ? QString(WaitTimeWidth, QLatin1Char(' '))
                                     : fitted(line.waitTime, WaitTimeWidth);
    if (isNotExecutable(line.keys))
        text += QStringLiteral("      *** NOT EXECUTABLE ***");
    return text;
}

} // namespace

QString PrintText(const QString& description, const Lines& lines) {
    QStringList text = {
        QStringLiteral("Tapwise 'Key Sequence'"),
        QString(21, QLatin1Char('=')),
        QStringLiteral(" "),
        description,
        QStringLiteral(" "),
        fitted(QStringLiteral("Keys"), KeysWidth) + QStringLiteral("   WaitTime(hSec)"),
        fitted(QStringLiteral("----"), KeysWidth) + QStringLiteral("   --------------"),
    };
    for (const Line& line : lines)
        text << listingLine(line);
    const QString crLf = QStringLiteral("\r\n");
    return text.join(crLf) + crLf;
}

Result<QString> WritePrintFile(SequenceStore& store, qint32 position) {
    Result<StoredSequence> sequence = store.ReadSequence(position);
    if (!sequence)
        return sequence.error();
    store.SetCurrentPosition(position);
    // Read texts always have their bytes; the listing adds only ASCII.
    const QString text = PrintText(sequence.value().description, sequence.value().lines);
    const QString path = QDir(store.DataFolder()).filePath(QLatin1String(PrintFileName));
    if (Status written = store.files().replace(path, encodeWindows1252(text)); !written)
        return written.error();
    return path;
}

} // namespace tapwise
