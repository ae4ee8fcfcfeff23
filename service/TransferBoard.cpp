#include "TransferBoard.h"

#include "AnswerStatus.h"
#include "TokenSource.h"

using Clock = std::chrono::steady_clock;

std::shared_ptr<CTransfer> CTransferBoard::lookup(const std::string& token, Step step) const {
    const auto it = m_entries.find(token);
    if (it == m_entries.end() || it->second.step != step)
        return nullptr;
    return it->second.transfer;
}

void CTransferBoard::prune() {
    const auto limit = Clock::now() - std::chrono::hours(1);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const CTransfer& transfer = *it->second.transfer;
        if (!transfer.held && transfer.created < limit)
            it = m_entries.erase(it);
        else
            ++it;
    }
}

std::string CTransferBoard::open(const std::string& ringtoneId) {
    auto transfer = std::make_shared<CTransfer>();
    transfer->ringtoneId = ringtoneId;
    const std::string token = m_tokens.next();
    std::lock_guard lock(m_mutex);
    prune();
    m_entries[token] = {std::move(transfer), Step::Prepare};
    return token;
}

std::string CTransferBoard::prepare(const std::string& token) {
    const std::string next = m_tokens.next();
    std::lock_guard lock(m_mutex);
    auto transfer = lookup(token, Step::Prepare);
    if (!transfer)
        return {};
    m_entries.erase(token);
    m_entries[next] = {std::move(transfer), Step::Show};
    return next;
}

std::shared_ptr<CTransfer> CTransferBoard::show(const std::string& token, bool held) {
    const std::string pageToken = m_tokens.next();
    std::lock_guard lock(m_mutex);
    auto transfer = lookup(token, Step::Show);
    if (!transfer)
        return nullptr;
    m_entries.erase(token);
    transfer->pageToken = pageToken;
    transfer->held = held;
    if (!held)
        transfer->outcome = CTransfer::Outcome::Ended;
    m_entries[pageToken] = {transfer, Step::Page};
    return transfer;
}

std::optional<CTransfer> CTransferBoard::find(const std::string& pageToken) const {
    std::lock_guard lock(m_mutex);
    const auto transfer = lookup(pageToken, Step::Page);
    if (!transfer)
        return std::nullopt;
    return *transfer;
}

CTransferBoard::Choice CTransferBoard::send(const std::string& pageToken, const std::string& phone,
                                            bool paymentNeeded,
                                            const std::function<bool()>& record) {
    std::lock_guard lock(m_mutex);
    const auto transfer = lookup(pageToken, Step::Page);
    if (!transfer)
        return Choice::Unknown;
    if (transfer->outcome != CTransfer::Outcome::Open || !transfer->held)
        return Choice::Closed;
    if (paymentNeeded && !transfer->paid)
        return Choice::NotPaid;
    if (!record())
        return Choice::NotRecorded;
    transfer->outcome = CTransfer::Outcome::Sent;
    transfer->phone = phone;
    queue(*transfer, CAnswerStatus::kSent);
    return Choice::Done;
}

CTransferBoard::Choice CTransferBoard::pay(const std::string& pageToken) {
    std::lock_guard lock(m_mutex);
    const auto transfer = lookup(pageToken, Step::Page);
    if (!transfer)
        return Choice::Unknown;
    if (transfer->outcome != CTransfer::Outcome::Open || !transfer->held)
        return Choice::Closed;
    if (!transfer->paid) {
        transfer->paid = true;
        queue(*transfer, CAnswerStatus::kPaid);
    }
    return Choice::Done;
}

CTransferBoard::Choice CTransferBoard::cancel(const std::string& pageToken) {
    std::lock_guard lock(m_mutex);
    const auto transfer = lookup(pageToken, Step::Page);
    if (!transfer)
        return Choice::Unknown;
    if (transfer->outcome != CTransfer::Outcome::Open || !transfer->held)
        return Choice::Closed;
    transfer->outcome = CTransfer::Outcome::Cancelled;
    queue(*transfer, CAnswerStatus::kCancelled);
    return Choice::Done;
}

void CTransferBoard::queue(CTransfer& transfer, const char* line) {
    transfer.lines.push_back(line);
    if (const auto it = m_answers.find(transfer.answer); it != m_answers.end())
        it->second();
}

CTransferBoard::Wait CTransferBoard::nextLine(CTransfer& transfer, std::string& line, bool& last) {
    std::lock_guard lock(m_mutex);
    if (!transfer.lines.empty()) {
        line = std::move(transfer.lines.front());
        transfer.lines.pop_front();
        last = transfer.lines.empty() && transfer.outcome != CTransfer::Outcome::Open;
        return Wait::Line;
    }
    return m_stopping ? Wait::Stopping : Wait::Empty;
}

void CTransferBoard::release(CTransfer& transfer, CTransfer::Outcome why) {
    std::lock_guard lock(m_mutex);
    transfer.held = false;
    transfer.answer = 0;
    transfer.lines.clear();
    if (transfer.outcome == CTransfer::Outcome::Open)
        transfer.outcome = why;
}

int CTransferBoard::answerStarted(std::function<void()> wake, CTransfer* held) {
    std::lock_guard lock(m_mutex);
    const int answer = ++m_lastAnswer;
    m_answers.emplace(answer, std::move(wake));
    if (held)
        held->answer = answer;
    return answer;
}

void CTransferBoard::answerFinished(int answer) {
    std::lock_guard lock(m_mutex);
    m_answers.erase(answer);
    m_changed.notify_all();
}

bool CTransferBoard::stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

void CTransferBoard::stop(std::chrono::milliseconds bound) {
    std::unique_lock lock(m_mutex);
    m_stopping = true;
    for (const auto& [answer, wake] : m_answers)
        wake();
    m_changed.wait_for(lock, bound, [&] { return m_answers.empty(); });
}
