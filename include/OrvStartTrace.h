#pragma once
// Time stamps of the program's start for the start benchmark
// (app/bench/OrvStartBench.cpp). The benchmark creates the shared block
// ORV_START_TRACE_NAME before it starts the program; OrvStartMark(name)
// then appends the name with the performance counter. Without the block a
// mark costs one failed lookup per module, the first time, and nothing after.
// The counter is the system's, so the benchmark compares it with its own.
#include <windows.h>

#include <cstring>

#define ORV_START_TRACE_NAME "OrvaneStartTrace"

struct OrvStartTraceBlock {
    static constexpr LONG kCapacity = 256;
    struct Mark {
        LONGLONG counter;
        DWORD thread;
        char name[52];
    };
    volatile LONG count;  // marks taken; may exceed kCapacity (the rest is dropped)
    LONG reserved;
    Mark marks[kCapacity];
};

// The view of the block, mapped once per module and unmapped when the module
// goes; null when no benchmark made it.
class OrvStartTraceView {
public:
    static OrvStartTraceBlock* Get() {
        static OrvStartTraceView view;
        return view.m_block;
    }
    OrvStartTraceView(const OrvStartTraceView&) = delete;
    OrvStartTraceView& operator=(const OrvStartTraceView&) = delete;

private:
    OrvStartTraceView() {
        m_mapping = ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, ORV_START_TRACE_NAME);
        if (m_mapping)
            m_block = static_cast<OrvStartTraceBlock*>(
                ::MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(OrvStartTraceBlock)));
    }
    ~OrvStartTraceView() {
        if (m_block) ::UnmapViewOfFile(m_block);
        if (m_mapping) ::CloseHandle(m_mapping);
    }
    HANDLE m_mapping = nullptr;
    OrvStartTraceBlock* m_block = nullptr;
};

// Whether a benchmark is reading the marks: for callers that would build a
// mark's name only for it.
inline bool OrvStartTracing() { return OrvStartTraceView::Get() != nullptr; }

inline void OrvStartMark(const char* name) {
    OrvStartTraceBlock* block = OrvStartTraceView::Get();
    if (!block || !name) return;
    const LONG at = ::InterlockedIncrement(&block->count) - 1;
    if (at < 0 || at >= OrvStartTraceBlock::kCapacity) return;
    OrvStartTraceBlock::Mark& mark = block->marks[at];
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    mark.counter = counter.QuadPart;
    mark.thread = ::GetCurrentThreadId();
    const size_t length = strnlen(name, sizeof mark.name - 1);
    std::memcpy(mark.name, name, length);
    mark.name[length] = '\0';
}
