#include "app/Startup.h"

#include "app/AppTexts.h"
#include "app/ConsoleWindow.h"
#include "common/Settings.h"
#include "platform/Desktop.h"
#include "store/SequenceStore.h"

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
    settings_.Lang = QStringLiteral("E");
    if (rest.isEmpty())
        return shortcutOffer();
    settings_.Lang = TakeLanguageSuffix(rest);
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

int Startup::shortcutOffer() {
    if (messages_.askYesNo(settings_.MainTitle, QString::fromLatin1(apptext::ShortcutOffer)))
        messages_.showMessage(settings_.MainTitle,
                              QString::fromLatin1(apptext::ShortcutUnavailable));
    return ExitDone;
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
