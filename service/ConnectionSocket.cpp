#include "ConnectionSocket.h"

#include <arpa/inet.h>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The address text and port of a socket address, for IPv4 and IPv6.
bool AddressOf(const sockaddr_storage& address, std::string& text, int& port) {
    char buffer[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        inet_ntop(AF_INET, &in.sin_addr, buffer, sizeof buffer);
        port = ntohs(in.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        inet_ntop(AF_INET6, &in6.sin6_addr, buffer, sizeof buffer);
        port = ntohs(in6.sin6_port);
    } else {
        return false;
    }
    text = buffer;
    return true;
}

} // namespace

CConnectionSocket CConnectionSocket::find(int localPort, const std::string& remoteAddress,
                                          int remotePort) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        int fd = -1;
        try {
            fd = std::stoi(entry.path().filename().string());
        } catch (const std::exception&) {
            continue;
        }
        sockaddr_storage local{}, peer{};
        socklen_t localSize = sizeof local, peerSize = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0)
            continue;
        std::string localText, peerText;
        int localPortFound = 0, peerPort = 0;
        if (AddressOf(local, localText, localPortFound) && AddressOf(peer, peerText, peerPort) &&
            localPortFound == localPort && peerPort == remotePort && peerText == remoteAddress)
            return CConnectionSocket(fd);
    }
    return {};
}

bool CConnectionSocket::peerClosed() const {
    if (m_fd < 0)
        return false;
    pollfd watch{m_fd, POLLIN | POLLRDHUP, 0};
    if (poll(&watch, 1, 0) <= 0)
        return false;
    if (watch.revents & (POLLRDHUP | POLLHUP | POLLERR))
        return true;
    char byte;
    return recv(m_fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

void CConnectionSocket::drop() const {
    if (m_fd < 0)
        return;
    // A zero linger time makes the library's later close send a reset instead of a orderly end.
    const linger reset{1, 0};
    setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    shutdown(m_fd, SHUT_RDWR);
}
