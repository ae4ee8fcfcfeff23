// The built quillet-service for one test.
#include "support/ServiceProcess.h"

#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

CServiceProcess::CServiceProcess(const std::vector<std::string>& switches,
                                 const std::string& store) {
    std::vector<std::string> args{QUILLET_BIN_DIR "/quillet-service",
                                  "--port",
                                  "0",
                                  "--heartbeat",
                                  "0",
                                  "--store",
                                  store.empty() ? QFile::encodeName(m_ownStore.path()).toStdString()
                                                : store};
    args.insert(args.end(), switches.begin(), switches.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return;
    fcntl(out[0], F_SETPIPE_SZ, 1 << 20); // room for the log between reads
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    m_out = out[0];
    // The first line names the address: "quillet-service listening on http://127.0.0.1:PORT/".
    const std::string marker = "listening on http://127.0.0.1:";
    if (m_pid > 0 && waitForLog(marker)) {
        const std::string& first = m_lines.front();
        m_port = std::atoi(first.c_str() + first.find(marker) + marker.size());
    }
}

CServiceProcess::~CServiceProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    close(m_out);
}

std::string CServiceProcess::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

bool CServiceProcess::waitForLog(const std::string& text, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (size_t checked = 0;;) {
        for (; checked < m_lines.size(); ++checked)
            if (m_lines[checked].find(text) != std::string::npos)
                return true;
        if (!readOutput(deadline))
            return false;
    }
}

int CServiceProcess::stop(int signal) {
    if (m_pid <= 0)
        return -1;
    kill(m_pid, signal);
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (readOutput(deadline)) {
    }
    if (std::chrono::steady_clock::now() >= deadline)
        return -1;
    int status = 0;
    if (waitpid(m_pid, &status, 0) != m_pid)
        return -1;
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool CServiceProcess::readOutput(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd watch{m_out, POLLIN, 0};
    if (left.count() <= 0 || poll(&watch, 1, int(left.count())) <= 0)
        return false;
    char buffer[4096];
    const ssize_t got = read(m_out, buffer, sizeof buffer);
    if (got <= 0)
        return false;
    m_pending.append(buffer, size_t(got));
    for (size_t end; (end = m_pending.find('\n')) != std::string::npos; m_pending.erase(0, end + 1))
        m_lines.push_back(m_pending.substr(0, end));
    return true;
}
