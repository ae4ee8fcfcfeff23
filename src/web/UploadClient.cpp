// The upload thread's exchange with the beaming service.
#include "web/UploadClient.h"

#include "app/ConfigFile.h"
#include "app/IOpProgress.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "app/UserText.h"
#include "web/AnswerLine.h"
#include "web/HttpFileReader.h"
#include "web/HttpRequest.h"
#include "web/HttpSession.h"
#include "web/IBrowser.h"
#include "web/InternetException.h"
#include "web/UploadRequest.h"

#include <QUrl>

#include <curl/curl.h>

namespace {

// The browser opens once this many parameter lines (TOKEN, SHOW, SIZE) have come in phase 2.
constexpr int kBrowserParameters = 3;

// The address libcurl is given for a URL of the service: scheme http or https, a server, and
// the object (path and query; "/" when there is none). False when the URL is not of that form.
bool ServiceAddress(const QString& url, QByteArray& address) {
    const QUrl parsed(url.trimmed(), QUrl::TolerantMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || parsed.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    QUrl clean = parsed.adjusted(QUrl::RemoveFragment | QUrl::RemoveUserInfo);
    if (clean.path().isEmpty())
        clean.setPath(QStringLiteral("/"));
    address = clean.toEncoded();
    return true;
}

// The header block's lines without their CRLF.
QList<QByteArray> HeaderLines(const QString& block) {
    QList<QByteArray> lines;
    for (const QString& line : block.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        lines << line.toLatin1();
    return lines;
}

} // namespace

CUploadClient::CUploadClient(const QString& filePath, const QString& ringtoneName,
                             IOpProgress& progress, IBrowser* browser)
    : m_filePath(filePath), m_ringtoneName(ringtoneName), m_progress(progress), m_browser(browser) {
}

CUploadClient::~CUploadClient() = default;

bool CUploadClient::run() {
    Trace(TRACE_DEBUG, "uploadFile start");
    m_progress.SetRange(0);
    m_progress.SetTextId(IDS_BEAMING_STATUS);
    m_progress.SetSubTextId(IDS_CONNECTING);
    try {
        exchange();
    } catch (const CInternetException& e) {
        Trace(TRACE_ERROR, "CInternetException: %s (%d)", e.message(), e.code());
        if (m_progress.IsCanceled())
            m_userAbort = true;
        else if (m_connecting) {
            m_errorText = LoadString(IDS_CONNECTION_NEEDED);
            m_errorCause = e.message();
        } else
            m_errorText = LoadString(IDS_INTERNET_ERROR) + e.message();
        m_failed = true;
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "%s", e.traceText());
        if (e.isCancel()) {
            Trace(TRACE_ERROR, "%s", e.traceMessage());
        } else if (m_errorText.isEmpty()) {
            const QString detail = e.code() > 0 ? LoadString(e.code()) : QString();
            m_errorText = FormatString(IDS_ERROR_BEAMING, detail.isEmpty() ? e.message() : detail);
            Trace(TRACE_ERROR, "%s", m_errorText);
        }
        m_failed = true;
    } catch (const std::exception& e) {
        // Not one of the program's own failures (memory, a library): shown as its own text.
        Trace(TRACE_ERROR, "exception: %s", QString::fromLocal8Bit(e.what()));
        m_errorText = FormatString(IDS_ERROR_BEAMING, QString::fromLocal8Bit(e.what()));
        m_failed = true;
    }
    return finish();
}

void CUploadClient::exchange() {
    const QString url = GetConfig().GetUploadUrl();
    QByteArray address;
    if (!ServiceAddress(url, address))
        throw COxaException(FormatUserText(IDS_INVALID_UPLOAD_URL, url), COxaException::kGeneric);
    upload(url, address, GetConfig().GetProxy());

    m_progress.SetSubTextId(IDS_UPLOAD_FINISHED);
    Trace(TRACE_DEBUG, "upload request ended, reading server answer");
    readAnswer(UploadPhase);
    m_continueUrl += QLatin1Char('?') + m_token;
    checkPhaseEnd(UploadPhase);
    m_request.reset();

    follow(ContinuePhase);
    checkPhaseEnd(ContinuePhase);
    m_request.reset();
    m_continueUrl += QLatin1Char('?') + m_token;

    follow(BrowserPhase);
    checkPhaseEnd(BrowserPhase);
}

void CUploadClient::checkPhaseEnd(Phase phase) {
    if (m_userAbort)
        throw COxaException(Sprintf("beaming phase %d canceled", int(phase)),
                            COxaException::kCancelled);
    if (!m_ok)
        throw COxaException(QString(), IDS_COMMUNICATION_INTERRUPTED);
}

void CUploadClient::upload(const QString& url, const QByteArray& address, const QString& proxy) {
    UploadRequest request;
    buildUploadRequest(m_filePath, m_ringtoneName, request);
    m_connecting = true;

    Trace(TRACE_DEBUG, "connecting to the upload url '%s' using proxy '%s'", url,
          proxy.isEmpty() ? QStringLiteral("NO PROXY") : proxy);
    m_session = std::make_unique<CHttpSession>(proxy);
    m_request = std::make_unique<CHttpRequest>(*m_session, address);
    m_progress.SetSubTextId(IDS_UPLOADING);

    // The connection stands once the first chunk is asked for.
    const auto beforeChunk = [this] {
        m_connecting = false;
        return !m_progress.IsCanceled();
    };
    const auto afterChunk = [this](qint64 sent) { m_progress.SetPos(uint32_t(sent)); };
    m_request->setPost(HeaderLines(request.headers), request.body, kChunkSize, beforeChunk,
                       afterChunk);
    m_progress.SetRange(uint32_t(request.body.size()));
    m_request->start();
    // The time-out runs from the last chunk sent: the service answers once it has the body.
    auto lastActivity = std::chrono::steady_clock::now();
    const qint64 total = request.body.size();
    qint64 sentBefore = -1;
    bool silent = false;
    const bool answered =
        m_request->wait([this] { return m_request->answerStarted(); },
                        [&] {
                            const qint64 sent = m_request->bytesSent();
                            const auto now = std::chrono::steady_clock::now();
                            if (sent != sentBefore) {
                                sentBefore = sent;
                                lastActivity = now;
                            }
                            silent = sent >= total && now - lastActivity >= m_idleTimeout;
                            return m_progress.IsCanceled() || silent;
                        });
    if (!answered && silent && !m_progress.IsCanceled())
        throwSilent();
    if (!answered || m_request->stoppedByGate())
        throw COxaException(QStringLiteral("upload canceled"), COxaException::kCancelled);
    m_request->throwIfFailed();
}

void CUploadClient::follow(Phase phase) {
    QByteArray address;
    if (!ServiceAddress(m_continueUrl, address)) {
        Trace(TRACE_ERROR, "invalid continue url %s", m_continueUrl);
        throw COxaException(QString(), IDS_INVALID_SERVER_ANSWER);
    }
    Trace(TRACE_DEBUG, "connecting to continue url: %s", m_continueUrl);
    m_request = std::make_unique<CHttpRequest>(*m_session, address);
    m_request->start();
    Trace(TRACE_DEBUG, "request sent, reading server answer");
    m_token.clear();
    m_continueUrl.clear();
    // Each phase must end in its own status 200: the first one's does not carry over.
    m_ok = false;
    if (phase == BrowserPhase) {
        if (m_browser)
            m_browser->ResetClosed();
        m_count = 0;
    }
    readAnswer(phase);
}

void CUploadClient::readAnswer(Phase phase) {
    CHttpFileReader reader;
    reader.Attach(m_request.get(), [this, phase] { return stopAsked(phase); });
    if (phase != BrowserPhase)
        reader.SetIdleTimeout(m_idleTimeout);
    m_linesWithoutKeyword = 0;
    QString line;
    for (;;) {
        const CHttpFileReader::Result result = reader.ReadLine(line);
        if (result == CHttpFileReader::Result::End)
            break;
        if (result == CHttpFileReader::Result::Interrupted) {
            m_userAbort = true;
            break;
        }
        if (result == CHttpFileReader::Result::TimedOut)
            throwSilent();
        if (result == CHttpFileReader::Result::TooLong) {
            Trace(TRACE_ERROR, "server line longer than %d bytes",
                  int(CHttpFileReader::kMaxLineBytes));
            throw COxaException(QString(), IDS_INVALID_SERVER_ANSWER);
        }
        Trace(TRACE_DEBUG, "server line: %s", line);
        if (stopAsked(phase)) {
            m_userAbort = true;
            break;
        }
        // Empty lines are the heartbeat of a held phase-2 answer; elsewhere they count.
        if (line.isEmpty() && phase == BrowserPhase)
            continue;
        if (line.isEmpty() && ++m_linesWithoutKeyword > kMaxLinesWithoutKeyword)
            throw COxaException(QString(), IDS_INVALID_SERVER_ANSWER);
        if (!line.isEmpty() && !takeLine(phase, line))
            break;
    }
}

void CUploadClient::throwSilent() {
    Trace(TRACE_ERROR, "no answer from the service for %d ms", int(m_idleTimeout.count()));
    throw CInternetException(
        FormatString(IDS_SERVICE_SILENT, QString::number(m_idleTimeout.count() / 1000.0)),
        CURLE_OPERATION_TIMEDOUT);
}

bool CUploadClient::takeLine(Phase phase, const QString& line) {
    QString value;
    if (CAnswerLine::keyword(line, "TOKEN:", value)) {
        m_token = value;
        if (phase == BrowserPhase)
            countBrowserParameter();
        return true;
    }
    if (phase != BrowserPhase && CAnswerLine::keyword(line, "CONTINUE:", value)) {
        m_continueUrl = value;
        return true;
    }
    if (phase == UploadPhase && CAnswerLine::keyword(line, "DIGEST:", value))
        return true;
    if (phase == BrowserPhase && CAnswerLine::keyword(line, "SHOW:", value)) {
        m_continueUrl = value;
        countBrowserParameter();
        return true;
    }
    if (phase == BrowserPhase && CAnswerLine::keyword(line, "SIZE:", value)) {
        m_sizeText = value;
        if (!CAnswerLine::size(value, m_width, m_height)) {
            Trace(TRACE_ERROR, "invalid size: %s", value);
            throw COxaException(QString(), IDS_INVALID_SERVER_ANSWER);
        }
        countBrowserParameter();
        return true;
    }
    int code = 0;
    QString text;
    if (CAnswerLine::status(line, code, text))
        return takeStatus(phase, code, text, line);
    Trace(TRACE_ERROR, "unknown server answer: %s", line);
    if (++m_linesWithoutKeyword > kMaxLinesWithoutKeyword)
        throw COxaException(QString(), IDS_INVALID_SERVER_ANSWER);
    return true;
}

bool CUploadClient::takeStatus(Phase phase, int code, const QString& text, const QString& line) {
    if (code == 200) {
        m_ok = true;
        return false;
    }
    if (code >= 500 && code <= 509 && phase == BrowserPhase) {
        Trace(TRACE_DEBUG, "user abort: %s", line);
        m_userAbort = true;
        return false;
    }
    if (code >= 500 && code <= 599)
        throw COxaException(text, COxaException::kGeneric);
    if (phase != BrowserPhase)
        return false;
    if (code == 450) {
        if (!m_paid) {
            m_paid = true;
            Trace(TRACE_DEBUG, "payment done");
        }
        return true;
    }
    if (m_count < kBrowserParameters) {
        Trace(TRACE_ERROR, "invalid protocol state, missing browser parameter(s)");
        throw COxaException(QString(), IDS_INVALID_SERVER_ANSWER);
    }
    return true;
}

void CUploadClient::countBrowserParameter() {
    if (++m_count == kBrowserParameters) {
        m_count = kBrowserParameters + 1;
        openBrowser();
    }
}

void CUploadClient::openBrowser() {
    m_continueUrl += QLatin1Char('?') + m_token;
    Trace(TRACE_DEBUG, "new broser: %s, w=%d, h=%d", m_continueUrl, m_width, m_height);
    if (m_browser) {
        const QPoint origin = m_browser->HostOrigin();
        m_browser->Open(m_continueUrl, BrowserPlacement{origin.x(), origin.y(), m_width, m_height},
                        &m_progress);
    }
    m_progress.Show(false);
}

bool CUploadClient::stopAsked(Phase phase) {
    if (m_progress.IsCanceled())
        return true;
    return phase == BrowserPhase && m_browser && m_browser->IsClosed();
}

bool CUploadClient::finish() {
    if (m_browser)
        m_browser->Hide();
    m_request.reset();
    m_session.reset();
    if (m_paid)
        m_failed = false;
    else if (m_userAbort)
        m_failed = true;
    m_cancelledOnPage = !m_paid && m_userAbort && !m_progress.IsCanceled();
    Trace(TRACE_DEBUG, "uploadFile end");
    return !m_failed;
}

bool uploadFile(UploadThreadParams& params) {
    CUploadClient client(params.ringtoneFile, params.ringtoneName, *params.progress,
                         params.browser);
    params.result = client.run();
    params.errorText = client.errorText();
    params.cancelledOnPage = client.cancelledOnPage();
    params.errorCause = client.errorCause();
    return params.result;
}
