#include "language/LineSyntax.h"

namespace tapwise {

bool isNotExecutable(const QString& keys)
{
    return keys.startsWith(QLatin1Char('#')) && keys.left(2).trimmed() != QLatin1String("#");
}

bool isCommandLine(const QString& keys)
{
    const QString trimmed = keys.trimmed();
    if (trimmed.size() <= 2)
        return false;
    return trimmed.startsWith(QLatin1Char('*')) || trimmed.startsWith(QLatin1String("#*"));
}

} // namespace tapwise
