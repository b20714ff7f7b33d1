#pragma once
// Winsock before windows.h would matter only without WIN32_LEAN_AND_MEAN,
// which every target of the tree defines.
#include <winsock2.h>

// The one owner of a Winsock socket, closed with closesocket. Copying is
// deleted; moving hands the socket on and leaves the source empty. The
// program links ws2_32 and keeps a CWinsockStartup alive while it has sockets.
class CSocketHandle {
public:
    CSocketHandle() = default;
    explicit CSocketHandle(SOCKET socket) : m_socket(socket) {}
    ~CSocketHandle() { Reset(); }
    CSocketHandle(const CSocketHandle&) = delete;
    CSocketHandle& operator=(const CSocketHandle&) = delete;
    CSocketHandle(CSocketHandle&& other) noexcept : m_socket(other.Release()) {}
    CSocketHandle& operator=(CSocketHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    SOCKET Get() const { return m_socket; }
    explicit operator bool() const { return m_socket != INVALID_SOCKET; }
    // Gives the socket up without closing it.
    SOCKET Release() {
        SOCKET socket = m_socket;
        m_socket = INVALID_SOCKET;
        return socket;
    }
    // Closes the socket held and takes socket (which may be INVALID_SOCKET).
    void Reset(SOCKET socket = INVALID_SOCKET) {
        if (m_socket != INVALID_SOCKET) ::closesocket(m_socket);
        m_socket = socket;
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
};
