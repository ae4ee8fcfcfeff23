// Runs the built quillet-service for a test: starts it on a free port, follows its log, stops it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

class CServiceProcess {
public:
    // How long a test waits for any one event of the service before it gives up.
    static constexpr auto kBound = std::chrono::seconds(30);

    // Starts QUILLET_BIN_DIR/quillet-service --port 0 --store storeDir with the extra arguments
    // and waits for its "listening" line. started() tells whether that line came.
    CServiceProcess(const std::string& storeDir, const std::vector<std::string>& arguments = {});
    // Kills a service that is still running.
    ~CServiceProcess();
    CServiceProcess(const CServiceProcess&) = delete;
    CServiceProcess& operator=(const CServiceProcess&) = delete;

    // The output of a run of the service that ends by itself.
    struct Run {
        int status = -1; // as stop returns it
        std::string out;
        std::string err;
    };
    // Runs QUILLET_BIN_DIR/quillet-service with the arguments until it exits (killed after the
    // bound). Spawned without fork, so a test under ThreadSanitizer can start threads after it.
    static Run run(const std::vector<std::string>& arguments);

    bool started() const { return m_port > 0; }
    // True until stop has seen the process end.
    bool running() const { return m_pid > 0; }
    int port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(const std::string& path) const;

    // Waits until a log line holds the text; false when none did within the bound.
    bool waitForLog(const std::string& text, std::chrono::milliseconds bound = kBound);
    std::vector<std::string> log() const;

    // Sends the signal and waits for the process to end. The exit status (the code of a normal
    // exit, or 128 + the signal that killed it); -1 when it did not end within the bound.
    int stop(int signal, std::chrono::milliseconds bound = kBound);

private:
    void readOutput(int fd);

    pid_t m_pid = -1;
    int m_port = 0;
    std::thread m_reader;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
    bool m_ended = false; // the service closed its output
};
