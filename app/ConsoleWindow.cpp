#include "app/ConsoleWindow.h"

#include <QStringList>

namespace tapwise {
namespace {

// Window classes (and program names) of terminal emulators, in lower case.
const QStringList& terminalNames() {
    static const QStringList names{
        "xterm",
        "uxterm",
        "rxvt",
        "urxvt",
        "konsole",
        "gnome-terminal",
        "xfce4-terminal",
        "mate-terminal",
        "lxterminal",
        "qterminal",
        "terminator",
        "tilix",
        "alacritty",
        "kitty",
        "st",
        "st-256color",
        "terminology",
        "sakura",
        "guake",
        "tilda",
        "yakuake",
        "cool-retro-term",
        "deepin-terminal",
        "eterm",
        "aterm",
        "terminal",
        "org.wezfurlong.wezterm",
        "wezterm",
        "foot",
        "kgx",
        "org.gnome.console",
        "org.gnome.terminal",
        "ptyxis",
        "blackbox",
    };
    return names;
}

bool endsWithBatchName(const QString& title) {
    return title.endsWith(QLatin1String(".BAT"), Qt::CaseInsensitive) ||
           title.endsWith(QLatin1String(".CMD"), Qt::CaseInsensitive) ||
           title.endsWith(QLatin1String("CMD.EXE"), Qt::CaseInsensitive);
}

bool isTerminalClass(const QString& className) {
    const QString name = className.trimmed().toLower();
    return terminalNames().contains(name) || name.endsWith(QLatin1String("-terminal"));
}

// A title that is only the emulator's name, as xterm and others set it when
// nothing runs in them that sets a title of its own.
bool isTerminalTitle(const QString& title) {
    return terminalNames().contains(title.trimmed().toLower());
}

} // namespace

bool IsConsoleWindow(const ForegroundWindow& window) {
    return endsWithBatchName(window.title) || isTerminalClass(window.className) ||
           isTerminalTitle(window.title);
}

} // namespace tapwise
