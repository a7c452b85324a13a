#include "StoreTestSupport.h"

#include "common/NativePath.h"

#include <QRandomGenerator>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <sys/stat.h>
#include <sys/wait.h>

using namespace tapwise;
using namespace tapwise::test;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

QString quoted(const QString& argument) {
    QString text = argument;
    return "'" + text.replace("'", "'\\''") + "'";
}

// Runs the built tapwise-store with the arguments and standard input.
class Tool : public StoreFolder {
protected:
    QTemporaryDir io;

    Outcome run(const QStringList& arguments, const QString& input = {}) {
        const QString tool = qEnvironmentVariable("TAPWISE_BINARY_DIR") + "/tools/tapwise-store";
        const QDir files(io.path());
        writeBytes(files.filePath("in"), input.toUtf8());
        QString command = quoted(tool);
        for (const QString& argument : arguments)
            command += " " + quoted(argument);
        command += QString(" <%1 >%2 2>%3")
                       .arg(quoted(files.filePath("in")), quoted(files.filePath("out")),
                            quoted(files.filePath("err")));
        const int status = std::system(encodePath(command).constData());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                QString::fromUtf8(fileBytes(files.filePath("out"))),
                QString::fromUtf8(fileBytes(files.filePath("err")))};
    }

    QString folder() const { return dir.path(); }
};

const QString OrderLines = ":Müller & Co\t10\n{TAB}\t5\n*Pause*check\t0\n";

} // namespace

TEST_F(Tool, WritesTheSameBytesAsTheStoreAndReadsThemBack) {
    ASSERT_EQ(run({"init", folder()}).status, 0);
    EXPECT_EQ(run({"add", folder(), "Orders €"}, OrderLines).out, "5\n");
    const Outcome daily =
        run({"add", folder(), "Daily\r\nevery morning"}, "x\t10\r\n\r\n{ENTER}\t5\n");
    ASSERT_EQ(daily.status, 0) << daily.err.toStdString();

    QTemporaryDir direct;
    SequenceStore reference(direct.path());
    ASSERT_TRUE(reference.CreateDataFile().ok());
    reference
        .AppendSequence("Orders €", {{":Müller & Co", "10"}, {"{TAB}", "5"}, {"*Pause*check", "0"}})
        .value();
    reference.AppendSequence("Daily\r\nevery morning", {{"x", "10"}, {"{ENTER}", "5"}}).value();
    EXPECT_EQ(data(), fileBytes(reference.DataFilePath()));

    const qint32 second = daily.out.trimmed().toInt();
    EXPECT_EQ(run({"list", folder()}).out, QString("5\tOrders €\n%1\tDaily\n").arg(second));
    EXPECT_EQ(run({"show", folder(), "orders €"}).out, OrderLines);
    EXPECT_EQ(run({"show", folder(), QString("@%1").arg(second)}).out, "x\t10\n{ENTER}\t5\n");
    const Outcome check = run({"check", folder()});
    EXPECT_EQ(check.status, 0);
    EXPECT_TRUE(check.out.startsWith("The data file is sound: 2 records"));
}

TEST_F(Tool, ExportsImportsPrintsAndDeletes) {
    run({"add", folder(), "Orders"}, OrderLines);
    run({"add", folder(), "Daily"}, "x\t10\n");
    const QString tpw = QDir(io.path()).filePath("orders.tpw");
    ASSERT_EQ(run({"export", folder(), "ORDERS", tpw}).status, 0);
    EXPECT_EQ(run({"import", folder(), tpw}).status, 0);
    EXPECT_TRUE(run({"list", folder()}).out.endsWith("\tOrders\n"));

    const Outcome printed = run({"print", folder(), "Daily"});
    ASSERT_EQ(printed.status, 0);
    EXPECT_TRUE(fileBytes(printed.out.trimmed()).startsWith("Tapwise 'Key Sequence'\r\n"));

    ASSERT_EQ(run({"delete", folder(), "orders"}).status, 0);
    EXPECT_EQ(run({"delete", folder(), "@6"}).status, 1);
    const QStringList left = run({"list", folder()}).out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(left.size(), 2);
    EXPECT_TRUE(left[0].endsWith("\tDaily"));
}

TEST_F(Tool, ReportsFailuresOnStandardErrorWithAnExitStatus) {
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"list"}).status, 2);
    EXPECT_EQ(run({"show", folder()}).status, 2);
    EXPECT_TRUE(run({"frobnicate", folder()}).err.startsWith("Usage: tapwise-store"));

    const Outcome badLine = run({"add", folder(), "x"}, "a\t1\nno tab here\n");
    EXPECT_EQ(badLine.status, 1);
    EXPECT_TRUE(badLine.err.contains("Line 2 of the input"));
    EXPECT_FALSE(store.DataFileExists());

    run({"add", folder(), "first"}, "a\t1\n");
    run({"add", folder(), "second"}, "b\t2\n");
    EXPECT_EQ(run({"show", folder(), "third"}).status, 1);
    writeBytes(dataFile(), data().chopped(1));
    const Outcome list = run({"list", folder()});
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.out, "5\tfirst\n");
    const Outcome check = run({"--lang", "I", "check", folder()});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(check.err.contains("e' danneggiato alla posizione 24")) << check.err.toStdString();
}

