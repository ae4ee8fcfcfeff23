// The pages a person uses: the transfer page with its choices, the ringtone files, the inbox.
#pragma once

#include "ServiceOptions.h"

#include <string>

class CHttpServer;
struct CHttpReply;
struct CHttpRequest;
class CRingtoneStore;
class CServiceLog;
class CTransferBoard;

class CServiceSite {
public:
    CServiceSite(CHttpServer& server, CTransferBoard& board, CRingtoneStore& store,
                 CServiceLog& log, const CServiceOptions& options);

private:
    void transferPage(const CHttpRequest& request, CHttpReply& reply);
    void send(const CHttpRequest& request, CHttpReply& reply);
    void pay(const CHttpRequest& request, CHttpReply& reply);
    void cancel(const CHttpRequest& request, CHttpReply& reply);
    void ringtone(const CHttpRequest& request, CHttpReply& reply);
    void inbox(const CHttpRequest& request, CHttpReply& reply);
    void home(const CHttpRequest& request, CHttpReply& reply);

    // Shows the transfer page of the token, with a message and the number typed; false when the
    // token opens no transfer.
    bool showTransfer(CHttpReply& reply, const std::string& token, const std::string& error = {},
                      const std::string& phoneTyped = {});
    // After a choice: back to the transfer page (a GET, so a reload does not choose again).
    static void backToTransfer(CHttpReply& reply, const std::string& token);
    static void unknownTransfer(CHttpReply& reply);

    CTransferBoard& m_board;
    CRingtoneStore& m_store;
    CServiceLog& m_log;
    const CServiceOptions& m_options;
};
