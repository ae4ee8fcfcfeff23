// The built quillet-service for one test: started on a free port of 127.0.0.1, its log followed,
// stopped by a signal. It is spawned with posix_spawn and read without threads of its own, so a
// test under ThreadSanitizer may start threads and processes around it.
#pragma once

#include <QTemporaryDir>
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

class CServiceProcess {
public:
    // How long a test waits for any one event before it gives up.
    static constexpr std::chrono::milliseconds kBound{30000};

    // Starts quillet-service --port 0 --heartbeat 0 with the switches (later ones win) in the
    // store folder (empty: a private one) and waits for its "listening" line.
    explicit CServiceProcess(const std::vector<std::string>& switches = {},
                             const std::string& store = {});
    // Kills a service that is still running.
    ~CServiceProcess();
    CServiceProcess(const CServiceProcess&) = delete;
    CServiceProcess& operator=(const CServiceProcess&) = delete;

    // True when the service reported its address.
    bool started() const { return m_port > 0; }
    // True until stop has seen the process end.
    bool running() const { return m_pid > 0; }
    int port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(const std::string& path) const;

    // Waits until a log line holds the text; false when none did within the bound.
    bool waitForLog(const std::string& text, std::chrono::milliseconds bound = kBound);
    // The log lines read so far.
    const std::vector<std::string>& log() const { return m_lines; }
    // Sends the signal, reads the log to its end and waits for the process. The exit status (the
    // code of a normal exit, 128 + the signal that killed it), or -1 when it did not end in time.
    int stop(int signal);

private:
    // Reads what the service wrote until the deadline; false at the output's end or then.
    bool readOutput(std::chrono::steady_clock::time_point deadline);

    QTemporaryDir m_ownStore;
    pid_t m_pid = -1;
    int m_out = -1;
    int m_port = 0;
    std::string m_pending;
    std::vector<std::string> m_lines;
};
