#pragma once
// Owners of the updater's Win32 handles: each closes what it holds exactly
// once; copying is deleted, moving hands the handle on.
#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueWinHandle {
public:
    UniqueWinHandle() = default;
    explicit UniqueWinHandle(Handle handle) : m_handle(Traits::IsValid(handle) ? handle : nullptr) {}
    ~UniqueWinHandle() { Reset(); }
    UniqueWinHandle(const UniqueWinHandle&) = delete;
    UniqueWinHandle& operator=(const UniqueWinHandle&) = delete;
    UniqueWinHandle(UniqueWinHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueWinHandle& operator=(UniqueWinHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (m_handle) Traits::Close(m_handle);
        m_handle = Traits::IsValid(handle) ? handle : nullptr;
    }

private:
    Handle m_handle = nullptr;
};

// Kernel objects: threads, processes, events, files (INVALID_HANDLE_VALUE
// counts as none).
struct KernelHandleTraits {
    static bool IsValid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueWinHandle<HANDLE, KernelHandleTraits>;

struct IconTraits {
    static bool IsValid(HICON h) { return h != nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueWinHandle<HICON, IconTraits>;

struct RegKeyTraits {
    static bool IsValid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
using UniqueRegKey = UniqueWinHandle<HKEY, RegKeyTraits>;
