#include "app/Startup.h"

#include "app/AppTexts.h"
#include "app/ConsoleWindow.h"
#include "app/DesktopShortcuts.h"
#include "app/HelpWindow.h"
#include "app/Pickers.h"
#include "app/ShortcutTexts.h"
#include "common/Settings.h"
#include "gui/MessageBox.h"
#include "platform/Desktop.h"
#include "store/SequenceStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tapwise {

int ExitCodeOf(RunEnd end) {
    switch (end) {
    case RunEnd::Finished:
        return ExitDone;
    case RunEnd::Cancelled:
        return ExitCancelled;
    case RunEnd::Activated:
        return ExitAbandoned;
    case RunEnd::Failed:
        break;
    }
    return ExitRunFailed;
}

Startup::Startup(Settings& settings, MessageSink& messages, RunLauncher& launcher,
                 bool startedFromTerminal)
    : settings_(settings), messages_(messages), launcher_(launcher),
      startedFromTerminal_(startedFromTerminal) {}

int Startup::run(const QString& argument) {
    QString rest = argument.trimmed();
    settings_.Lang = TakeLanguageSuffix(rest);
    MessageBox::setLanguage(settings_.Lang);
    // A language suffix alone chooses the language of the offer.
    if (rest.trimmed().isEmpty())
        return shortcutOffer();
    Result<RunArguments> parsed = ParseRunArguments(rest, settings_.Lang);
    if (!parsed)
        return report(parsed.error().message, ExitBadArgument);
    RunArguments& arguments = parsed.value();
    settings_.DataFolder = arguments.dataFolder;
    if (IsNoMsg(arguments.noMsg))
        minimizeConsole();
    if (arguments.name.isEmpty())
        return launcher_.openMainWindow();
    return backgroundRun(arguments);
}

// Without a folder there is nothing to work on: explain how the program is
// started, offer the main launcher, and show the manual either way.
int Startup::shortcutOffer() {
    const QString& lang = settings_.Lang;
    const QString program = QCoreApplication::applicationFilePath();
    settings_.DataFolder = QFileInfo(program).absolutePath() + u'/';
    const QString example = QDir::home().filePath(shortcuttext::ExampleFolder.in(lang));
    if (messages_.askYesNo(settings_.MainTitle,
                           shortcuttext::ShortcutOffer.in(lang).arg(program, example)))
        createMainLauncher();
    ShowHelp(nullptr, settings_);
    return ExitDone;
}

void Startup::createMainLauncher() {
    const QString folder = BrowsePlace(nullptr, settings_, QStringLiteral("FLD"), QString(),
                                       shortcuttext::FolderCaption.in(settings_.Lang));
    if (folder.isEmpty())
        return;
    const Result<QString> argument = MainLauncherArgument(folder, settings_.Lang);
    if (!argument) {
        messages_.showMessage(QString::fromLatin1(apptext::MessageTitle), argument.error().message);
        return;
    }
    CreateDesktopShortcut(nullptr, settings_, settings_.runTitle(), argument.value());
}

int Startup::backgroundRun(RunArguments& arguments) {
    SequenceStore store(settings_.DataFolder, settings_.Lang);
    const Result<std::optional<qint32>> found = store.ScanSequences(arguments.name);
    if (!found)
        return report(found.error().message, ExitRunFailed);
    if (!found.value())
        return report(arguments.name + QStringLiteral("\n\n") +
                          apptext::SequenceMissing.in(settings_.Lang),
                      ExitSequenceMissing);
    settings_.NoMsg = arguments.noMsg;
    const RunEnd end = launcher_.runSequence(*found.value(), arguments.name, arguments.excelFile,
                                             arguments.password);
    return ExitCodeOf(end);
}

// The console that started a run without messages would otherwise receive
// its keys. A terminal that has the focus when the program was not started
// from one (a launcher, a script run by another program) is where the keys
// are meant to go, and stays. The tap of Ctrl alone leaves no modifier state
// behind.
void Startup::minimizeConsole() {
    Result<Desktop*> desktop = launcher_.desktop();
    if (!desktop)
        return;
    if (startedFromTerminal_ && IsConsoleWindow(desktop.value()->foregroundWindow()))
        (void)desktop.value()->minimizeForegroundWindow();
    (void)desktop.value()->sendKeys(QStringLiteral("^"), false);
}

int Startup::report(const QString& text, int exitCode) {
    messages_.showMessage(QString::fromLatin1(apptext::MessageTitle), text);
    return exitCode;
}

} // namespace tapwise
