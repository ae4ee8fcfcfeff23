// The service's side of the beaming protocol: the upload and the two continue requests.
#pragma once

#include "AnswerStream.h"
#include "ServiceOptions.h"

#include <string>
#include <vector>

class CHttpServer;
class CMultipartForm;
struct CHttpReply;
struct CHttpRequest;
class CRingtoneStore;
class CServiceLog;
class CTokenSource;
class CTransferBoard;

// Phase 0 (POST of the form with MAX_FILE_SIZE and userfile) answers TOKEN, DIGEST, CONTINUE
// and a status; phase 1 answers TOKEN, CONTINUE and a status; phase 2 answers TOKEN, SHOW and
// SIZE, the waiting line, and then holds the answer until the person's choice on the page.
class CBeamService {
public:
    CBeamService(CHttpServer& server, CTransferBoard& board, CRingtoneStore& store,
                 CTokenSource& tokens, CServiceLog& log, const CServiceOptions& options);

    // The start of the addresses written into answers: --public-url, else "http://" and the
    // request's Host header, else the address the request came in on.
    static std::string baseUrl(const CHttpRequest& request, const CServiceOptions& options);

private:
    void upload(const CHttpRequest& request, CHttpReply& reply);
    // The --drop-upload switch: false once enough of the body has come in.
    bool keepReading(const CHttpRequest& request, uint64_t received);
    void prepare(const CHttpRequest& request, CHttpReply& reply);
    void show(const CHttpRequest& request, CHttpReply& reply);

    // The answer lines for a complete upload: checks, stores and opens a transfer.
    std::vector<std::string> acceptUpload(const CHttpRequest& request, const CMultipartForm& form);
    // Sends the lines (without the status line when phase is the --no-status phase).
    void answer(const CHttpRequest& request, CHttpReply& reply, int phase,
                std::vector<std::string> lines, std::shared_ptr<CTransfer> held = nullptr);

    CTransferBoard& m_board;
    CRingtoneStore& m_store;
    CTokenSource& m_tokens;
    CServiceLog& m_log;
    const CServiceOptions& m_options;
};
