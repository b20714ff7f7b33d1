#pragma once
#include <windows.h>

// The one owner of a kernel handle (thread, process, file, event, mapping...),
// closed with CloseHandle. Both null and INVALID_HANDLE_VALUE mean "none",
// since the Win32 calls disagree on which of the two reports a failure.
// Copying is deleted; moving hands the handle on and leaves the source empty.
class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : m_handle(Valid(handle) ? handle : nullptr) {}
    ~CHandle() { Reset(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    CHandle(CHandle&& other) noexcept : m_handle(other.Release()) {}
    CHandle& operator=(CHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Gives the handle up without closing it.
    HANDLE Release() {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    // Closes the handle held and takes handle (which may be "none").
    void Reset(HANDLE handle = nullptr) {
        if (m_handle) ::CloseHandle(m_handle);
        m_handle = Valid(handle) ? handle : nullptr;
    }

private:
    static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }

    HANDLE m_handle = nullptr;
};
