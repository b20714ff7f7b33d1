#pragma once
#include <windows.h>
#include <unknwn.h>

#include <utility>

// The one owner of a reference to a COM interface: released when it dies.
// Copying adds a reference; moving hands it on. Attach takes a reference the
// caller already holds (a pointer from a creating call); Detach gives it up.
template <class T>
class CComPtr {
public:
    CComPtr() = default;
    // Adds a reference to p.
    explicit CComPtr(T* p) : m_p(p) {
        if (m_p) m_p->AddRef();
    }
    ~CComPtr() { Release(); }
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    CComPtr& operator=(const CComPtr& other) {
        if (this != &other) {
            if (other.m_p) other.m_p->AddRef();
            Release();
            m_p = other.m_p;
        }
        return *this;
    }
    CComPtr(CComPtr&& other) noexcept : m_p(other.Detach()) {}
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For calls that hand out a new reference: releases what is held first.
    T** Receive() {
        Release();
        return &m_p;
    }
    void Attach(T* p) {
        Release();
        m_p = p;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }
    void Release() {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }

private:
    T* m_p = nullptr;
};
