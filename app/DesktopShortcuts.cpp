#include "app/DesktopShortcuts.h"

#include "app/AppTexts.h"
#include "app/CommandLine.h"
#include "app/InstalledFiles.h"
#include "app/Pickers.h"
#include "app/ShortcutTexts.h"
#include "common/NativePath.h"
#include "common/Settings.h"
#include "gui/MessageBox.h"
#include "store/SequenceName.h"
#include "store/SequenceStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

#include <unistd.h>

namespace tapwise {
namespace {

using namespace shortcuttext;

// The part of a Key sequence's name that names its launcher.
constexpr qsizetype ShownNameLength = 200;
// Room for ".desktop" and for the suffix of a temporary file beside it,
// within the 255 bytes of a file name.
constexpr qsizetype FileNameBytes = 240;
constexpr char LauncherSuffix[] = ".desktop";

// A word of the Exec line: always in double quotes, inside which '"', '`',
// '$' and '\' take a backslash; '%' is doubled everywhere, so that no field
// code is ever expanded.
QString quoteWord(const QString& word) {
    QString quoted(u'"');
    for (const QChar c : word) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        else if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    return quoted + u'"';
}

// The escapes of a string value, applied after the quoting; a leading blank
// would otherwise be dropped by the reader.
QString escapeValue(const QString& value) {
    QString escaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        else if (c == u' ' && i == 0)
            escaped += QStringLiteral("\\s");
        else
            escaped += c;
    }
    return escaped;
}

// A field of the program's argument comes back as it went only without ","
// and without blanks around it.
bool carriedAsField(const QString& field) {
    return !field.contains(u',') && field.trimmed() == field;
}

void showMessage(QWidget* parent, const QString& text) {
    MessageBox::show(parent, QString::fromLatin1(apptext::MessageTitle), text);
}

QString programIcon(const QString& program) {
    const QString installed = InstalledIconPath(program);
    return QFileInfo::exists(installed) ? installed : QStringLiteral("tapwise");
}

// The installed files are removed by a process of their own once this
// program has ended: it waits for the end of a pipe that only this program
// holds, and which is closed when the program ends.
void removeInstalledFilesAfterExit(const QString& program) {
    QFile manifest(ManifestPath(program));
    if (!manifest.open(QIODevice::ReadOnly))
        return;
    const QStringList files =
        RemovableInstalledFiles(QString::fromUtf8(manifest.readAll()), program);
    if (files.isEmpty())
        return;
    // The descriptor stays open on purpose until the program ends.
    (void)StartRemover(files, QFileInfo(manifest).absolutePath());
}

} // namespace

QString LauncherExec(const QString& program, const QString& argument) {
    return escapeValue(quoteWord(program) + u' ' + quoteWord(argument));
}

// The entry uses no key newer than version 1.4 of the format, the newest
// that desktop-file-validate of Debian 12 accepts.
QString LauncherText(const LauncherEntry& entry) {
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.4\n");
    text += QStringLiteral("Name=") + escapeValue(entry.name) + u'\n';
    text += QStringLiteral("Exec=") + LauncherExec(entry.program, entry.argument) + u'\n';
    if (!entry.folder.isEmpty())
        text += QStringLiteral("Path=") + escapeValue(entry.folder) + u'\n';
    if (!entry.icon.isEmpty())
        text += QStringLiteral("Icon=") + escapeValue(entry.icon) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    return text;
}

QString LauncherFileName(const QString& name) {
    QString base = name;
    base.replace(u'/', u'-');
    const qsizetype room = FileNameBytes - qsizetype(sizeof(LauncherSuffix) - 1);
    while (base.toUtf8().size() > room) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base + QLatin1String(LauncherSuffix);
}

Status WriteLauncher(const QString& folder, const LauncherEntry& entry, const QString& lang) {
    const QString path = QDir(folder).filePath(LauncherFileName(entry.name));
    QSaveFile file(path);
    const QByteArray bytes = LauncherText(entry).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Error{1, NotCreated.in(lang).arg(path, file.errorString())};
    const auto executable = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                            QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile written(path);
    if (!written.setPermissions(executable))
        return Error{1, NotCreated.in(lang).arg(path, written.errorString())};
    return {};
}

QString DesktopFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    return folder;
}

