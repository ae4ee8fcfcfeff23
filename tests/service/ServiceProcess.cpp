#include "ServiceProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

CServiceProcess::CServiceProcess(const std::string& storeDir,
                                 const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;
    std::vector<std::string> args{QUILLET_BIN_DIR "/quillet-service", "--port", "0", "--store",
                                  storeDir};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        m_pid = -1;
        close(pipeEnds[0]);
        return;
    }
    m_reader = std::thread([this, fd = pipeEnds[0]] { readOutput(fd); });

    // The first line names the address: "quillet-service listening on http://127.0.0.1:PORT/".
    std::unique_lock lock(m_mutex);
    if (m_changed.wait_for(lock, kBound, [&] { return !m_lines.empty() || m_ended; }) &&
        !m_lines.empty()) {
        const std::string& first = m_lines.front();
        const std::string marker = "listening on http://127.0.0.1:";
        if (const size_t at = first.find(marker); at != std::string::npos)
            m_port = std::atoi(first.c_str() + at + marker.size());
    }
}

CServiceProcess::~CServiceProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_reader.joinable())
        m_reader.join();
}

void CServiceProcess::readOutput(int fd) {
    std::string pending;
    char buffer[4096];
    while (true) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        pending.append(buffer, size_t(got));
        std::lock_guard lock(m_mutex);
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            m_lines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
        m_changed.notify_all();
    }
    close(fd);
    std::lock_guard lock(m_mutex);
    if (!pending.empty())
        m_lines.push_back(pending);
    m_ended = true;
    m_changed.notify_all();
}

std::string CServiceProcess::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

bool CServiceProcess::waitForLog(const std::string& text, std::chrono::milliseconds bound) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, bound, [&] {
        for (const std::string& line : m_lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    });
}

std::vector<std::string> CServiceProcess::log() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

int CServiceProcess::stop(int signal, std::chrono::milliseconds bound) {
    if (m_pid <= 0)
        return -1;
    kill(m_pid, signal);
    {
        // The service closes its output when it exits.
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, bound, [&] { return m_ended; }))
            return -1;
    }
    int status = 0;
    if (waitpid(m_pid, &status, 0) != m_pid)
        return -1;
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
