#pragma once

#include "platform/Desktop.h"

#include <memory>

namespace tapwise {

// The desktop of the X11 session the program runs in (the display named by
// $DISPLAY unless `displayName` is given). The clipboard needs a
// QGuiApplication; messages of the desktop are in `lang`.
Result<std::unique_ptr<Desktop>> makeX11Desktop(const QString& lang,
                                                const QString& displayName = {});

} // namespace tapwise