// A folder alone is the whole argument: a final "|E" or "|I" would be read
// as the language.
Result<QString> MainLauncherArgument(const QString& folder, const QString& lang) {
    QString withoutSuffix = folder;
    TakeLanguageSuffix(withoutSuffix);
    if (withoutSuffix != folder || !carriedAsField(folder))
        return Error{1, PathNotCarried.in(lang).arg(folder)};
    if (hasEscapedBytes(folder))
        return Error{1, PathNotUtf8.in(lang).arg(folder)};
    return folder;
}

Result<QString> SequenceLauncherArgument(const QString& dataFolder, const QString& name,
                                         const QString& excelFile, const QString& noMsgWord,
                                         const QString& lang) {
    if (name.isEmpty() || !carriedAsField(name))
        return Error{1, NameNotCarried.in(lang).arg(name)};
    if (!carriedAsField(dataFolder))
        return Error{1, PathNotCarried.in(lang).arg(dataFolder)};
    // The workbook field's first "|" starts the password.
    if (excelFile.contains(u'|') || !carriedAsField(excelFile))
        return Error{1, PathNotCarried.in(lang).arg(excelFile)};
    for (const QString& path : {dataFolder, excelFile}) {
        if (hasEscapedBytes(path))
            return Error{1, PathNotUtf8.in(lang).arg(path)};
    }
    return dataFolder + u',' + name + u',' + excelFile + QStringLiteral("|,") + noMsgWord;
}

QString SequenceLauncherName(const Settings& settings, const QString& name) {
    return settings.runTitle() + QStringLiteral(" (") + name.left(ShownNameLength) + u')';
}

bool NeedsWorkbook(const Lines& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const Line& line) {
        return line.keys.startsWith(QLatin1String("EXCEL"), Qt::CaseInsensitive);
    });
}

void CreateDesktopShortcut(QWidget* parent, const Settings& settings, const QString& name,
                           const QString& arguments) {
    const QString folder = DesktopFolder();
    if (folder.isEmpty()) {
        const QString wanted = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        showMessage(parent,
                    NotCreated.in(settings.Lang).arg(wanted, NoDesktopFolder.in(settings.Lang)));
        return;
    }
    const QString program = QCoreApplication::applicationFilePath();
    const LauncherEntry entry{name, program, arguments, QFileInfo(program).absolutePath(),
                              programIcon(program)};
    const Status written = WriteLauncher(folder, entry, settings.Lang);
    showMessage(parent, written ? Created.in(settings.Lang).arg(name) : written.error().message);
}

void CreateSequenceShortcut(QWidget* parent, const Settings& settings,
                            const StoredSequence& sequence) {
    const QString name = SequenceName(sequence.description);
    if (name.isEmpty() || !carriedAsField(name)) {
        showMessage(parent, NameNotCarried.in(settings.Lang).arg(name));
        return;
    }
    const MessageBox::Button answer = MessageBox::show(
        parent, QString::fromLatin1(apptext::MessageTitle), SuppressMessages.in(settings.Lang),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (answer == QMessageBox::Cancel)
        return;
    const QString noMsgWord = answer == QMessageBox::Yes ? QStringLiteral("NoMsg") : QString();
    QString excelFile;
    if (NeedsWorkbook(sequence.lines))
        excelFile = BrowsePlace(parent, settings, QStringLiteral("FIL"), QStringLiteral("xls"),
                                WorkbookCaption.in(settings.Lang));
    const Result<QString> argument =
        SequenceLauncherArgument(settings.DataFolder, name, excelFile, noMsgWord, settings.Lang);
    if (!argument) {
        showMessage(parent, argument.error().message);
        return;
    }
    CreateDesktopShortcut(parent, settings, SequenceLauncherName(settings, name), argument.value());
}

void Uninstall(QWidget*, const Settings& settings) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty())
        QFile::remove(QDir(desktop).filePath(LauncherFileName(settings.runTitle())));
    if (!settings.DataFolder.isEmpty())
        ::unlink(encodePath(QDir(settings.DataFolder).filePath(QString::fromLatin1(DataFileName)))
                     .constData());
    removeInstalledFilesAfterExit(QCoreApplication::applicationFilePath());
}

} // namespace tapwise
