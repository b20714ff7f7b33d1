#pragma once
// The one owner of a deferred window positioning batch: moves collected with
// Get()/Update() happen together when the batch ends.
#include <windows.h>

class WindowPosBatch {
public:
    explicit WindowPosBatch(int windows) : m_batch(::BeginDeferWindowPos(windows)) {}
    ~WindowPosBatch() {
        if (m_batch) ::EndDeferWindowPos(m_batch);
    }
    WindowPosBatch(const WindowPosBatch&) = delete;
    WindowPosBatch& operator=(const WindowPosBatch&) = delete;

    HDWP Get() const { return m_batch; }
    // Every deferred move hands back the batch to go on with (null when the
    // system dropped it).
    void Update(HDWP batch) { m_batch = batch; }

private:
    HDWP m_batch;
};
