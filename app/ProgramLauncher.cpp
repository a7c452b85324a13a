#include "app/ProgramLauncher.h"

#include "app/AppTexts.h"
#include "app/ExitSafeWorkbooks.h"
#include "app/RunWindows.h"
#include "common/Settings.h"
#include "platform/DesktopFactory.h"
#include "store/SequenceStore.h"
#include "workbook/XlsxWorkbookOpener.h"

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
    RunWindows windows(settings_);
    XlsxWorkbookOpener xlsx(settings_.Lang);
    ExitSafeWorkbookOpener workbooks(xlsx);
    const RunServices services{settings_, store, *screen.value(), windows, workbooks};
    return RunSequence(services, position, name, excelFile, password);
}

} // namespace tapwise
