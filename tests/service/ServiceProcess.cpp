#include "ServiceProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The program's path and the arguments, as posix_spawn takes them (valid while args lives).
std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

int ExitStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

CServiceProcess::Run CServiceProcess::run(const std::vector<std::string>& arguments) {
    Run result;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return result;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return result;
    }
    std::vector<std::string> args{QUILLET_BIN_DIR "/quillet-service"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    auto argv = Argv(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned == 0) {
        // Reads both outputs until both end or the bound passes.
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        std::string* texts[2] = {&result.out, &result.err};
        int open = 2;
        while (open > 0 && std::chrono::steady_clock::now() < deadline) {
            if (poll(fds, 2, 100) <= 0)
                continue;
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0)
                    continue;
                char buffer[4096];
                const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
                if (got > 0) {
                    texts[i]->append(buffer, size_t(got));
                } else if (got == 0 || errno != EINTR) {
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
        if (open > 0)
            kill(pid, SIGKILL);
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && open == 0)
            result.status = ExitStatus(status);
    }
    close(out[0]);
    close(err[0]);
    return result;
}

CServiceProcess::CServiceProcess(const std::string& storeDir,
                                 const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return;
    std::vector<std::string> args{QUILLET_BIN_DIR "/quillet-service", "--port", "0", "--store",
                                  storeDir};
    args.insert(args.end(), arguments.begin(), arguments.end());
    auto argv = Argv(args);
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
    return ExitStatus(status);
}
