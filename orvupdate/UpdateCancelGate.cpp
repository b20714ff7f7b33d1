#include "UpdateCancelGate.h"

UpdateCancelGate::UpdateCancelGate() : m_notAsking(::CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

bool UpdateCancelGate::BeginAsking() {
    CSingleLock lock(m_lock);
    if (m_state != State::Running) return m_state == State::Asking;
    m_state = State::Asking;
    ::ResetEvent(m_notAsking.Get());
    return true;
}

void UpdateCancelGate::EndAsking(bool cancel) {
    CSingleLock lock(m_lock);
    if (m_state == State::Asking) m_state = cancel ? State::Cancelled : State::Running;
    ::SetEvent(m_notAsking.Get());
}

void UpdateCancelGate::Cancel() {
    CSingleLock lock(m_lock);
    if (m_state != State::Committing) m_state = State::Cancelled;
    ::SetEvent(m_notAsking.Get());
}

bool UpdateCancelGate::IsCancelled() {
    CSingleLock lock(m_lock);
    return m_state == State::Cancelled;
}

bool UpdateCancelGate::PassToCommit() {
    while (true) {
        {
            CSingleLock lock(m_lock);
            if (m_state == State::Cancelled) return false;
            if (m_state == State::Running) {
                m_state = State::Committing;
                return true;
            }
        }
        if (!m_notAsking || ::WaitForSingleObject(m_notAsking.Get(), INFINITE) != WAIT_OBJECT_0) ::Sleep(50);
    }
}
