#pragma once
// The one owner of a WinHTTP handle (session, connection or request).
#include <windows.h>
#include <winhttp.h>

class WinHttpHandle {
public:
    WinHttpHandle() = default;
    explicit WinHttpHandle(HINTERNET handle) : m_handle(handle) {}
    ~WinHttpHandle() { Reset(); }
    WinHttpHandle(const WinHttpHandle&) = delete;
    WinHttpHandle& operator=(const WinHttpHandle&) = delete;
    WinHttpHandle(WinHttpHandle&& other) noexcept : m_handle(other.Release()) {}
    WinHttpHandle& operator=(WinHttpHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HINTERNET Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    HINTERNET Release() {
        HINTERNET handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    void Reset(HINTERNET handle = nullptr) {
        if (m_handle) WinHttpCloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HINTERNET m_handle = nullptr;
};
