#include "ServiceSite.h"

#include "HelpPages.h"
#include "HttpServer.h"
#include "Pages.h"
#include "PhoneNumber.h"
#include "RingtoneStore.h"
#include "ServiceLog.h"
#include "ServicePaths.h"
#include "TransferBoard.h"
#include "WebText.h"

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

} // namespace

CServiceSite::CServiceSite(CHttpServer& server, CTransferBoard& board, CRingtoneStore& store,
                           CServiceLog& log, const CServiceOptions& options)
    : m_board(board), m_store(store), m_log(log), m_options(options) {
    using Request = CHttpRequest;
    using Reply = CHttpReply;
    server.get("/", [this](const Request& rq, Reply& rs) { home(rq, rs); });
    server.get(CServicePaths::kTransfer,
               [this](const Request& rq, Reply& rs) { transferPage(rq, rs); });
    server.post(CServicePaths::kSend, [this](const Request& rq, Reply& rs) { send(rq, rs); });
    server.post(CServicePaths::kPay, [this](const Request& rq, Reply& rs) { pay(rq, rs); });
    server.post(CServicePaths::kCancel, [this](const Request& rq, Reply& rs) { cancel(rq, rs); });
    server.route({"GET",
                  {},
                  std::regex(std::string(CServicePaths::kRingtones) + "/([0-9a-f]{1,64})/([^/]*)"),
                  [this](const Request& rq, Reply& rs) { ringtone(rq, rs); },
                  nullptr,
                  false});
    server.get(CServicePaths::kInbox, [this](const Request& rq, Reply& rs) { inbox(rq, rs); });
    server.get(CServicePaths::kHelp, [](const Request& rq, Reply& rs) {
        rs.setContent(CHelpPages::help(CHelpPages::languageOf(rq)), kHtml);
    });
    // Errors of the server itself (unknown address, bad request) get a page too.
    server.setErrorPage([](Reply& rs) {
        rs.setContent(CPages::message("Error " + std::to_string(rs.status),
                                      rs.status == 404 ? "There is no page at this address."
                                                       : "The request could not be served."),
                      kHtml);
    });
}

void CServiceSite::home(const CHttpRequest& request, CHttpReply& reply) {
    reply.setContent(CHelpPages::home(CHelpPages::languageOf(request), m_store.count(),
                                      m_store.inbox({}).size()),
                     kHtml);
}

bool CServiceSite::showTransfer(CHttpReply& reply, const std::string& token,
                                const std::string& error, const std::string& phoneTyped) {
    const auto transfer = m_board.find(token);
    const auto ringtone = transfer ? m_store.find(transfer->ringtoneId) : std::nullopt;
    if (!ringtone)
        return false;
    TransferPageData data{token, *ringtone, *transfer, m_options.payment, phoneTyped, error};
    reply.setHeader("Cache-Control", "no-store");
    reply.setContent(CPages::transfer(data), kHtml);
    return true;
}

void CServiceSite::transferPage(const CHttpRequest& request, CHttpReply& reply) {
    if (!showTransfer(reply, request.query))
        unknownTransfer(reply);
}

void CServiceSite::backToTransfer(CHttpReply& reply, const std::string& token) {
    reply.redirect(std::string(CServicePaths::kTransfer) + "?" + CWebText::encodeUrl(token), 303);
}

void CServiceSite::unknownTransfer(CHttpReply& reply) {
    reply.status = 404;
    reply.setContent(CPages::message("Unknown transfer",
                                     "This transfer is unknown or has expired. Beam the "
                                     "ringtone again from Quillet."),
                     kHtml);
}

void CServiceSite::send(const CHttpRequest& request, CHttpReply& reply) {
    const std::string token = request.param("token");
    const std::string typed = request.param("phone");
    const auto transfer = m_board.find(token);
    if (!transfer)
        return unknownTransfer(reply);
    const auto phone = CPhoneNumber::normalize(typed);
    if (!phone) {
        showTransfer(reply, token,
                     "Please enter a phone number: 3 to 15 digits, with an optional leading +.",
                     typed);
        return;
    }
    const std::string id = transfer->ringtoneId;
    const auto choice =
        m_board.send(token, *phone, m_options.payment, [&] { return m_store.deliver(id, *phone); });
    switch (choice) {
    case CTransferBoard::Choice::Done:
        m_log.line("transfer " + id + ": sent to " + *phone);
        return backToTransfer(reply, token);
    case CTransferBoard::Choice::NotPaid:
        showTransfer(reply, token, "Please pay before sending.", typed);
        return;
    case CTransferBoard::Choice::NotRecorded:
        m_log.line("transfer " + id + ": the delivery to " + *phone + " could not be recorded");
        showTransfer(reply, token, "The service could not record the delivery. Try again.", typed);
        return;
    case CTransferBoard::Choice::Unknown:
        return unknownTransfer(reply);
    case CTransferBoard::Choice::Closed:
        return backToTransfer(reply, token);
    }
}

void CServiceSite::pay(const CHttpRequest& request, CHttpReply& reply) {
    const std::string token = request.param("token");
    const auto transfer = m_board.find(token);
    if (!transfer)
        return unknownTransfer(reply);
    if (!transfer->paid && m_board.pay(token) == CTransferBoard::Choice::Done)
        m_log.line("transfer " + transfer->ringtoneId + ": paid");
    backToTransfer(reply, token);
}

void CServiceSite::cancel(const CHttpRequest& request, CHttpReply& reply) {
    const std::string token = request.param("token");
    const auto transfer = m_board.find(token);
    if (!transfer)
        return unknownTransfer(reply);
    if (m_board.cancel(token) == CTransferBoard::Choice::Done)
        m_log.line("transfer " + transfer->ringtoneId + ": cancelled on the page");
    backToTransfer(reply, token);
}

void CServiceSite::ringtone(const CHttpRequest& request, CHttpReply& reply) {
    const std::string id = request.matches.at(1);
    const auto ringtone = m_store.find(id);
    auto bytes = ringtone ? m_store.readBytes(id) : std::nullopt;
    if (!bytes) {
        reply.status = 404;
        reply.setContent(CPages::message("Unknown ringtone", "There is no such ringtone."), kHtml);
        return;
    }
    // A browser that follows the download link saves the file; the program strips the query
    // and saves it itself.
    if (request.hasParam(CServicePaths::kDirectDownload)) {
        const std::string name = CWebText::toUtf8(ringtone->fileName);
        reply.setHeader("Content-Disposition",
                        "attachment; filename=\"" + CWebText::addressFileName(name) +
                            "\"; filename*=UTF-8''" + CWebText::encodeUrl(name));
    }
    reply.setContent(std::move(*bytes), "audio/ogg");
}

void CServiceSite::inbox(const CHttpRequest& request, CHttpReply& reply) {
    const std::string typed = request.param("phone");
    std::string phone;
    std::string error;
    if (!typed.empty()) {
        if (const auto normalized = CPhoneNumber::normalize(typed))
            phone = *normalized;
        else
            error = "That is not a phone number: 3 to 15 digits, with an optional leading +.";
    }
    const auto deliveries = error.empty() ? m_store.inbox(phone) : std::vector<Delivery>{};
    reply.setHeader("Cache-Control", "no-store");
    reply.setContent(CPages::inbox(phone, typed, deliveries, error), kHtml);
}
