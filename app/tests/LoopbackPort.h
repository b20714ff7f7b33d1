#pragma once
// A loopback TCP port for the tests' stand-in servers: bound at once, and
// listening only when given a backlog, so that a port without one refuses
// every connection (a server that is not there) and one with a backlog
// accepts and leaves the answers to its owner (or to nobody).
#include "CSocketHandle.h"
#include "CWinsockStartup.h"

#include <string>

namespace apptest {

class LoopbackPort {
public:
    explicit LoopbackPort(int backlog = 0);
    int Port() const { return m_port; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    SOCKET Socket() const { return m_socket.Get(); }
    // Closing ends an accept waiting on the socket.
    void Close() { m_socket.Reset(); }

private:
    CWinsockStartup m_winsock;
    CSocketHandle m_socket;
    int m_port = 0;
};

}  // namespace apptest
