#include "store/ExchangeFile.h"

#include "store/DataFileLayout.h"
#include "store/SequenceStore.h"
#include "store/StoreTexts.h"

#include <QFile>

namespace tapwise {

Status ExportSequence(SequenceStore& store, qint32 position, const QString& file) {
    Result<StoredSequence> sequence = store.ReadSequence(position);
    if (!sequence)
        return sequence.error();
    store.SetCurrentPosition(position);
    return store.files().replace(file, sequence.value().rawRecord);
}

Result<qint32> ImportSequence(SequenceStore& store, const QString& file) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return Error{ReadFailed,
                     StoreText::CannotRead.in(store.lang()).arg(file, input.errorString())};
    // No record can be longer than the data file it has to fit in.
    if (input.size() > MaxDataFileLength)
        return Error{InvalidExchangeFile, StoreText::InvalidTpwFile.in(store.lang())};
    const QByteArray bytes = input.readAll();
    if (input.error() != QFileDevice::NoError)
        return Error{ReadFailed,
                     StoreText::CannotRead.in(store.lang()).arg(file, input.errorString())};
    return store.AppendSequence(bytes);
}

} // namespace tapwise
