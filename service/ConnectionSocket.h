// The socket of the connection a request came in on, to watch for the client leaving or to drop it.
#pragma once

#include <string>

// The HTTP library does not hand its sockets to handlers; the socket is found among the
// process's open descriptors by the connection's local port and the client's address and port.
// It stays owned by the library: this class never closes it.
class CConnectionSocket {
public:
    CConnectionSocket() = default;
    // The socket whose local port is localPort and whose peer is remoteAddress:remotePort;
    // an invalid object when there is none.
    static CConnectionSocket find(int localPort, const std::string& remoteAddress, int remotePort);

    bool isValid() const { return m_fd >= 0; }
    // True once the client has closed or reset the connection (checked without waiting).
    bool peerClosed() const;
    // Ends the connection at once, with a reset: no more bytes are read or written on it.
    void drop() const;

private:
    explicit CConnectionSocket(int fd) : m_fd(fd) {}
    int m_fd = -1;
};
