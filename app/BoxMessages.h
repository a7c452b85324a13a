#pragma once

#include "app/Startup.h"

namespace tapwise {

// Start-up's messages as topmost message boxes. Each is also written to
// standard error, so that a run started from a script leaves its reason in
// the script's log.
class BoxMessages : public MessageSink {
public:
    void showMessage(const QString& title, const QString& text) override;
    bool askYesNo(const QString& title, const QString& text) override;
};

} // namespace tapwise
