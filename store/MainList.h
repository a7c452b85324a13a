#pragma once

#include "common/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tapwise {

inline constexpr qsizetype RowDescriptionWidth = 130;
inline constexpr qsizetype RowGap = 10;

// The name of a Key sequence: the first line of its description. Without a
// CR LF it is the whole description, untrimmed; before a CR LF further on, the
// text before it, trimmed; a description that starts with CR LF is named by
// those two characters.
QString SequenceName(const QString& description);

// The main list's row of a record: the description cut or padded to 130
// characters (line breaks kept as they are), 10 spaces, the record position.
QString MainListRow(const QString& description, qint32 position);

// The record position of a row: the number after its last space (0 when
// there is none).
qint32 RowPosition(const QString& row);

// The index of the first row whose record position is the given one, or -1.
qsizetype SelectSequenceRow(const QStringList& rows, qint32 position);

// One record as the list knows it.
struct ListedSequence {
    qint32 position = 0;
    QString name;
};

// What a list load gives the main window: its rows in file order (the first
// one is to be selected when there is one), the records they stand for, and
// the damage that stopped the load early, to be shown to the user.
struct MainList {
    QStringList rows;
    QList<ListedSequence> sequences;
    std::optional<Error> damage;
};

} // namespace tapwise
