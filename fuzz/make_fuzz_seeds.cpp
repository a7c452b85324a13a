// Writes the seed corpora of the store and grammar fuzz targets, made by the
// store's own code: make_fuzz_seeds OUTPUT_FOLDER.
#include "store/SequenceStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace tapwise;

namespace {

QDir output;

bool put(const QString& corpus, const QString& name, const QByteArray& bytes) {
    if (!output.mkpath(corpus))
        return false;
    QFile file(output.filePath(corpus + u'/' + name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const Lines Sample = {{":John Smith", "10"}, {"{TAB}", "5"},           {"Ctrl+c", "20"},
                      {"*Pause*check", "0"}, {"[PosMouse(1;2)]", "0"}, {"#**remark", "0"}};

bool storeSeeds() {
    QTemporaryDir dir;
    SequenceStore store(dir.path());
    bool ok = store.CreateDataFile().ok() && put("data_file", "new", bytesOf(store.DataFilePath()));
    ok = ok && put("data_file", "empty", {});
    for (const QString& name : {"Daily\r\nevery morning", "Orders €", "x"})
        ok = ok && store.AppendSequence(name, Sample).ok();
    const QByteArray three = bytesOf(store.DataFilePath());
    ok = ok && put("data_file", "three", three) && put("data_file", "cut", three.chopped(5));
    ok = ok && put("data_file", "count-lowered",
                   QByteArray(three).replace(0, 4, QByteArray("\1\0\0\0", 4)));
    Result<StoredSequence> first = store.ReadSequence(5);
    ok = ok && first.ok() && put("exchange_file", "record", first.value().rawRecord);
    ok = ok && store.DeleteSequence(5).ok() &&
         put("data_file", "deleted", bytesOf(store.DataFilePath()));
    ok = ok && put("exchange_file", "empty-record", QByteArray(12, '\0'));
    return ok;
}

bool grammarSeeds() {
    const char* lines[] = {"x",
                           "{ENTER}",
                           "Ctrl+c",
                           "Shift+Ctrl+Alt+{DELETE}",
                           ":John Smith",
                           "[PosMouse(120;455)]",
                           "[MoveWheel(-3)]",
                           "*Pause*check the total",
                           "*Chk(10;20;5;Total)*",
                           "*If(Counter;<;5;4)*",
                           "*If(True;;;4)*",
                           "*Label(3)*",
                           "ExcelSheetCol#C",
                           "*PutClipBtoCol#AB*",
                           "#**remark",
                           "**",
                           "#[LeftClick]",
                           "{LEFT 5}",
                           "+{TAB}",
                           "^%{F16}",
                           "{+}{^}{{}",
                           "a~b\r\nc\td"};
    bool ok = true;
    int n = 0;
    for (const char* line : lines)
        ok = ok && put("line_grammar", QString::number(n++), QByteArray(1, '\0') + line);
    const QString wide = QStringLiteral("*If(WinTit;Cn;Fattura n° 5 – €;12)*");
    ok = ok && put("line_grammar", "utf16",
                   QByteArray(1, '\1') +
                       QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2));
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUTPUT_FOLDER\n");
        return 2;
    }
    output = QDir(QString::fromLocal8Bit(argv[1]));
    if (!output.mkpath(".") || !storeSeeds() || !grammarSeeds()) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write the seeds\n");
        return 1;
    }
    return 0;
}
