#pragma once

#include <QDateTime>
#include <QString>

namespace tapwise {

// Compares the left value of a condition with its right value by the
// condition's operator (letter case ignored). Returns 5 when the comparison
// holds, 0 when it does not or the operator is unknown.
//
//   "=", "<>"            texts, letter case ignored ("5" and "5.0" differ)
//   ">", ">=", "<", "<=" numbers when both sides are numbers, texts otherwise
//                        (letter case ignored, in the locale's order)
//   "Cn", "NC"           right occurs / does not occur in left
//   "St", "NS"           left starts with right / right occurs, but not at the start
//   "Fn", "NF"           left ends with right / right occurs, but its last
//                        occurrence does not end left
qint16 CompareValues(const QString& left, const QString& right, const QString& op);

// The same for two moments; only the order operators and "=", "<>" apply.
qint16 CompareValues(const QDateTime& left, const QDateTime& right, const QString& op);

} // namespace tapwise
