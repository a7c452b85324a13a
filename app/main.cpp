#include "app/BoxMessages.h"
#include "app/ProgramLauncher.h"
#include "app/Startup.h"
#include "app/TerminationSignals.h"
#include "common/NativePath.h"
#include "common/Settings.h"

#include <QApplication>
#include <QStringList>

#include <unistd.h>

// tapwise FOLDER[,NAME[,WORKBOOK[|PASSWORD][,NoMsg]]][|E or |I]
//
// The words of the command line form one argument, so that a folder with
// spaces needs no quotes. Qt sees none of them: a folder or a name must
// never be taken for one of its own options.
int main(int argc, char* argv[]) {
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << tapwise::decodePath(QByteArray(argv[i]));
    const QString argument = tapwise::JoinArguments(words);

    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tapwise"));
    QApplication::setQuitOnLastWindowClosed(false);
    tapwise::TerminationSignals signals_;

    tapwise::Settings settings;
    tapwise::BoxMessages messages;
    tapwise::ProgramLauncher launcher(settings, messages);
    const bool fromTerminal = isatty(STDIN_FILENO) == 1;
    return tapwise::Startup(settings, messages, launcher, fromTerminal).run(argument);
}
