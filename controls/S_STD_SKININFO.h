#pragma once
#include "ControlsExport.h"

#include <windows.h>

#include <cstdint>

// Base of every skin record that several windows share. The reference count
// starts at 0; each holder AddRefs and Releases, and the Release that brings
// the count to 0 deletes the record. Records are therefore always made with
// new, and never copied.
class CTL_API S_STD_SKININFO {
public:
    S_STD_SKININFO() = default;
    virtual ~S_STD_SKININFO();
    S_STD_SKININFO(const S_STD_SKININFO&) = delete;
    S_STD_SKININFO& operator=(const S_STD_SKININFO&) = delete;

    int32_t AddRef();
    // Returns the new count; the record is gone when it is 0.
    int32_t Release();
    int32_t GetRef() const;

private:
    volatile LONG m_refCount = 0;
};

// Holds one reference on a skin record for a scope (the record GetComponent
// handed out, for example) and releases it at the end.
template <class T>
class CSkinRecordRef {
public:
    // Adopts a reference the caller already holds.
    explicit CSkinRecordRef(T* record = nullptr) : m_record(record) {}
    ~CSkinRecordRef() { Reset(); }
    CSkinRecordRef(const CSkinRecordRef&) = delete;
    CSkinRecordRef& operator=(const CSkinRecordRef&) = delete;

    T* Get() const { return m_record; }
    T* operator->() const { return m_record; }
    explicit operator bool() const { return m_record != nullptr; }
    void Reset(T* record = nullptr) {
        if (m_record) m_record->Release();
        m_record = record;
    }

private:
    T* m_record;
};
