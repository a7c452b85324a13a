#include "engine/CompareValues.h"

#include "engine/Outcomes.h"
#include "engine/TextRules.h"

#include <QCollator>
#include <QLocale>

#include <array>

namespace tapwise {

namespace {

enum class Operator {
    Unknown,
    Equal,
    NotEqual,
    Greater,
    GreaterOrEqual,
    Less,
    LessOrEqual,
    Contains,
    NotContains,
    Starts,
    NotStarts,
    Finishes,
    NotFinishes,
};

struct OperatorName {
    const char* name;
    Operator op;
};

constexpr std::array<OperatorName, 12> Operators{{
    {"=", Operator::Equal},
    {"<>", Operator::NotEqual},
    {">", Operator::Greater},
    {">=", Operator::GreaterOrEqual},
    {"<", Operator::Less},
    {"<=", Operator::LessOrEqual},
    {"CN", Operator::Contains},
    {"NC", Operator::NotContains},
    {"ST", Operator::Starts},
    {"NS", Operator::NotStarts},
    {"FN", Operator::Finishes},
    {"NF", Operator::NotFinishes},
}};

Operator operatorOf(const QString& op) {
    for (const OperatorName& entry : Operators) {
        if (op.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.op;
    }
    return Operator::Unknown;
}

qint16 holds(bool condition) {
    return condition ? ConditionJump : ConditionFalse;
}

// The order operators on the sign of a three-way comparison.
qint16 ordered(Operator op, int order) {
    switch (op) {
    case Operator::Equal:
        return holds(order == 0);
    case Operator::NotEqual:
        return holds(order != 0);
    case Operator::Greater:
        return holds(order > 0);
    case Operator::GreaterOrEqual:
        return holds(order >= 0);
    case Operator::Less:
        return holds(order < 0);
    case Operator::LessOrEqual:
        return holds(order <= 0);
    default:
        return ConditionFalse;
    }
}

int textOrder(const QString& left, const QString& right) {
    if (isNumericText(left) && isNumericText(right)) {
        const double l = left.trimmed().toDouble();
        const double r = right.trimmed().toDouble();
        return l < r ? -1 : (l > r ? 1 : 0);
    }
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator.compare(left, right);
}

// Where the last occurrence of right ends left exactly. A right value that
// does not occur never finishes left, whatever the lengths.
qint16 finishing(const QString& left, const QString& right, bool wanted) {
    const qsizetype last = lastTextPosition(left, right);
    const qsizetype endPosition = left.size() - right.size() + 1;
    if (wanted)
        return holds(last > 0 && last == endPosition);
    return holds(last > 0 && last < endPosition);
}

} // namespace

qint16 CompareValues(const QString& left, const QString& right, const QString& op) {
    const Operator which = operatorOf(op);
    const qsizetype position = textPosition(left, right);
    switch (which) {
    case Operator::Contains:
        return holds(position != 0);
    case Operator::NotContains:
        return holds(position == 0);
    case Operator::Starts:
        return holds(position == 1);
    case Operator::NotStarts:
        return holds(position > 1);
    case Operator::Finishes:
        return finishing(left, right, true);
    case Operator::NotFinishes:
        return finishing(left, right, false);
    case Operator::Equal:
        return holds(left.compare(right, Qt::CaseInsensitive) == 0);
    case Operator::NotEqual:
        return holds(left.compare(right, Qt::CaseInsensitive) != 0);
    case Operator::Unknown:
        return ConditionFalse;
    default:
        return ordered(which, textOrder(left, right));
    }
}

qint16 CompareValues(const QDateTime& left, const QDateTime& right, const QString& op) {
    const int order = left < right ? -1 : (left > right ? 1 : 0);
    return ordered(operatorOf(op), order);
}

} // namespace tapwise
