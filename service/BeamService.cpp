#include "BeamService.h"

#include "AnswerStatus.h"
#include "MultipartForm.h"
#include "RingtoneStore.h"
#include "ServiceLog.h"
#include "ServicePaths.h"
#include "TokenSource.h"
#include "TransferBoard.h"
#include "VorbisProbe.h"

#include <algorithm>
#include <charconv>
#include <httplib.h>

namespace {

// Room for the form's other fields and headers beyond the largest ringtone accepted.
constexpr uint64_t kFormOverhead = 64 * 1024;

// "phase N [client]" for the log.
std::string Label(int phase, const httplib::Request& request) {
    return "phase " + std::to_string(phase) + " [" + request.remote_addr + ":" +
           std::to_string(request.remote_port) + "]";
}

bool IsHostText(const std::string& host) {
    return !host.empty() && host.size() < 256 && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
}

} // namespace

CBeamService::CBeamService(httplib::Server& server, CTransferBoard& board, CRingtoneStore& store,
                           CTokenSource& tokens, CServiceLog& log, const CServiceOptions& options)
    : m_board(board), m_store(store), m_tokens(tokens), m_log(log), m_options(options) {
    server.Post(
        CServicePaths::kUpload,
        [this](const httplib::Request& request, httplib::Response& response,
               const httplib::ContentReader& reader) { upload(request, response, reader); });
    server.Get(CServicePaths::kPrepare,
               [this](const httplib::Request& request, httplib::Response& response) {
                   prepare(request, response);
               });
    server.Get(CServicePaths::kShow,
               [this](const httplib::Request& request, httplib::Response& response) {
                   show(request, response);
               });
}

std::string CBeamService::baseUrl(const httplib::Request& request, const CServiceOptions& options) {
    if (!options.publicUrl.empty())
        return options.publicUrl;
    const std::string host = request.get_header_value("Host");
    if (IsHostText(host))
        return "http://" + host;
    const bool v6 = request.local_addr.find(':') != std::string::npos;
    return "http://" + (v6 ? "[" + request.local_addr + "]" : request.local_addr) + ":" +
           std::to_string(request.local_port);
}

std::string CBeamService::queryOf(const httplib::Request& request) {
    const size_t mark = request.target.find('?');
    return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

void CBeamService::upload(const httplib::Request& request, httplib::Response& response,
                          const httplib::ContentReader& reader) {
    const std::string label = Label(0, request);
    CMultipartForm form(m_options.maxFileSize + kFormOverhead);
    // The misbehaviour switch: drop the connection once enough of the form has come in.
    CConnectionSocket socket;
    if (m_options.dropUploadBytes >= 0)
        socket =
            CConnectionSocket::find(request.local_port, request.remote_addr, request.remote_port);
    uint64_t received = 0;
    bool dropped = false;
    const auto arrived = [&](size_t size) {
        received += size;
        if (m_options.dropUploadBytes >= 0 && received >= uint64_t(m_options.dropUploadBytes)) {
            socket.drop();
            dropped = true;
            return false;
        }
        return true;
    };

    bool complete = false;
    if (request.is_multipart_form_data()) {
        complete = reader(
            [&](const httplib::MultipartFormData& part) {
                form.beginPart(part.name, part.filename);
                return true;
            },
            [&](const char* data, size_t size) {
                if (!arrived(size))
                    return false;
                form.append(data, size);
                return true;
            });
    } else {
        complete = reader([&](const char*, size_t size) { return arrived(size); });
    }

    if (dropped) {
        m_log.line(label + " dropped the connection after " + std::to_string(received) +
                   " bytes of the form (--drop-upload)");
        response.set_header("Connection", "close");
        return;
    }
    std::vector<std::string> lines;
    if (!complete) {
        // The library refuses a body over its payload limit before the form is read.
        const bool tooLarge =
            request.get_header_value<uint64_t>("Content-Length") > m_options.maxFileSize;
        m_log.line(label +
                   (tooLarge ? " refused: the form is too large" : " the form could not be read"));
        lines = {tooLarge ? CAnswerStatus::kTooLarge : CAnswerStatus::kNoFile};
    } else if (m_options.failPhase == 0) {
        lines = {CAnswerStatus::failure(m_options.failStatus)};
    } else {
        lines = acceptUpload(request, form);
    }
    answer(request, response, 0, std::move(lines));
}

std::vector<std::string> CBeamService::acceptUpload(const httplib::Request& request,
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
        const std::string& text = limit->content;
        uint64_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && !text.empty())
            formLimit = value;
    }
    if (file->size > m_options.maxFileSize || file->size > formLimit || form.overflowed()) {
        m_log.line(label + " refused: " + std::to_string(file->size) + " bytes is too large");
        return {CAnswerStatus::kTooLarge};
    }
    VorbisStreamInfo stream;
    std::string reason;
    if (!CVorbisProbe::probe(file->content, stream, reason)) {
        m_log.line(label + " refused " + std::to_string(file->size) + " bytes: " + reason);
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

void CBeamService::prepare(const httplib::Request& request, httplib::Response& response) {
    if (m_options.failPhase == 1)
        return answer(request, response, 1, {CAnswerStatus::failure(m_options.failStatus)});
    const std::string token = m_board.prepare(queryOf(request));
    if (token.empty())
        return answer(request, response, 1, {CAnswerStatus::kUnknownTransfer});
    answer(request, response, 1,
           {"TOKEN:" + token, "CONTINUE:" + baseUrl(request, m_options) + CServicePaths::kShow,
            CAnswerStatus::kOk});
}

void CBeamService::show(const httplib::Request& request, httplib::Response& response) {
    // Without a failure or a missing status line the answer waits for the person.
    const bool held = m_options.failPhase != 2 && m_options.noStatusPhase != 2;
    const auto transfer = m_board.show(queryOf(request), held);
    if (!transfer)
        return answer(request, response, 2, {CAnswerStatus::kUnknownTransfer});

    std::vector<std::string> lines{"TOKEN:" + transfer->pageToken};
    if (!m_options.missingParams) {
        lines.push_back("SHOW:" + baseUrl(request, m_options) + CServicePaths::kTransfer);
        lines.push_back("SIZE:" + m_options.browserSize);
    }
    lines.push_back(m_options.failPhase == 2 ? CAnswerStatus::failure(m_options.failStatus)
                                             : CAnswerStatus::kWaiting);
    answer(request, response, 2, std::move(lines), held ? transfer : nullptr);
}

void CBeamService::answer(const httplib::Request& request, httplib::Response& response, int phase,
                          std::vector<std::string> lines, std::shared_ptr<CTransfer> held) {
    if (phase == m_options.noStatusPhase && !lines.empty())
        lines.pop_back();
    // The protocol's status is in the lines; the HTTP status is always 200.
    response.status = 200;
    // Compression would hold lines back until the answer ends; the answer is sent as it is.
    const_cast<httplib::Request&>(request).headers.erase("Accept-Encoding");
    CConnectionSocket socket;
    if (held)
        socket =
            CConnectionSocket::find(request.local_port, request.remote_addr, request.remote_port);
    CAnswerStream::attach(response,
                          std::make_shared<CAnswerStream>(
                              m_board, m_log, Label(phase, request), std::move(lines),
                              CAnswerStream::Settings{m_options.slowMs, m_options.heartbeatSeconds},
                              std::move(held), socket));
}
