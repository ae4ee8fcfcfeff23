// The program's own HTTP download into a file the person chose.
#include "web/FileDownload.h"

#include "app/ConfigFile.h"
#include "app/IOpProgress.h"
#include "app/IUserMessages.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "web/HttpRequest.h"
#include "web/HttpSession.h"
#include "web/InternetException.h"

#include <QSaveFile>

namespace {

constexpr qsizetype kPieceBytes = 1024;
constexpr int kIdsErrorDownloading = 206;     // "Error downloading ringtone."
constexpr int kIdsErrorDownloadingWith = 207; // "Error downloading ringtone: %s."
constexpr int kIdsDownloadTitle = 209;        // "downloading ringtone"
constexpr int kIdsDownloadedFine = 210;       // "Ringtone downloaded successfully."
constexpr int kIdsTransferring = 216;         // "transferring"

// Writes the answer of the request into the file piece by piece; throws on every failure.
void Transfer(CHttpRequest& request, QSaveFile& file, IOpProgress& progress) {
    const auto cancelled = [&] { return progress.IsCanceled(); };
    const auto pieceReady = [&] { return request.available() >= kPieceBytes; };
    if (!request.wait([&] { return request.answerStarted(); }, cancelled))
        throw COxaException(COxaException::kCancelled, QStringLiteral("download canceled"));
    request.throwIfFailed();
    if (request.status() >= 400 || (request.ended() && request.status() == 0))
        throw COxaException(QString(), kIdsErrorDownloading);
    if (request.contentLength() > 0)
        progress.SetRange(uint32_t(std::min<qint64>(request.contentLength(), UINT32_MAX)));
    progress.SetSubTextId(kIdsTransferring);
    if (!file.open(QIODevice::WriteOnly))
        throw COxaException(file.errorString(), COxaException::kGeneric);
    qint64 total = 0;
    for (;;) {
        if (progress.IsCanceled())
            throw COxaException(COxaException::kCancelled, QStringLiteral("download canceled"));
        if (!request.wait(pieceReady, cancelled))
            continue; // the cancel is taken at the top
        const QByteArray piece = request.take(kPieceBytes);
        if (piece.isEmpty()) {
            request.throwIfFailed();
            break;
        }
        if (file.write(piece) != piece.size())
            throw COxaException(file.errorString(), COxaException::kGeneric);
        total += piece.size();
        progress.SetPos(uint32_t(std::min<qint64>(total, UINT32_MAX)));
    }
    if (!file.commit())
        throw COxaException(file.errorString(), COxaException::kGeneric);
}

} // namespace

DownloadOutcome DownloadFile(const QString& address, const QString& referrer, const QString& target,
                             IOpProgress& progress, IUserMessages& messages) {
    Trace(TRACE_DEBUG, "dowloadFile start");
    progress.SetTextId(kIdsDownloadTitle);
    progress.SetSubTextId(IDS_CONNECTING);
    progress.SetRange(0);
    const QString proxy = GetConfig().GetProxy();
    Trace(TRACE_DEBUG, "connecting to url '%s' using proxy '%s'", address,
          proxy.isEmpty() ? QStringLiteral("NO PROXY") : proxy);
    // Not written before commit: a failure or cancel drops the temporary file.
    QSaveFile file(target);
    DownloadOutcome outcome = DownloadOutcome::Failed;
    try {
        CHttpSession session(proxy);
        CHttpRequest request(session, address.toUtf8());
        request.addHeaders({"Referer: " + referrer.toUtf8(), "Connection: Keep-Alive"});
        request.start();
        Transfer(request, file, progress);
        outcome = DownloadOutcome::Done;
    } catch (const CInternetException& e) {
        Trace(TRACE_ERROR, "Internet error: %s", e.message().left(299));
        ShowErrorMessage(messages, LoadString(IDS_INTERNET_ERROR) + e.message().left(299));
    } catch (const COxaException& e) {
        if (e.isCancel()) {
            Trace(TRACE_ERROR, "%s", e.traceMessage());
            outcome = DownloadOutcome::Cancelled;
        } else {
            const QString detail = e.code() > 0 ? LoadString(e.code()) : e.message();
            ShowErrorMessage(messages, FormatString(kIdsErrorDownloadingWith, detail));
        }
    }
    if (outcome != DownloadOutcome::Done)
        file.cancelWriting();
    else
        ShowInfoMessage(messages, LoadString(kIdsDownloadedFine));
    Trace(TRACE_DEBUG, "downloadFile end");
    return outcome;
}
