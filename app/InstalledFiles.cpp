#include "app/InstalledFiles.h"

#include "common/NativePath.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace tapwise {
namespace {

// Both set by the build from the installation's folders.
constexpr char ManifestFromProgramFolder[] = TAPWISE_MANIFEST_FROM_BINDIR;
constexpr char IconFromProgramFolder[] = TAPWISE_ICON_FROM_BINDIR;

QString besideProgram(const QString& programPath, const char* relative) {
    const QString folder = QFileInfo(programPath).absolutePath();
    return QDir::cleanPath(folder + u'/' + QString::fromUtf8(relative));
}

QString canonical(const QString& path) {
    char* real = realpath(encodePath(path).constData(), nullptr);
    const QString found = real ? decodePath(QByteArray(real)) : QString();
    std::free(real);
    return found;
}

// Removing a file takes write access to its folder; in a folder with the
// sticky bit (like /tmp) also owning the file or the folder.
bool userMayRemove(const QString& path) {
    const QByteArray file = encodePath(path);
    const QByteArray folder = encodePath(QFileInfo(path).absolutePath());
    struct stat fileStat {};
    struct stat folderStat {};
    if (lstat(file.constData(), &fileStat) != 0 || S_ISDIR(fileStat.st_mode))
        return false;
    if (stat(folder.constData(), &folderStat) != 0 || access(folder.constData(), W_OK | X_OK) != 0)
        return false;
    const uid_t user = geteuid();
    if ((folderStat.st_mode & S_ISVTX) && user != 0 && fileStat.st_uid != user &&
        folderStat.st_uid != user)
        return false;
    return true;
}

QStringList manifestEntries(const QString& manifestText) {
    QStringList entries;
    for (const QString& line : manifestText.split(u'\n')) {
        const QString entry = line.trimmed();
        if (!entry.isEmpty() && !entry.startsWith(u'#'))
            entries << entry;
    }
    return entries;
}

// Waits for the end of input: every copy of the other end of the pipe has
// been closed.
constexpr char RemoverScript[] = "cat >/dev/null\n"
                                 "folder=$1\n"
                                 "shift\n"
                                 "rm -f -- \"$@\"\n"
                                 "[ -n \"$folder\" ] && rmdir -- \"$folder\" 2>/dev/null\n"
                                 "exit 0\n";

Error spawnError(int code) {
    return Error{code, QString::fromLocal8Bit(std::strerror(code))};
}

} // namespace

QString ManifestPath(const QString& programPath) {
    return besideProgram(programPath, ManifestFromProgramFolder);
}

QString InstalledIconPath(const QString& programPath) {
    return besideProgram(programPath, IconFromProgramFolder);
}

QStringList RemovableInstalledFiles(const QString& manifestText, const QString& programPath) {
    const QStringList entries = manifestEntries(manifestText);
    const QString program = canonical(programPath);
    const bool listsProgram =
        !program.isEmpty() &&
        std::any_of(entries.begin(), entries.end(),
                    [&](const QString& entry) { return canonical(entry) == program; });
    QStringList removable;
    if (!listsProgram)
        return removable;
    for (const QString& entry : entries) {
        const bool clean = QDir::isAbsolutePath(entry) && QDir::cleanPath(entry) == entry;
        if (clean && !removable.contains(entry) && userMayRemove(entry))
            removable << entry;
    }
    return removable;
}

Result<int> StartRemover(const QStringList& files, const QString& folder) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return spawnError(errno);
    std::vector<QByteArray> words = {"/bin/sh", "-c", RemoverScript, "tapwise-uninstall",
                                     encodePath(folder)};
    for (const QString& file : files)
        words.push_back(encodePath(file));
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own session: a Ctrl+C in the terminal that started the program
    // must not stop the removal.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, "/bin/sh", &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[0]);
    if (failed != 0) {
        close(ends[1]);
        return spawnError(failed);
    }
    return ends[1];
}

} // namespace tapwise
