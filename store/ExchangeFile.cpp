#include "store/ExchangeFile.h"

#include "store/DataFileLayout.h"
#include "store/SequenceStore.h"
#include "store/StoreTexts.h"

namespace tapwise {

Status ExportSequence(SequenceStore& store, qint32 position, const QString& file) {
    Result<StoredSequence> sequence = store.ReadSequence(position);
    if (!sequence)
        return sequence.error();
    store.SetCurrentPosition(position);
    return store.files().replace(file, sequence.value().rawRecord);
}

Result<qint32> ImportSequence(SequenceStore& store, const QString& file) {
    // Reads at most the length the file had when opened, and only a regular
    // file: a link to a device or a FIFO would never end.
    Result<QByteArray> bytes = store.files().readLocked(file, FileAccess::Missing::IsAnError);
    // No record can be longer than the data file it has to fit in.
    if (!bytes && bytes.error().code == DataFileTooLarge)
        return Error{InvalidExchangeFile, StoreText::InvalidTpwFile.in(store.lang())};
    if (!bytes)
        return bytes.error();
    return store.AppendSequence(bytes.value());
}

} // namespace tapwise
