#include "OrvWorkers.h"

#include "AfxTrace.h"

#include <windows.h>

OrvWorkers::~OrvWorkers() { JoinAll(false); }

void OrvWorkers::ReapFinished() {
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if ((*it)->done) {
            (*it)->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

bool OrvWorkers::Start(std::function<void()> job) {
    if (m_stopping) return false;
    CSingleLock lock(m_lock);
    ReapFinished();
    auto worker = std::make_unique<Worker>();
    Worker* raw = worker.get();
    try {
        worker->thread = std::thread([raw, job = std::move(job)] {
            try {
                job();
            } catch (...) {
                AfxTraceCaughtException("orvane: a worker job");
            }
            raw->done = true;
        });
    } catch (...) {
        AfxTraceCaughtException("orvane: starting a worker");
        return false;
    }
    m_workers.push_back(std::move(worker));
    return true;
}

int OrvWorkers::Running() const {
    CSingleLock lock(m_lock);
    int running = 0;
    for (const auto& worker : m_workers)
        if (!worker->done) ++running;
    return running;
}

void OrvWorkers::JoinAll(bool pump) {
    m_stopping = true;
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        {
            CSingleLock lock(m_lock);
            ReapFinished();
            if (m_workers.empty()) break;
        }
        if (pump && !quit) {
            // Wait for any input (a sent message) or 50 ms, then dispatch.
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG msg;
            while (!quit && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    quit = true;
                    quitCode = msg.wParam;
                    break;
                }
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        } else {
            ::Sleep(10);
        }
    }
    // The loop that pumped before us still has to see the quit.
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
}
