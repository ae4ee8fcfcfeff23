#include "StopSignals.h"

#include <cstdlib>
#include <pthread.h>

CStopSignals::CStopSignals() {
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGTERM);
    sigaddset(&m_signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
}

CStopSignals::~CStopSignals() {
    if (!m_thread.joinable())
        return;
    m_closing = true;
    pthread_kill(m_thread.native_handle(), SIGTERM);
    m_thread.join();
}

void CStopSignals::start(std::function<void(int)> onSignal) {
    m_thread = std::thread([this, onSignal = std::move(onSignal)] {
        bool stopping = false;
        int signal = 0;
        while (sigwait(&m_signals, &signal) == 0 && !m_closing) {
            if (stopping)
                std::_Exit(128 + signal);
            stopping = true;
            onSignal(signal);
        }
    });
}
