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
// phase 2; the page token stays good for the page. One lock guards all transfers. The answers
// being written register a wake action: a line queued on a held transfer wakes its answer, the
// stop wakes them all; the actions only hand the wake over to the answer's own strand.
class CTransferBoard {
public:
    // What became of a choice made on the page.
    enum class Choice { Done, Unknown, Closed, NotPaid, NotRecorded };
    // What a held answer found when it looked.
    enum class Wait { Line, Empty, Stopping };

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

    // For a held answer: takes the next queued line without waiting. last tells that the line
    // ends the answer.
    Wait nextLine(CTransfer& transfer, std::string& line, bool& last);
    // The held answer has ended; an open transfer takes the outcome why.
    void release(CTransfer& transfer, CTransfer::Outcome why);

    // An answer being written, with the action that wakes it; held, when set, is the transfer
    // it waits on. The answer's number for answerFinished.
    int answerStarted(std::function<void()> wake, CTransfer* held);
    // The answer has ended; the stop waits for every one.
    void answerFinished(int answer);
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
    // Queues a status line on the transfer and wakes its answer; under the lock.
    void queue(CTransfer& transfer, const char* line);

    CTokenSource& m_tokens;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Entry> m_entries;
    bool m_stopping = false;
    std::map<int, std::function<void()>> m_answers;
    int m_lastAnswer = 0;
};
