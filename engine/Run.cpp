#include "engine/Run.h"

#include "common/Settings.h"
#include "engine/TextRules.h"

namespace tapwise {

Run::Run(const RunServices& services)
    : services(services), pause(*this), dispatcher(*this), conditions(*this), checks(*this),
      worksheet(*this), driver(*this) {}

const QString& Run::lang() const {
    return services.settings.Lang;
}

QString Run::text(const BilingualText& text) const {
    return text.in(lang());
}

QString Run::title() const {
    return services.settings.runTitle();
}

bool Run::noMsgIs(const char* mode) const {
    return state.NoMsg.compare(QLatin1String(mode), Qt::CaseInsensitive) == 0;
}

bool Run::check(const Status& status) {
    if (status)
        return true;
    fail(status.error());
    return false;
}

void Run::fail(const Error& error) {
    state.Failures.append(errorText(error));
    if (state.Stop == RunStop::None)
        state.Stop = RunStop::Failed;
}

void Run::endByActivation() {
    if (state.Stop == RunStop::None)
        state.Stop = RunStop::Activated;
}

} // namespace tapwise
