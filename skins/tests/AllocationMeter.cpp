#include "AllocationMeter.h"

#include <windows.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<AllocationMeter*> g_meter{nullptr};
std::atomic<DWORD> g_meterThread{0};

// Every block comes from malloc, so _msize tells its size when it is freed,
// whichever side of a DLL boundary allocated it.
void Count(void* block, int sign) {
    AllocationMeter* meter = g_meter.load();
    if (!meter || g_meterThread.load() != GetCurrentThreadId()) return;
    meter->Add(sign * static_cast<int64_t>(_msize(block)));
}

void* Allocate(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (block) Count(block, +1);
    return block;
}

void Free(void* block) {
    if (!block) return;
    Count(block, -1);
    std::free(block);
}

}  // namespace

AllocationMeter::AllocationMeter() {
    g_meterThread.store(GetCurrentThreadId());
    g_meter.store(this);
}

AllocationMeter::~AllocationMeter() { g_meter.store(nullptr); }

void AllocationMeter::Add(int64_t bytes) {
    if (bytes > 0) ++m_allocations;
    m_live += bytes;
    if (m_live > m_peak) m_peak = m_live;
}

void* operator new(std::size_t size) {
    void* block = Allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}

void* operator new[](std::size_t size) {
    void* block = Allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Free(block); }
void operator delete[](void* block) noexcept { Free(block); }
void operator delete(void* block, std::size_t) noexcept { Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Free(block); }
