#include "OrvNavigationHistory.h"

OrvNavigationHistory::OrvNavigationHistory() : m_ids(1) {}

void OrvNavigationHistory::Reset(const CString& id) {
    CSingleLock lock(m_lock);
    m_ids.assign(1, id);
    m_index = 0;
    m_top = 0;
}

void OrvNavigationHistory::Advance(const CString& id) {
    CSingleLock lock(m_lock);
    if (m_index + 1 >= kCapacity) {
        // Full: the oldest entry makes room.
        m_ids.erase(m_ids.begin());
        --m_index;
    }
    ++m_index;
    m_ids.resize(static_cast<size_t>(m_index));
    m_ids.push_back(id);
    m_top = m_index;
}

CString OrvNavigationHistory::Back() {
    CSingleLock lock(m_lock);
    if (m_index > 0) --m_index;
    return m_ids[static_cast<size_t>(m_index)];
}

CString OrvNavigationHistory::Forward() {
    CSingleLock lock(m_lock);
    if (m_index < m_top) ++m_index;
    return m_ids[static_cast<size_t>(m_index)];
}

bool OrvNavigationHistory::StepBack() {
    CSingleLock lock(m_lock);
    if (m_index == 0) return false;
    --m_index;
    return true;
}

CString OrvNavigationHistory::Current() const {
    CSingleLock lock(m_lock);
    return m_ids[static_cast<size_t>(m_index)];
}

int OrvNavigationHistory::Index() const {
    CSingleLock lock(m_lock);
    return m_index;
}

int OrvNavigationHistory::Top() const {
    CSingleLock lock(m_lock);
    return m_top;
}

int OrvNavigationHistory::Count() const {
    CSingleLock lock(m_lock);
    return static_cast<int>(m_ids.size());
}
