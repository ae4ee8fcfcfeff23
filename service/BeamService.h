// The service's side of the beaming protocol: the upload and the two continue requests.
#pragma once

#include "AnswerStream.h"
#include "ServiceOptions.h"

#include <string>
#include <vector>

namespace httplib {
class ContentReader;
class Server;
struct Request;
struct Response;
} // namespace httplib

class CMultipartForm;
class CRingtoneStore;
class CServiceLog;
class CTokenSource;
class CTransferBoard;

// Phase 0 (POST of the form with MAX_FILE_SIZE and userfile) answers TOKEN, DIGEST, CONTINUE
// and a status; phase 1 answers TOKEN, CONTINUE and a status; phase 2 answers TOKEN, SHOW and
// SIZE, the waiting line, and then holds the answer until the person's choice on the page.
class CBeamService {
public:
    CBeamService(httplib::Server& server, CTransferBoard& board, CRingtoneStore& store,
                 CTokenSource& tokens, CServiceLog& log, const CServiceOptions& options);

    // The start of the addresses written into answers: --public-url, else "http://" and the
    // request's Host header, else the address the request came in on.
    static std::string baseUrl(const httplib::Request& request, const CServiceOptions& options);
    // The text after the first "?" of the request's target: the token the program appended.
    static std::string queryOf(const httplib::Request& request);

private:
    void upload(const httplib::Request& request, httplib::Response& response,
                const httplib::ContentReader& reader);
    void prepare(const httplib::Request& request, httplib::Response& response);
    void show(const httplib::Request& request, httplib::Response& response);

    // The answer lines for a complete upload: checks, stores and opens a transfer.
    std::vector<std::string> acceptUpload(const httplib::Request& request,
                                          const CMultipartForm& form);
    // Sends the lines (without the status line when phase is the --no-status phase).
    void answer(const httplib::Request& request, httplib::Response& response, int phase,
                std::vector<std::string> lines, std::shared_ptr<CTransfer> held = nullptr);

    CTransferBoard& m_board;
    CRingtoneStore& m_store;
    CTokenSource& m_tokens;
    CServiceLog& m_log;
    const CServiceOptions& m_options;
};
