#pragma once

#include "app/Startup.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace tapwise {

struct Settings;

// The run as the program does it: the X11 desktop of the session, the data
// folder's store, the Qt windows and the .xlsx workbook layer; and the main
// window, whose runs come back here.
class ProgramLauncher : public RunLauncher {
public:
    ProgramLauncher(Settings& settings, MessageSink& messages);
    ~ProgramLauncher() override;

    Result<Desktop*> desktop() override;
    RunEnd runSequence(qint32 position, QString& name, QString& excelFile,
                       QString& password) override;
    int openMainWindow() override;

private:
    Settings& settings_;
    MessageSink& messages_;
    std::unique_ptr<Desktop> desktop_;
    // The main window while it is open: a run started from it closes it.
    QPointer<QWidget> mainWindow_;
};

} // namespace tapwise
