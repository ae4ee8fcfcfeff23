#include "ServiceSite.h"

#include "BeamService.h"
#include "HelpPages.h"
#include "Pages.h"
#include "PhoneNumber.h"
#include "RingtoneStore.h"
#include "ServiceLog.h"
#include "ServicePaths.h"
#include "TransferBoard.h"
#include "WebText.h"

#include <httplib.h>

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

} // namespace

CServiceSite::CServiceSite(httplib::Server& server, CTransferBoard& board, CRingtoneStore& store,
                           CServiceLog& log, const CServiceOptions& options)
    : m_board(board), m_store(store), m_log(log), m_options(options) {
    using httplib::Request;
    using httplib::Response;
    server.Get("/", [this](const Request& rq, Response& rs) { home(rq, rs); });
    server.Get(CServicePaths::kTransfer,
               [this](const Request& rq, Response& rs) { transferPage(rq, rs); });
    server.Post(CServicePaths::kSend, [this](const Request& rq, Response& rs) { send(rq, rs); });
    server.Post(CServicePaths::kPay, [this](const Request& rq, Response& rs) { pay(rq, rs); });
    server.Post(CServicePaths::kCancel,
                [this](const Request& rq, Response& rs) { cancel(rq, rs); });
    server.Get(std::string(CServicePaths::kRingtones) + "/([0-9a-f]{1,64})/([^/]*)",
               [this](const Request& rq, Response& rs) { ringtone(rq, rs); });
    server.Get(CServicePaths::kInbox, [this](const Request& rq, Response& rs) { inbox(rq, rs); });
    server.Get(CServicePaths::kHelp, [](const Request& rq, Response& rs) {
        rs.set_content(CHelpPages::help(CHelpPages::languageOf(rq)), kHtml);
    });
    // Errors of the library itself (unknown address, bad request) get a page too.
    server.set_error_handler([](const Request&, Response& rs) {
        if (rs.body.empty())
            rs.set_content(CPages::message("Error " + std::to_string(rs.status),
                                           rs.status == 404 ? "There is no page at this address."
                                                            : "The request could not be served."),
                           kHtml);
    });
}

void CServiceSite::home(const httplib::Request& request, httplib::Response& response) {
    response.set_content(CHelpPages::home(CHelpPages::languageOf(request), m_store.count(),
                                          m_store.inbox({}).size()),
                         kHtml);
}

bool CServiceSite::showTransfer(httplib::Response& response, const std::string& token,
                                const std::string& error, const std::string& phoneTyped) {
    const auto transfer = m_board.find(token);
    const auto ringtone = transfer ? m_store.find(transfer->ringtoneId) : std::nullopt;
    if (!ringtone)
        return false;
    TransferPageData data{token, *ringtone, *transfer, m_options.payment, phoneTyped, error};
    response.set_header("Cache-Control", "no-store");
    response.set_content(CPages::transfer(data), kHtml);
    return true;
}

void CServiceSite::transferPage(const httplib::Request& request, httplib::Response& response) {
    if (!showTransfer(response, CBeamService::queryOf(request)))
        unknownTransfer(response);
}

void CServiceSite::backToTransfer(httplib::Response& response, const std::string& token) {
    response.set_redirect(std::string(CServicePaths::kTransfer) + "?" + CWebText::encodeUrl(token),
                          303);
}

void CServiceSite::unknownTransfer(httplib::Response& response) {
    response.status = 404;
    response.set_content(CPages::message("Unknown transfer",
                                         "This transfer is unknown or has expired. Beam the "
                                         "ringtone again from Quillet."),
                         kHtml);
}

void CServiceSite::send(const httplib::Request& request, httplib::Response& response) {
    const std::string token = request.get_param_value("token");
    const std::string typed = request.get_param_value("phone");
    const auto transfer = m_board.find(token);
    if (!transfer)
        return unknownTransfer(response);
    const auto phone = CPhoneNumber::normalize(typed);
    if (!phone) {
        showTransfer(response, token,
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
        return backToTransfer(response, token);
    case CTransferBoard::Choice::NotPaid:
        showTransfer(response, token, "Please pay before sending.", typed);
        return;
    case CTransferBoard::Choice::NotRecorded:
        m_log.line("transfer " + id + ": the delivery to " + *phone + " could not be recorded");
        showTransfer(response, token, "The service could not record the delivery. Try again.",
                     typed);
        return;
    case CTransferBoard::Choice::Unknown:
        return unknownTransfer(response);
    case CTransferBoard::Choice::Closed:
        return backToTransfer(response, token);
    }
}

void CServiceSite::pay(const httplib::Request& request, httplib::Response& response) {
    const std::string token = request.get_param_value("token");
    const auto transfer = m_board.find(token);
    if (!transfer)
        return unknownTransfer(response);
    if (!transfer->paid && m_board.pay(token) == CTransferBoard::Choice::Done)
        m_log.line("transfer " + transfer->ringtoneId + ": paid");
    backToTransfer(response, token);
}

void CServiceSite::cancel(const httplib::Request& request, httplib::Response& response) {
    const std::string token = request.get_param_value("token");
    const auto transfer = m_board.find(token);
    if (!transfer)
        return unknownTransfer(response);
    if (m_board.cancel(token) == CTransferBoard::Choice::Done)
        m_log.line("transfer " + transfer->ringtoneId + ": cancelled on the page");
    backToTransfer(response, token);
}

void CServiceSite::ringtone(const httplib::Request& request, httplib::Response& response) {
    const std::string id = request.matches[1];
    const auto ringtone = m_store.find(id);
    auto bytes = ringtone ? m_store.readBytes(id) : std::nullopt;
    if (!bytes) {
        response.status = 404;
        response.set_content(CPages::message("Unknown ringtone", "There is no such ringtone."),
                             kHtml);
        return;
    }
    // A browser that follows the download link saves the file; the program strips the query
    // and saves it itself.
    if (request.has_param(CServicePaths::kDirectDownload)) {
        const std::string name = CWebText::toUtf8(ringtone->fileName);
        response.set_header("Content-Disposition",
                            "attachment; filename=\"" + CWebText::addressFileName(name) +
                                "\"; filename*=UTF-8''" + CWebText::encodeUrl(name));
    }
    response.set_content(*bytes, "audio/ogg");
}

void CServiceSite::inbox(const httplib::Request& request, httplib::Response& response) {
    const std::string typed = request.get_param_value("phone");
    std::string phone;
    std::string error;
    if (!typed.empty()) {
        if (const auto normalized = CPhoneNumber::normalize(typed))
            phone = *normalized;
        else
            error = "That is not a phone number: 3 to 15 digits, with an optional leading +.";
    }
    const auto deliveries = error.empty() ? m_store.inbox(phone) : std::vector<Delivery>{};
    response.set_header("Cache-Control", "no-store");
    response.set_content(CPages::inbox(phone, typed, deliveries, error), kHtml);
}
