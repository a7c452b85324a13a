#include "engine/RunSequence.h"

#include "engine/Run.h"

namespace tapwise {

RunEnd RunSequence(const RunServices& services, qint32 position, QString& description,
                   QString& excelFile, QString& password) {
    Run run(services);
    return run.driver.RunSequence(position, description, excelFile, password);
}

} // namespace tapwise
