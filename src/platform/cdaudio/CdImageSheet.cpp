// What libcdio is handed to open a CD image: the image itself, or a private copy of its sheet.
#include "platform/cdaudio/CdImageSheet.h"

#include "platform/cdaudio/NrgImageCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

namespace {
// Sheets are small text files; anything larger is not one.
constexpr qint64 kMaxSheetBytes = 1 << 20;

// A line naming a file: its keyword, then the quoted name.
QRegularExpression FileLinePattern() {
    return QRegularExpression(
        QStringLiteral("^(\\s*(?:FILE|AUDIOFILE|DATAFILE)\\s+\")([^\"]*)(\".*)$"));
}

QString Absolute(const QString& folder, const QString& name) {
    return QFileInfo(name).isAbsolute() ? name : QDir(folder).absoluteFilePath(name);
}
} // namespace

bool CCdImageSheet::prepare(const QString& imagePath, QString& reason) {
    m_openPath = imagePath;
    const QString suffix = QFileInfo(imagePath).suffix().toLower();
    if (suffix == QLatin1String("nrg"))
        return CNrgImageCheck::check(imagePath, reason);
    if (suffix != QLatin1String("toc") && suffix != QLatin1String("cue"))
        return true;
    QFile file(imagePath);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("cannot read %1: %2").arg(imagePath, file.errorString());
        return false;
    }
    if (file.size() > kMaxSheetBytes) {
        reason = QStringLiteral("%1 is too large for a cue or toc sheet").arg(imagePath);
        return false;
    }
    const QByteArray text = file.readAll();
    return suffix == QLatin1String("toc") ? prepareToc(imagePath, text, reason)
                                          : prepareCue(imagePath, text, reason);
}

bool CCdImageSheet::prepareToc(const QString& imagePath, const QByteArray& text, QString& reason) {
    const QString folder = QFileInfo(imagePath).absolutePath();
    const QRegularExpression pattern = FileLinePattern();
    QList<QByteArray> lines = text.split('\n');
    bool changed = false;
    for (QByteArray& line : lines) {
        const QRegularExpressionMatch match = pattern.match(QString::fromLocal8Bit(line));
        if (!match.hasMatch() || QFileInfo(match.captured(2)).isAbsolute())
            continue;
        line = (match.captured(1) + Absolute(folder, match.captured(2)) + match.captured(3))
                   .toLocal8Bit();
        changed = true;
    }
    if (!changed)
        return true;
    return writeCopy(QFileInfo(imagePath).fileName(), lines.join('\n'), reason);
}

bool CCdImageSheet::prepareCue(const QString& imagePath, const QByteArray& text, QString& reason) {
    const QFileInfo info(imagePath);
    const QRegularExpression pattern = FileLinePattern();
    QStringList files;
    for (const QByteArray& line : text.split('\n')) {
        const QRegularExpressionMatch match = pattern.match(QString::fromLocal8Bit(line));
        if (match.hasMatch())
            files.append(Absolute(info.absolutePath(), match.captured(2)));
    }
    if (files.size() > 1) {
        reason = QStringLiteral("%1 names %2 files; only cue sheets of one file can be read")
                     .arg(imagePath)
                     .arg(files.size());
        return false;
    }
    const QString ownBin =
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
        (info.suffix() == QLatin1String("CUE") ? QStringLiteral(".BIN") : QStringLiteral(".bin"));
    if (files.isEmpty() || !QFileInfo::exists(files[0]) ||
        QFileInfo(files[0]).canonicalFilePath() == QFileInfo(ownBin).canonicalFilePath())
        return true;
    if (!writeCopy(info.fileName(), text, reason))
        return false;
    const QString link =
        QFileInfo(m_openPath).absolutePath() + QLatin1Char('/') + QFileInfo(ownBin).fileName();
    if (!QFile::link(QFileInfo(files[0]).absoluteFilePath(), link)) {
        reason = QStringLiteral("cannot link %1 to %2").arg(link, files[0]);
        return false;
    }
    return true;
}

bool CCdImageSheet::writeCopy(const QString& name, const QByteArray& text, QString& reason) {
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        reason = QStringLiteral("cannot make a temporary folder: %1").arg(m_dir->errorString());
        return false;
    }
    const QString path = m_dir->filePath(name);
    QFile copy(path);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(text) != text.size()) {
        reason = QStringLiteral("cannot write %1: %2").arg(path, copy.errorString());
        return false;
    }
    m_openPath = path;
    return true;
}
