// Where the program finds its own files and keeps its data.
#include "app/Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

QString WithTrailingSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString GetExecutableFolder() {
    static const QString folder = [] {
        const QFileInfo exe(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
        return WithTrailingSlash(exe.absolutePath());
    }();
    return folder;
}

namespace {
// The installed data folder when the executable lies in an installed tree's bin/, else empty.
QString InstalledDataFolder(const QString& executableFolder) {
    if (!executableFolder.endsWith(QStringLiteral("/bin/")))
        return {};
    const QString data = QDir::cleanPath(executableFolder + QStringLiteral("../share/quillet"));
    return QFileInfo(data).isDir() ? WithTrailingSlash(data) : QString();
}
} // namespace

QString ProgramFolderFor(const QString& executableFolder) {
    const QString folder = WithTrailingSlash(executableFolder);
    const QString release = QStringLiteral("/release/");
    if (folder.endsWith(release, Qt::CaseInsensitive))
        return folder.left(folder.size() - release.size() + 1);
    const QString installed = InstalledDataFolder(folder);
    return installed.isEmpty() ? folder : installed;
}

QString GetProgramFolder() {
    return ProgramFolderFor(GetExecutableFolder());
}

QString GetTranslationFolder() {
    const QString installed = InstalledDataFolder(GetExecutableFolder());
    return installed.isEmpty() ? GetExecutableFolder() : installed;
}

QString GetSharedDataFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = WithTrailingSlash(base) + QStringLiteral("Brindle/Quillet/");
    if (!QFileInfo(folder).isDir()) {
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
    return folder;
}

QString GetTraFilePath(const QString& lang) {
    return GetTranslationFolder() + QStringLiteral("Quillet_") + lang + QStringLiteral(".tra");
}

QString GetDefaultTraFilePath() {
    return GetTraFilePath(QStringLiteral("en"));
}

bool TraFileExists(const QString& lang) {
    return QFileInfo::exists(GetTraFilePath(lang));
}

QString GetSkinPath(const QString& name) {
    return GetProgramFolder() + QStringLiteral("Skins/") + name + QStringLiteral("/__default.sdf");
}

QString GetDefaultSkinPath() {
    return GetSkinPath(QStringLiteral("en"));
}
