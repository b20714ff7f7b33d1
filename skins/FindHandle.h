#pragma once
// The one owner of a directory search handle (FindFirstFile), closed with
// FindClose.
#include <windows.h>

class FindHandle {
public:
    FindHandle() = default;
    explicit FindHandle(HANDLE handle) : m_handle(handle) {}
    ~FindHandle() {
        if (*this) ::FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
