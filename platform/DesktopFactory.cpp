#include "platform/DesktopFactory.h"

#include "platform/X11Desktop.h"

namespace tapwise {

Result<std::unique_ptr<Desktop>> makeX11Desktop(const QString& lang, const QString& displayName) {
    auto desktop = X11Desktop::open(lang, displayName);
    if (!desktop) {
        return desktop.error();
    }
    return std::unique_ptr<Desktop>(std::move(desktop).value());
}

} // namespace tapwise
