#include "app/ProgramLauncher.h"

#include "app/AppTexts.h"
#include "app/ExitSafeWorkbooks.h"
#include "app/MainWindow.h"
#include "app/RunWindows.h"
#include "common/Settings.h"
#include "platform/DesktopFactory.h"
#include "store/SequenceStore.h"
#include "workbook/XlsxWorkbookOpener.h"

#include <QApplication>

namespace tapwise {

ProgramLauncher::ProgramLauncher(Settings& settings, MessageSink& messages)
    : settings_(settings), messages_(messages) {}

ProgramLauncher::~ProgramLauncher() = default;

Result<Desktop*> ProgramLauncher::desktop() {
    if (!desktop_) {
        Result<std::unique_ptr<Desktop>> made = makeX11Desktop(settings_.Lang);
        if (!made)
            return made.error();
        desktop_ = std::move(made.value());
    }
    return desktop_.get();
}

RunEnd ProgramLauncher::runSequence(qint32 position, QString& name, QString& excelFile,
                                    QString& password) {
    Result<Desktop*> screen = desktop();
    if (!screen) {
        messages_.showMessage(QString::fromLatin1(apptext::MessageTitle), screen.error().message);
        return RunEnd::Failed;
    }
    SequenceStore store(settings_.DataFolder, settings_.Lang);
    RunWindows windows(settings_, mainWindow_);
    XlsxWorkbookOpener xlsx(settings_.Lang);
    ExitSafeWorkbookOpener workbooks(xlsx);
    const RunServices services{settings_, store, *screen.value(), windows, workbooks};
    return RunSequence(services, position, name, excelFile, password);
}

// The program lives in the event loop while the main window is open; the
// window says when the program is to end and with which status.
int ProgramLauncher::openMainWindow() {
    MainWindow window(settings_, *this);
    mainWindow_ = &window;
    QObject::connect(&window, &MainWindow::programEnded, qApp,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    window.Form_Load();
    window.show();
    return QApplication::exec();
}

} // namespace tapwise
