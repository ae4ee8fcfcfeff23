// Turns SIGTERM and SIGINT into a stop action run on a thread of its own.
#pragma once

#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

// Construct it before any other thread starts: it blocks the two signals in the calling thread,
// and every thread started later inherits the block, so only its own thread receives them. A
// second signal, while the stop is still under way, ends the process at once.
class CStopSignals {
public:
    CStopSignals();
    // Ends the waiting thread (without running the action when no signal came).
    ~CStopSignals();
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

    // Starts waiting; onSignal runs once, with the signal's number, when one arrives.
    void start(std::function<void(int)> onSignal);

private:
    sigset_t m_signals{};
    std::thread m_thread;
    std::atomic<bool> m_closing{false};
};
