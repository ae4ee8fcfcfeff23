// A download from the embedded browser as the person sees it.
#include "ui/BrowserDownload.h"

#include "app/ServedThread.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "ui/FileDialogFilter.h"
#include "ui/ProgressDlg.h"
#include "web/DownloadLink.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace {

constexpr int kIdsDownloadingTitle = 208; // "Downloading ringtone"
constexpr int kIdsFilter = 219;           // "%s|*%s|All Files|*.*||"

} // namespace

std::mutex CBrowserDownload::s_folderLock;
QString CBrowserDownload::s_lastFolder;

CBrowserDownload::CBrowserDownload(QWidget* parent, IUserMessages& messages)
    : m_parent(parent), m_messages(messages) {}

QString CBrowserDownload::LastFolder() {
    const std::lock_guard lock(s_folderLock);
    return s_lastFolder;
}

QString CBrowserDownload::StartFolder() {
    QString folder = LastFolder();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

QString CBrowserDownload::Filter(const QString& fileName, const QString& extension) {
    const QString description =
        QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).comment();
    return FileDialogFilter(FormatString(kIdsFilter, description, extension));
}

QString CBrowserDownload::ChooseFile(const QString& proposed, const QString& filter) const {
    if (m_chooser)
        return m_chooser(proposed, filter);
    return QFileDialog::getSaveFileName(m_parent, QString(), proposed, filter);
}

DownloadOutcome CBrowserDownload::start(const QUrl& link, const QUrl& referrer) {
    const std::optional<DownloadLink> download = ParseDownloadLink(link);
    if (!download)
        return DownloadOutcome::Failed;
    return fetch(download->address, download->fileName, referrer);
}

DownloadOutcome CBrowserDownload::fetch(const QString& address, const QString& fileName,
                                        const QUrl& referrer) {
    if (!IsWebScheme(QUrl(address).scheme())) {
        Trace(TRACE_ERROR, "download refused: %s", address);
        return DownloadOutcome::Failed;
    }
    const QString name = SanitizeDownloadName(fileName);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    const QString proposed = QDir(StartFolder()).filePath(name);
    const QString target = ChooseFile(proposed, Filter(name, extension));
    if (target.isEmpty())
        return DownloadOutcome::Cancelled;
    {
        const std::lock_guard lock(s_folderLock);
        s_lastFolder = QFileInfo(target).absolutePath();
    }
    CProgressDlg progress(m_parent, kIdsDownloadingTitle);
    progress.Show(true);
    DownloadOutcome outcome = DownloadOutcome::Failed;
    RunServingEvents(
        [&] { outcome = DownloadFile(address, referrer.toString(), target, progress, m_messages); },
        "download");
    progress.Show(false);
    return outcome;
}
