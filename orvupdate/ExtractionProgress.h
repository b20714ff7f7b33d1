#pragma once
// The progress counters the extraction thread advances and the dialog reads,
// guarded by one lock. The thread asks for one notice at a time: it posts a
// message only when the dialog has read the last one.
#include "CCriticalSection.h"

#include <cstdint>

class ExtractionProgress {
public:
    struct Snapshot {
        uint64_t position = 0;
        uint64_t range = 0;
    };

    void SetRange(uint64_t range);
    void Advance(uint64_t bytes);
    // True when the caller should post a notice (none is waiting to be read).
    bool TakeNoticeTurn();
    // The counters; clears the waiting notice.
    Snapshot Read();

private:
    CCriticalSection m_lock;
    Snapshot m_counters;
    bool m_noticePending = false;
};
