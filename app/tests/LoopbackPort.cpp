#include "LoopbackPort.h"

namespace apptest {

LoopbackPort::LoopbackPort(int backlog) {
    m_socket.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(m_socket.Get(), reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    if (backlog > 0) listen(m_socket.Get(), backlog);
}

}  // namespace apptest
