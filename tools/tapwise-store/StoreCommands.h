#pragma once

#include "common/Result.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

namespace tapwise {

class SequenceStore;

// The commands of tapwise-store: each parses its arguments, calls the store
// and writes what it gives back. Gives the exit status.
class StoreCommands {
public:
    enum ExitStatus { Done = 0, Failed = 1, WrongUsage = 2 };

    StoreCommands(QTextStream& in, QTextStream& out, QTextStream& err);

    // The arguments after the program's name.
    int run(QStringList arguments);

private:
    int dispatch(const QString& command, SequenceStore& store, const QStringList& rest);
    int init(SequenceStore& store);
    int list(SequenceStore& store);
    int show(SequenceStore& store, const QString& sequence);
    int add(SequenceStore& store, const QString& description);
    int remove(SequenceStore& store, const QString& sequence);
    int exportTo(SequenceStore& store, const QString& sequence, const QString& file);
    int import(SequenceStore& store, const QString& file);
    int print(SequenceStore& store, const QString& sequence);
    int check(SequenceStore& store);
    int recover(SequenceStore& store, const QString& file);

    // The record position of "@5" or of the first record named so.
    Result<qint32> positionOf(SequenceStore& store, const QString& sequence);
    int fail(const Error& error);
    int usage();

    QTextStream& in_;
    QTextStream& out_;
    QTextStream& err_;
    QString lang_;
};

} // namespace tapwise
