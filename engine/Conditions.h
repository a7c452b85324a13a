#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace tapwise {

class Run;

// Condition lines "*If(type;op;value;label)*" and label lines. A counter
// and a time condition keep their state by rewriting their line in the
// run's working copy; the driver keeps the rewritten text when the outcome
// is a jump (5) or a rewrite (6).
class Conditions {
public:
    explicit Conditions(Run& run);

    // Returns 0 (false), 5 (jump to the label) or 6 (a time condition "<>"
    // met its moment and became "True"; no jump). Waits 1 hundredth.
    qint16 DoIf(QString& keys);

    // Returns 4; waits 1 hundredth.
    qint16 DoLabel();

private:
    qint16 decide(QString& keys, const QStringList& fields, const QString& left);
    QString countStep(QString& keys, QStringList& fields);
    QString leftValue(const QString& type);
    QString cellValue(const QString& type);
    qint16 timeCondition(QString& keys, const QStringList& fields);

    Run& run_;
};

} // namespace tapwise
