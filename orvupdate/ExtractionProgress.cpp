#include "ExtractionProgress.h"

void ExtractionProgress::SetRange(uint64_t range) {
    CSingleLock lock(m_lock);
    m_counters.range = range;
    m_counters.position = 0;
}

void ExtractionProgress::Advance(uint64_t bytes) {
    CSingleLock lock(m_lock);
    m_counters.position += bytes;
    if (m_counters.position > m_counters.range) m_counters.position = m_counters.range;
}

bool ExtractionProgress::TakeNoticeTurn() {
    CSingleLock lock(m_lock);
    if (m_noticePending) return false;
    m_noticePending = true;
    return true;
}

ExtractionProgress::Snapshot ExtractionProgress::Read() {
    CSingleLock lock(m_lock);
    m_noticePending = false;
    return m_counters;
}
