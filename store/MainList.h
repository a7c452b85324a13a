#pragma once

#include "common/Result.h"
#include "store/SequenceName.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace tapwise {

inline constexpr qsizetype RowDescriptionWidth = 130;
inline constexpr qsizetype RowGap = 10;

// The main list's row of a record: the description cut or padded to 130
// characters (line breaks kept as they are), 10 spaces, the record position.
QString MainListRow(QStringView description, qint32 position);

// The record position of a row: the number after its last space (0 when
// there is none).
qint32 RowPosition(const QString& row);

// The index of the first row whose record position is the given one, or -1.
qsizetype SelectSequenceRow(const QStringList& rows, qint32 position);

// What a list load gives the main window: its rows in file order (the first
// one is to be selected when there is one), the record position and name of
// each row, and the damage that stopped the load early, to be shown.
class MainList {
public:
    // Adds the row of a record; the description is needed only during the call.
    void append(QStringView description, qint32 position);
    void setDamage(Error damage) { damage_ = std::move(damage); }
    void setNotice(QString notice) { notice_ = std::move(notice); }

    const QStringList& rows() const { return rows_; }
    qsizetype size() const { return rows_.size(); }
    qint32 position(qsizetype row) const { return positions_[row]; }
    // The name of the row's Key sequence (see SequenceName).
    QString name(qsizetype row) const;
    const std::optional<Error>& damage() const { return damage_; }
    // Something the load did that the user must hear of (records kept in a
    // side file before the compaction cut them off); empty when nothing.
    const QString& notice() const { return notice_; }

private:
    // Where a name lies in its row; a name that runs past the row's 130
    // characters is kept whole in longNames_ instead (start -1, length its index).
    struct NameSpan {
        qint16 start = 0;
        qint32 length = 0;
    };

    QStringList rows_;
    QList<qint32> positions_;
    QList<NameSpan> names_;
    QStringList longNames_;
    std::optional<Error> damage_;
    QString notice_;
};

} // namespace tapwise
