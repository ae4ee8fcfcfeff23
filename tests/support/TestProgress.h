// A progress that records every call in order ("text 119", "sub 120", "range 0", "pos 16384",
// "show 0") and cancels on request; safe to call from any thread.
#pragma once

#include "app/IOpProgress.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class CTestProgress : public IOpProgress {
public:
    // IsCanceled answers true from its call number cancelAtCall on (counting from 0), or once
    // the step with the text cancelAtText has begun; -1 never.
    explicit CTestProgress(int cancelAtCall = -1, int cancelAtText = -1)
        : m_cancelAtCall(cancelAtCall), m_cancelAtText(cancelAtText) {}

    void SetTextId(int id) override { add("text " + std::to_string(id)); }
    void SetSubTextId(int id) override { add("sub " + std::to_string(id)); }
    void SetRange(uint32_t total) override { add("range " + std::to_string(total)); }
    void SetPos(uint32_t done) override;
    void Show(bool show) override { add(show ? "show 1" : "show 0"); }
    bool IsCanceled() override;

    // Waits until the call has been made; false when the bound passed.
    bool waitForCall(const std::string& call);
    void clear();
    // The calls that start with the prefix.
    std::vector<std::string> calls(const std::string& prefix = {}) const;
    // The numbers of the calls that start with the prefix.
    std::vector<uint32_t> numbers(const std::string& prefix) const;
    std::vector<uint32_t> ranges() const { return numbers("range "); }
    std::vector<uint32_t> positions() const { return numbers("pos "); }
    // True when the last Show call showed the progress.
    bool shown() const;
    // True when the positions never go back.
    bool positionsRise() const;

    std::atomic<bool> cancel{false};
    std::atomic<int> cancelAtPos{0};     // cancel once that many units were reported done
    std::atomic<int> asked{0};           // IsCanceled calls so far
    std::function<void(uint32_t)> onPos; // runs on every SetPos

private:
    void add(std::string call);

    const int m_cancelAtCall;
    const int m_cancelAtText;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_calls;
};

} // namespace testsupport
