// The open transfers, the tokens that lead to them, and the waits of the held phase-2 answers.
#pragma once

#include "Transfer.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class CTokenSource;

// Every token is good for one step: the phase-0 token for phase 1, the phase-1 token for
// phase 2; the page token stays good for the page. One lock guards all transfers, and one
// condition wakes the held answers, the pauses of slow answers and the stop.
class CTransferBoard {
public:
    // What became of a choice made on the page.
    enum class Choice { Done, Unknown, Closed, NotPaid, NotRecorded };
    // What a held answer's wait brought.
    enum class Wait { Line, Timeout, Stopping };

    explicit CTransferBoard(CTokenSource& tokens) : m_tokens(tokens) {}

    // Phase 0: a new transfer of the ringtone; the token for phase 1.
    std::string open(const std::string& ringtoneId);
    // Phase 1: the token for phase 2 in exchange for the phase-0 token; empty when unknown.
    std::string prepare(const std::string& token);
    // Phase 2: the transfer of the phase-1 token, with its page token set; held marks the
    // answer as waiting for the person, otherwise the transfer ends at once. Null when unknown.
    std::shared_ptr<CTransfer> show(const std::string& token, bool held);
    // A copy of the transfer a page token opens.
    std::optional<CTransfer> find(const std::string& pageToken) const;

    // The person's choices. Sending needs an open, held transfer (and a payment first when
    // paymentNeeded); record runs under the lock before the transfer is marked sent and
    // "200 Ringtone sent" is queued, and its failure makes the choice NotRecorded.
    Choice send(const std::string& pageToken, const std::string& phone, bool paymentNeeded,
                const std::function<bool()>& record);
    // Queues "450 Payment done" once; the answer goes on.
    Choice pay(const std::string& pageToken);
    // Queues "500 Transfer cancelled by the user", which ends the answer.
    Choice cancel(const std::string& pageToken);

    // For a held answer: waits until a line is queued, the service stops, or until. last tells
    // that the line ends the answer.
    Wait nextLine(CTransfer& transfer, std::string& line, bool& last,
                  std::chrono::steady_clock::time_point until);
    // The held answer has ended; an open transfer takes the outcome why.
    void release(CTransfer& transfer, CTransfer::Outcome why);

    // Answers being written: the stop waits for them.
    void answerStarted();
    void answerFinished();
    // Waits for the given time; false at once when the service stops.
    bool pause(std::chrono::milliseconds duration);
    bool stopping() const;
    // Ends every wait and held answer; then waits, up to bound, until the answers are written.
    void stop(std::chrono::milliseconds bound);

private:
    enum class Step { Prepare, Show, Page };
    struct Entry {
        std::shared_ptr<CTransfer> transfer;
        Step step;
    };
    std::shared_ptr<CTransfer> lookup(const std::string& token, Step step) const;
    // Forgets transfers that ended, or were never continued, an hour ago.
    void prune();

    CTokenSource& m_tokens;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Entry> m_entries;
    bool m_stopping = false;
    int m_answers = 0;
};
