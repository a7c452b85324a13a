#include "tapwise-store/StoreCommands.h"

#include "store/ExchangeFile.h"
#include "store/PrintFile.h"
#include "store/SequenceStore.h"
#include "store/StoreTexts.h"
#include "tapwise-store/ToolTexts.h"

#include <QRegularExpression>

namespace tapwise {

namespace {

// Control characters (a name may hold a line feed or a tab) are shown
// escaped, so that every record stays on one line of the listing.
QString printable(const QString& text) {
    QString shown;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            shown += QStringLiteral("\\r");
        else if (c == QLatin1Char('\n'))
            shown += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            shown += QStringLiteral("\\t");
        else if (c == QLatin1Char('\\'))
            shown += QStringLiteral("\\\\");
        else if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        // A byte of a file name that is not UTF-8 (see decodePath).
        else if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)
            shown += QStringLiteral("\\x%1").arg(c.unicode() - 0xDC00, 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

// Whether a command takes that many arguments after the folder.
bool takes(const QString& command, qsizetype count) {
    static const QStringList none = {"init", "list", "check"};
    if (command == QLatin1String("recover"))
        return count <= 1;
    if (none.contains(command))
        return count == 0;
    return count == (command == QLatin1String("export") ? 2 : 1);
}

} // namespace

StoreCommands::StoreCommands(QTextStream& in, QTextStream& out, QTextStream& err)
    : in_(in), out_(out), err_(err) {}

int StoreCommands::run(QStringList arguments) {
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("--lang")) {
        lang_ = arguments[1];
        arguments.remove(0, 2);
    }
    static const QStringList commands = {"init",   "list",   "show",  "add",   "delete",
                                         "export", "import", "print", "check", "recover"};
    if (arguments.size() < 2 || !commands.contains(arguments[0]) ||
        !takes(arguments[0], arguments.size() - 2))
        return usage();
    SequenceStore store(arguments[1], lang_);
    const int status = dispatch(arguments[0], store, arguments.mid(2));
    // Records that a change had to keep in a side file are never kept quietly.
    if (store.LastKept())
        err_ << "tapwise-store: " << printable(store.KeptMessage(*store.LastKept())) << Qt::endl;
    return status;
}

int StoreCommands::dispatch(const QString& command, SequenceStore& store, const QStringList& rest) {
    if (command == QLatin1String("init"))
        return init(store);
    if (command == QLatin1String("list"))
        return list(store);
    if (command == QLatin1String("check"))
        return check(store);
    if (command == QLatin1String("show"))
        return show(store, rest[0]);
    if (command == QLatin1String("add"))
        return add(store, rest[0]);
    if (command == QLatin1String("delete"))
        return remove(store, rest[0]);
    if (command == QLatin1String("export"))
        return exportTo(store, rest[0], rest[1]);
    if (command == QLatin1String("import"))
        return import(store, rest[0]);
    if (command == QLatin1String("recover"))
        return recover(store, rest.value(0));
    return print(store, rest[0]);
}

int StoreCommands::init(SequenceStore& store) {
    if (Status created = store.CreateDataFile(); !created)
        return fail(created.error());
    out_ << StoreText::DataFileCreated.in(lang_).arg(printable(store.DataFilePath())) << Qt::endl;
    return Done;
}

int StoreCommands::list(SequenceStore& store) {
    Result<MainList> listed = store.ScanSequences();
    if (!listed)
        return fail(listed.error());
    const MainList& list = listed.value();
    for (qsizetype row = 0; row < list.size(); ++row)
        out_ << list.position(row) << '\t' << printable(list.name(row)) << '\n';
    out_.flush();
    return list.damage() ? fail(*list.damage()) : Done;
}

int StoreCommands::show(SequenceStore& store, const QString& sequence) {
    Result<qint32> position = positionOf(store, sequence);
    if (!position)
        return fail(position.error());
    Result<StoredSequence> read = store.ReadSequence(position.value());
    if (!read)
        return fail(read.error());
    for (const Line& line : read.value().lines)
        out_ << line.keys << '\t' << line.waitTime << '\n';
    out_.flush();
    return Done;
}

int StoreCommands::add(SequenceStore& store, const QString& description) {
    Lines lines;
    for (int number = 1; !in_.atEnd(); ++number) {
        QString text = in_.readLine();
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        if (text.isEmpty())
            continue;
        const qsizetype tab = text.lastIndexOf(QLatin1Char('\t'));
        if (tab < 0)
            return fail({StoreCommands::Failed, ToolText::BadInputLine.in(lang_).arg(number)});
        lines.append({text.left(tab), text.mid(tab + 1)});
    }
    Result<qint32> added = store.AppendSequence(description, lines);
    if (!added)
        return fail(added.error());
    out_ << added.value() << Qt::endl;
    return Done;
}

int StoreCommands::remove(SequenceStore& store, const QString& sequence) {
    Result<qint32> position = positionOf(store, sequence);
    if (!position)
        return fail(position.error());
    if (Status deleted = store.DeleteSequence(position.value()); !deleted)
        return fail(deleted.error());
    // Loading the list afterwards, as the main window does, compacts the file.
    Result<MainList> listed = store.ScanSequences();
    return listed ? Done : fail(listed.error());
}

int StoreCommands::exportTo(SequenceStore& store, const QString& sequence, const QString& file) {
    Result<qint32> position = positionOf(store, sequence);
    if (!position)
        return fail(position.error());
    Status exported = ExportSequence(store, position.value(), file);
    return exported ? Done : fail(exported.error());
}

int StoreCommands::import(SequenceStore& store, const QString& file) {
    Result<qint32> imported = ImportSequence(store, file);
    if (!imported)
        return fail(imported.error());
    Result<MainList> listed = store.ScanSequences();
    if (!listed)
        return fail(listed.error());
    out_ << imported.value() << Qt::endl;
    return Done;
}

int StoreCommands::print(SequenceStore& store, const QString& sequence) {
    Result<qint32> position = positionOf(store, sequence);
    if (!position)
        return fail(position.error());
    Result<QString> printed = WritePrintFile(store, position.value());
    if (!printed)
        return fail(printed.error());
    out_ << printable(printed.value()) << Qt::endl;
    return Done;
}

int StoreCommands::check(SequenceStore& store) {
    Result<DataFileReport> checked = store.CheckDataFile();
    if (!checked)
        return fail(checked.error());
    const DataFileReport& report = checked.value();
    if (!report.exists) {
        out_ << ToolText::NoDataFile.in(lang_) << Qt::endl;
        return Done;
    }
    // The count may have lost records that still lie in the file.
    if (report.pastEnd.count > 0)
        return fail({Failed, ToolText::RecordsPastEnd.in(lang_)
                                 .arg(report.pastEnd.length)
                                 .arg(report.pastEnd.count)
                                 .arg(store.DataFolder())});
    out_ << ToolText::Sound.in(lang_)
                .arg(report.recordCount)
                .arg(report.usedLength)
                .arg(report.fileLength)
         << Qt::endl;
    return Done;
}

int StoreCommands::recover(SequenceStore& store, const QString& file) {
    Result<qint32> recovered =
        file.isEmpty() ? store.RecoverRecordsPastEnd() : store.AppendRecordsOf(file);
    if (!recovered)
        return fail(recovered.error());
    out_ << ToolText::Recovered.in(lang_).arg(recovered.value()) << Qt::endl;
    return Done;
}

Result<qint32> StoreCommands::positionOf(SequenceStore& store, const QString& sequence) {
    static const QRegularExpression atPosition(QStringLiteral("^@([0-9]+)$"));
    if (const QRegularExpressionMatch match = atPosition.match(sequence); match.hasMatch())
        return match.captured(1).toInt();
    Result<std::optional<qint32>> found = store.ScanSequences(sequence);
    if (!found)
        return found.error();
    if (!found.value())
        return Error{Failed, ToolText::NotFound.in(lang_).arg(sequence, store.DataFilePath())};
    return *found.value();
}

int StoreCommands::fail(const Error& error) {
    // Messages quote names and paths as given: their control characters
    // (terminal escapes) are shown escaped, never sent to the terminal.
    err_ << "tapwise-store: " << printable(error.message) << Qt::endl;
    return Failed;
}

int StoreCommands::usage() {
    err_ << ToolText::Usage.in(lang_);
    err_.flush();
    return WrongUsage;
}

} // namespace tapwise