TEST_F(Tool, ALostRecordCountIsReportedKeptAndRecovered) {
    for (int n = 0; n < 30; ++n)
        store.AppendSequence(QString("Sequence %1").arg(n), {{"a", "1"}}).value();
    const QByteArray sound = data();
    writeBytes(dataFile(), QByteArray(sound).replace(0, 4, int32le(10)));

    const Outcome check = run({"check", folder()});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(check.err.contains(
        QString(
            "%1 bytes past the used length parse as 20 records; the record count may be damaged")
            .arg(sound.size() - store.CheckDataFile().value().usedLength)))
        << check.err.toStdString();

    // A list compacts the file, but only after keeping what it cuts.
    const Outcome list = run({"list", folder()});
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(list.err.contains("parse as 20 records")) << list.err.toStdString();
    const QStringList kept = QDir(folder()).entryList({"TapwiseData-kept-*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    const Outcome recovered = run({"recover", folder(), QDir(folder()).filePath(kept[0])});
    EXPECT_EQ(recovered.out, "20 records recovered.\n");
    EXPECT_EQ(data(), sound);

    writeBytes(dataFile(), QByteArray(sound).replace(0, 4, int32le(29)));
    EXPECT_EQ(run({"recover", folder()}).out, "1 records recovered.\n");
    EXPECT_EQ(run({"check", folder()}).status, 0);
}

TEST_F(Tool, NamesAreEchoedWithTheirControlCharactersEscaped) {
    run({"add", folder(), "first"}, "a\t1\n");
    const Outcome missing = run({"show", folder(), "\x1b]0;owned\x07\x1b[2J"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.contains(QChar(0x1b)));
    EXPECT_TRUE(missing.err.contains("\"\\x1b]0;owned\\x07\\x1b[2J\""))
        << missing.err.toStdString();
}

TEST_F(Tool, WorksInAFolderWhoseNameIsNotUtf8) {
    const QByteArray latin1 = encodePath(io.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(latin1.constData(), 0700), 0);
    const QString cafe = decodePath(latin1);
    const Outcome init = run({"init", cafe});
    ASSERT_EQ(init.status, 0) << init.err.toStdString();
    EXPECT_TRUE(init.out.contains("caf\\xe9/TapwiseData.dtk")) << init.out.toStdString();
    EXPECT_EQ(run({"add", cafe, "one"}, "a\t1\n").out, "5\n");
    EXPECT_EQ(run({"list", cafe}).out, "5\tone\n");
    struct stat info {};
    EXPECT_EQ(::stat((latin1 + "/TapwiseData.dtk").constData(), &info), 0);
}

// tapwise-store killed at a random moment of a change leaves the data file
// as it was or as the change makes it, whole, and the next change removes
// the temporary copy the killed one may have left.
TEST_F(Tool, AKilledChangeLeavesTheOldOrTheNewFileAndTheNextChangeCleansUp) {
    QString lines;
    for (int n = 0; n < 20000; ++n)
        lines += QString("key%1\t%1\n").arg(n);
    const QString input = QDir(io.path()).filePath("lines");
    writeBytes(input, lines.toUtf8());
    for (int n = 0; n < 4; ++n)
        ASSERT_EQ(run({"add", folder(), QString("big %1").arg(n)}, lines).status, 0);
    const QByteArray old = data();
    ASSERT_EQ(run({"add", folder(), "new"}, lines).status, 0);
    const QByteArray changed = data();
    const QString tool = qEnvironmentVariable("TAPWISE_BINARY_DIR") + "/tools/tapwise-store";

    for (int attempt = 0; attempt < 6; ++attempt) {
        writeBytes(dataFile(), old);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int in = ::open(encodePath(input).constData(), O_RDONLY);
            ::dup2(in, 0);
            const QByteArray program = encodePath(tool);
            const QByteArray where = encodePath(folder());
            ::execl(program.constData(), program.constData(), "add", where.constData(), "new",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(QRandomGenerator::global()->bounded(5000, 400000)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const QByteArray now = data();
        EXPECT_TRUE(now == old || now == changed) << "attempt " << attempt;
        EXPECT_LE(folderEntries().size(), 2) << folderEntries().join(' ').toStdString();
    }
    ASSERT_EQ(run({"delete", folder(), "@5"}).status, 0);
    EXPECT_EQ(folderEntries(), QStringList({"TapwiseData.dtk"}));
    EXPECT_EQ(run({"check", folder()}).status, 0);
}
