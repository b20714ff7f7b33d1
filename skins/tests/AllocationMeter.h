#pragma once
// Counts what operator new hands out on one thread while a meter lives. The
// test program replaces the global operator new and delete to feed it.
#include <cstdint>

class AllocationMeter {
public:
    // Starts counting on the calling thread; one meter at a time.
    AllocationMeter();
    ~AllocationMeter();
    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;

    // Bytes allocated and not yet freed since the meter started.
    int64_t Live() const { return m_live; }
    // The highest Live() seen.
    int64_t Peak() const { return m_peak; }
    uint64_t Allocations() const { return m_allocations; }

    // Called by the replaced operators only.
    void Add(int64_t bytes);

private:
    int64_t m_live = 0;
    int64_t m_peak = 0;
    uint64_t m_allocations = 0;
};
