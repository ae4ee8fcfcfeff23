// The pages a person uses: the transfer page with its choices, the ringtone files, the inbox.
#pragma once

#include "ServiceOptions.h"

#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

class CRingtoneStore;
class CServiceLog;
class CTransferBoard;

class CServiceSite {
public:
    CServiceSite(httplib::Server& server, CTransferBoard& board, CRingtoneStore& store,
                 CServiceLog& log, const CServiceOptions& options);

private:
    void transferPage(const httplib::Request& request, httplib::Response& response);
    void send(const httplib::Request& request, httplib::Response& response);
    void pay(const httplib::Request& request, httplib::Response& response);
    void cancel(const httplib::Request& request, httplib::Response& response);
    void ringtone(const httplib::Request& request, httplib::Response& response);
    void inbox(const httplib::Request& request, httplib::Response& response);
    void home(const httplib::Request& request, httplib::Response& response);

    // Shows the transfer page of the token, with a message and the number typed; false when the
    // token opens no transfer.
    bool showTransfer(httplib::Response& response, const std::string& token,
                      const std::string& error = {}, const std::string& phoneTyped = {});
    // After a choice: back to the transfer page (a GET, so a reload does not choose again).
    static void backToTransfer(httplib::Response& response, const std::string& token);
    static void unknownTransfer(httplib::Response& response);

    CTransferBoard& m_board;
    CRingtoneStore& m_store;
    CServiceLog& m_log;
    const CServiceOptions& m_options;
};
