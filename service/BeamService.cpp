#include "BeamService.h"

#include "AnswerStatus.h"
#include "HttpServer.h"
#include "MultipartForm.h"
#include "RingtoneStore.h"
#include "ServiceLog.h"
#include "ServicePaths.h"
#include "TokenSource.h"
#include "TransferBoard.h"
#include "VorbisProbe.h"
#include "WholeNumber.h"

#include <algorithm>

namespace {

// "phase N [client]" for the log.
std::string Label(int phase, const CHttpRequest& request) {
    return "phase " + std::to_string(phase) + " [" + request.remoteAddress + ":" +
           std::to_string(request.remotePort) + "]";
}

bool IsHostText(const std::string& host) {
    return !host.empty() && host.size() < 256 && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
}

} // namespace

CBeamService::CBeamService(CHttpServer& server, CTransferBoard& board, CRingtoneStore& store,
                           CTokenSource& tokens, CServiceLog& log, const CServiceOptions& options)
    : m_board(board), m_store(store), m_tokens(tokens), m_log(log), m_options(options) {
    // The upload takes a body too large to read: the answer tells the program so.
    server.route(
        {"POST", CServicePaths::kUpload, std::nullopt,
         [this](const CHttpRequest& request, CHttpReply& reply) { upload(request, reply); },
         [this](const CHttpRequest& request, uint64_t received) {
             return keepReading(request, received);
         },
         true});
    server.get(CServicePaths::kPrepare,
               [this](const CHttpRequest& request, CHttpReply& reply) { prepare(request, reply); });
    server.get(CServicePaths::kShow,
               [this](const CHttpRequest& request, CHttpReply& reply) { show(request, reply); });
}

std::string CBeamService::baseUrl(const CHttpRequest& request, const CServiceOptions& options) {
    if (!options.publicUrl.empty())
        return options.publicUrl;
    const std::string host = request.header("Host");
    if (IsHostText(host))
        return "http://" + host;
    const bool v6 = request.localAddress.find(':') != std::string::npos;
    return "http://" + (v6 ? "[" + request.localAddress + "]" : request.localAddress) + ":" +
           std::to_string(request.localPort);
}

bool CBeamService::keepReading(const CHttpRequest& request, uint64_t received) {
    if (m_options.dropUploadBytes < 0 || received < uint64_t(m_options.dropUploadBytes))
        return true;
    m_log.line(Label(0, request) + " dropped the connection after " + std::to_string(received) +
               " bytes of the form (--drop-upload)");
    return false;
}

void CBeamService::upload(const CHttpRequest& request, CHttpReply& reply) {
    const std::string label = Label(0, request);
    const std::string type = request.header("Content-Type");
    CMultipartForm form;
    std::vector<std::string> lines;
    if (request.bodyRefused) {
        m_log.line(label + " refused: the form is too large");
        lines = {CAnswerStatus::kTooLarge};
    } else if (CMultipartForm::isMultipart(type) && !form.parse(type, request.body)) {
        m_log.line(label + " the form could not be read");
        lines = {CAnswerStatus::kNoFile};
    } else if (m_options.failPhase == 0) {
        lines = {CAnswerStatus::failure(m_options.failStatus)};
    } else {
        lines = acceptUpload(request, form);
    }
    answer(request, reply, 0, std::move(lines));
}

std::vector<std::string> CBeamService::acceptUpload(const CHttpRequest& request,
                                                    const CMultipartForm& form) {
    const std::string label = Label(0, request);
    const CMultipartForm::Part* file = form.part("userfile");
    if (!file) {
        m_log.line(label + " refused: the form has no userfile field");
        return {CAnswerStatus::kNoFile};
    }
    // MAX_FILE_SIZE is the form's own limit, as a browser form would send it; a value that is
    // not a number is ignored.
    uint64_t formLimit = UINT64_MAX;
    if (const CMultipartForm::Part* limit = form.part("MAX_FILE_SIZE")) {
        uint64_t value = 0;
        if (WholeNumber(limit->content, value))
            formLimit = value;
    }
    const uint64_t size = file->content.size();
    if (size > m_options.maxFileSize || size > formLimit) {
        m_log.line(label + " refused: " + std::to_string(size) + " bytes is too large");
        return {CAnswerStatus::kTooLarge};
    }
    VorbisStreamInfo stream;
    std::string reason;
    if (!CVorbisProbe::probe(file->content, stream, reason)) {
        m_log.line(label + " refused " + std::to_string(size) + " bytes: " + reason);
        return {CAnswerStatus::kNotVorbis};
    }
    const auto stored =
        m_store.add(m_tokens.next(16), file->fileName, file->content, stream, reason);
    if (!stored) {
        m_log.line(label + " could not store the ringtone: " + reason);
        return {CAnswerStatus::kNotStored};
    }
    m_log.line(label + " stored ringtone " + stored->id + " \"" + stored->fileName + "\", " +
               std::to_string(stored->size) + " bytes, " + std::to_string(stream.channels) +
               " channel(s), " + std::to_string(stream.rate) + " Hz, " +
               std::to_string(stream.durationMs) + " ms");
    const std::string token = m_board.open(stored->id);
    return {"TOKEN:" + token, "DIGEST:" + stored->digest,
            "CONTINUE:" + baseUrl(request, m_options) + CServicePaths::kPrepare,
            CAnswerStatus::kOk};
}

void CBeamService::prepare(const CHttpRequest& request, CHttpReply& reply) {
    if (m_options.failPhase == 1)
        return answer(request, reply, 1, {CAnswerStatus::failure(m_options.failStatus)});
    const std::string token = m_board.prepare(request.query);
    if (token.empty())
        return answer(request, reply, 1, {CAnswerStatus::kUnknownTransfer});
    answer(request, reply, 1,
           {"TOKEN:" + token, "CONTINUE:" + baseUrl(request, m_options) + CServicePaths::kShow,
            CAnswerStatus::kOk});
}

void CBeamService::show(const CHttpRequest& request, CHttpReply& reply) {
    // Without a failure or a missing status line the answer waits for the person.
    const bool held = m_options.failPhase != 2 && m_options.noStatusPhase != 2;
    const auto transfer = m_board.show(request.query, held);
    if (!transfer)
        return answer(request, reply, 2, {CAnswerStatus::kUnknownTransfer});

    std::vector<std::string> lines{"TOKEN:" + transfer->pageToken};
    if (!m_options.missingParams) {
        lines.push_back("SHOW:" + baseUrl(request, m_options) + CServicePaths::kTransfer);
        lines.push_back("SIZE:" + m_options.browserSize);
    }
    lines.push_back(m_options.failPhase == 2 ? CAnswerStatus::failure(m_options.failStatus)
                                             : CAnswerStatus::kWaiting);
    answer(request, reply, 2, std::move(lines), held ? transfer : nullptr);
}

void CBeamService::answer(const CHttpRequest& request, CHttpReply& reply, int phase,
                          std::vector<std::string> lines, std::shared_ptr<CTransfer> held) {
    if (phase == m_options.noStatusPhase && !lines.empty())
        lines.pop_back();
    // The protocol's status is in the lines; the HTTP status is always 200. The answer is sent
    // as it is made, never compressed.
    reply.status = 200;
    reply.contentType = "text/plain; charset=us-ascii";
    reply.stream = std::make_shared<CAnswerStream>(
        m_board, m_log, Label(phase, request), std::move(lines),
        CAnswerStream::Settings{m_options.slowMs, m_options.heartbeatSeconds}, std::move(held));
}
