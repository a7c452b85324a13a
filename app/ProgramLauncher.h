#pragma once

#include "app/Startup.h"

#include <memory>

namespace tapwise {

struct Settings;

// The run as the program does it: the X11 desktop of the session, the data
// folder's store, the Qt windows and the .xlsx workbook layer.
class ProgramLauncher : public RunLauncher {
public:
    ProgramLauncher(Settings& settings, MessageSink& messages);
    ~ProgramLauncher() override;

    Result<Desktop*> desktop() override;
    RunEnd runSequence(qint32 position, QString& name, QString& excelFile,
                       QString& password) override;

private:
    Settings& settings_;
    MessageSink& messages_;
    std::unique_ptr<Desktop> desktop_;
};

} // namespace tapwise
