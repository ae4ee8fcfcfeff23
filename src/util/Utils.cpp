// Support utilities: temporary names, folders, URL escaping, the system description.
#include "util/Utils.h"

#include "util/Printf.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <cerrno>
#include <limits>
#include <sys/stat.h>
#include <sys/utsname.h>

int MakeTempFilePath(const QString& extension, QString& path) {
    const QString folder = QDir::tempPath();
    struct stat info {};
    const bool found = ::stat(QFile::encodeName(folder).constData(), &info) == 0;
    if (!found || !S_ISDIR(info.st_mode))
        return found ? ENOTDIR : errno;
    const auto seconds = static_cast<unsigned long>(GetCurrentTimeMs() / 1000);
    const int number = QRandomGenerator::global()->bounded(std::numeric_limits<int>::max());
    path = QDir(folder).filePath(Sprintf("temp_%lu_%i.%s", seconds, number, extension));
    return 0;
}

DirStatus MakeDirIfMissing(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        // Another process may create it between the look and the creation: that is success too.
        if (::mkdir(native.constData(), 0777) != 0 &&
            !(errno == EEXIST && ::stat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode)))
            return DirStatus::CreateFailed;
        return DirStatus::Ready;
    }
    return S_ISDIR(info.st_mode) ? DirStatus::Ready : DirStatus::NotAFolder;
}

QString UrlEscape(const QString& text, bool escapeAll) {
    QString escaped;
    escaped.reserve(text.size() * 3);
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (escapeAll || (code >= 0x20 && code <= 0x2F))
            escaped += QString::asprintf("%%%2.2x", unsigned(code));
        else
            escaped += c;
    }
    return escaped;
}

namespace {
// The value of one KEY=value line of an os-release file, without quotes and shell escapes.
QString OsReleaseValue(const QString& osRelease, const QString& key) {
    const QString start = key + QLatin1Char('=');
    for (const QString& rawLine : osRelease.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (!line.startsWith(start))
            continue;
        QString value = line.mid(start.size());
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front()) {
            const bool doubleQuoted = value.front() == u'"';
            value = value.mid(1, value.size() - 2);
            if (doubleQuoted) {
                QString plain;
                for (qsizetype i = 0; i < value.size(); ++i) {
                    if (value[i] == u'\\' && i + 1 < value.size())
                        ++i;
                    plain += value[i];
                }
                value = plain;
            }
        }
        return value;
    }
    return {};
}

// The text with every line break, tab or other control character turned into one blank.
QString OneLine(const QString& text) {
    QString line = text;
    for (QChar& c : line)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return line.simplified();
}
} // namespace

QString OSDescriptionFrom(const QString& osRelease, const QString& kernelName,
                          const QString& kernelRelease, const QString& machine) {
    QString distribution = OsReleaseValue(osRelease, QStringLiteral("PRETTY_NAME"));
    if (distribution.trimmed().isEmpty())
        distribution = OsReleaseValue(osRelease, QStringLiteral("NAME")) + QLatin1Char(' ') +
                       OsReleaseValue(osRelease, QStringLiteral("VERSION"));
    QStringList parts;
    const QString kernel = OneLine(kernelName + QLatin1Char(' ') + kernelRelease);
    for (const QString& part : {OneLine(distribution), kernel}) {
        if (!part.isEmpty())
            parts << part;
    }
    if (!OneLine(machine).isEmpty())
        parts << QStringLiteral("build ") + OneLine(machine);
    return parts.join(QStringLiteral(", "));
}

QString GetOSDescription() {
    QString osRelease;
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            osRelease = QString::fromUtf8(file.readAll());
            break;
        }
    }
    utsname system{};
    if (uname(&system) != 0)
        return OSDescriptionFrom(osRelease, {}, {}, {});
    return OSDescriptionFrom(osRelease, QString::fromLocal8Bit(system.sysname),
                             QString::fromLocal8Bit(system.release),
                             QString::fromLocal8Bit(system.machine));
}
