#include "S_STD_SKININFO.h"

S_STD_SKININFO::~S_STD_SKININFO() = default;

int32_t S_STD_SKININFO::AddRef() { return ::InterlockedIncrement(&m_refCount); }

int32_t S_STD_SKININFO::Release() {
    const LONG count = ::InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return count;
}

int32_t S_STD_SKININFO::GetRef() const { return m_refCount; }
