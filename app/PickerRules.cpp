#include "app/PickerRules.h"

#include "app/PickerTexts.h"
#include "common/NativePath.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace tapwise {
namespace {

QString errnoText(int error) {
    return QString::number(error) + QStringLiteral("  ") + QString::fromLocal8Bit(strerror(error));
}

// Mount points that hold no user folders: kernel and runtime file systems,
// and the read-only images of snap packages.
bool isSystemMount(const QString& root) {
    static const char* const prefixes[] = {"/proc/", "/sys/",  "/dev/",
                                           "/snap/", "/boot/", "/var/lib/"};
    const QString path = WithSlash(root);
    for (const char* prefix : prefixes)
        if (path.startsWith(QLatin1String(prefix)))
            return true;
    // Removable media are mounted under /run/media by udisks; the rest of
    // /run is runtime state.
    return path.startsWith(QLatin1String("/run/")) &&
           !path.startsWith(QLatin1String("/run/media/"));
}

void addPlace(QList<Place>& places, const QString& label, const QString& path) {
    const QString folder = WithSlash(path);
    for (const Place& place : places)
        if (place.path == folder)
            return;
    places.append({label, folder});
}

} // namespace

bool HasRefusedCharacter(const QString& name) {
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    for (QChar c : name)
        if (refused.contains(c))
            return true;
    return false;
}

QString ExchangeFilePath(const QString& folder, const QString& typedName) {
    QString name = typedName.trimmed();
    if (!name.endsWith(QLatin1String(".tpw"), Qt::CaseInsensitive))
        name += QLatin1String(".tpw");
    return WithSlash(folder) + name;
}

QStringList FileFilters(const QString& extension) {
    QStringList filters{QLatin1Char('*') + extension};
    if (extension.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        filters << QStringLiteral("*.xlsx") << QStringLiteral("*.xlsm");
    return filters;
}

QString WithSlash(const QString& folder) {
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path == QLatin1String("/") ? path : path + QLatin1Char('/');
}

QList<Place> StartPlaces(const QString& lang) {
    QList<Place> places;
    addPlace(places, pickertext::RootPlace.in(lang), QStringLiteral("/"));
    const QString home = QDir::homePath();
    addPlace(places, pickertext::HomePlace.in(lang).arg(home), home);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || isSystemMount(root) || !QFileInfo(root).isDir())
            continue;
        const QString name = volume.displayName();
        addPlace(places, name == root ? root : name + QStringLiteral("  ") + root, root);
    }
    return places;
}

int PlaceIndexOf(const QList<Place>& places, const QString& folder) {
    const QString path = WithSlash(folder);
    int best = -1;
    for (int i = 0; i < places.size(); ++i)
        if (path.startsWith(places[i].path) &&
            (best < 0 || places[i].path.size() > places[best].path.size()))
            best = i;
    return best;
}

std::optional<QString> FolderOpenError(const QString& folder) {
    const QByteArray path = encodePath(folder);
    DIR* dir = opendir(path.constData());
    if (!dir)
        return errnoText(errno);
    closedir(dir);
    return std::nullopt;
}

std::optional<QString> MakeFolder(const QString& path) {
    if (mkdir(encodePath(path).constData(), 0777) != 0)
        return errnoText(errno);
    return std::nullopt;
}

} // namespace tapwise
