// An exchange file (".tpw") as any bytes, imported into a data file. Oracles:
// a file is taken exactly when it is one whole record with as many Keys texts
// as WaitTimes; a refused one changes nothing; a taken one is stored byte for
// byte, reads back, and exports to the same bytes.
#include "FuzzSupport.h"

#include "store/ExchangeFile.h"
#include "store/SequenceRecord.h"
#include "store/SequenceStore.h"
#include "store/StoreTexts.h"

using namespace tapwise;
using namespace tapwise::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString folder = scratchFile(QStringLiteral("exchange"));
    QDir(folder).removeRecursively();
    require(QDir().mkpath(folder), "cannot make the data folder");
    const QString tpw = scratchFile(QStringLiteral("in.tpw"));
    writeFile(tpw, bytes);

    SequenceStore store(folder);
    require(store.AppendSequence("first", {{"a", "1"}}).ok(), "a first record");
    const QByteArray before = readFile(store.DataFilePath());

    Result<qint32> imported = ImportSequence(store, tpw);
    require(imported.ok() == IsSoundRecord(bytes), "taken exactly when sound");
    if (!imported) {
        require(imported.error().code == InvalidExchangeFile, "refused as invalid");
        require(readFile(store.DataFilePath()) == before, "a refused file changes nothing");
        return 0;
    }
    const QByteArray after = readFile(store.DataFilePath());
    require(after.mid(imported.value() - 1, bytes.size()) == bytes, "stored byte for byte");
    Result<StoredSequence> read = store.ReadSequence(imported.value());
    require(read.ok() && read.value().rawRecord == bytes, "reads back");
    const RecordFields fields = DecodeRecord(bytes);
    require(read.value().description == fields.description, "description");
    const QString out = scratchFile(QStringLiteral("out.tpw"));
    require(ExportSequence(store, imported.value(), out).ok(), "exports");
    require(readFile(out) == bytes, "exports the same bytes");
    return 0;
}
