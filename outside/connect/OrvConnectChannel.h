#pragma once
// The inner working of OrvConnectManager: a small pool of worker threads
// that send the requests over WinHTTP, and the hidden window through which
// their answers reach the thread that built the manager.
#include "OrvAnswerRecord.h"
#include "OrvHttpClient.h"

#include "CConditionVariable.h"
#include "CCriticalSection.h"
#include "CMessageWindow.h"
#include "CString.h"

#include <atomic>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class OrvConnectManager;

class OrvConnectChannel final {
public:
    // Makes the answer window on the calling thread, which then owns it.
    explicit OrvConnectChannel(OrvConnectManager& owner);
    // Aborts the requests in flight, ends every worker and drops the answers
    // not yet delivered: a manager being destroyed is answered no more.
    ~OrvConnectChannel();
    OrvConnectChannel(const OrvConnectChannel&) = delete;
    OrvConnectChannel& operator=(const OrvConnectChannel&) = delete;

    void SetUrl(const CString& url);
    CString GetUrl() const;
    void SetSequence(const CString& sequence);
    CString GetSequence() const;
    void SetTimeouts(int connectMs, int receiveMs);
    void SetKeepAliveInterval(int periodMs);

    // From any thread. Without an answer window (the system refused it) the
    // request fails at once, on the calling thread.
    void Send(int commandId, const std::vector<CString>& args);
    void Close();
    int Pending() const { return m_pending.load(); }

private:
    struct Job {
        int commandId = 0;
        std::string body;
        std::wstring url;
        int connectMs = 0;
        int receiveMs = 0;
        bool answered = true;  // false for the keep-alive, which only brings notices
    };
    struct Worker {
        std::thread thread;
        OrvHttpClient client;
        bool leaving = false;  // takes no more jobs
        bool done = false;     // the thread is about to end; join it
    };

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Hands a failure record for every queued job to the window; for when
    // no worker is left to take them.
    void FailQueuedJobs(DWORD error);
    void Enqueue(Job job);
    void Run(Worker& worker);
    std::unique_ptr<OrvAnswerRecord> Perform(Worker& worker, const Job& job);
    void Hand(std::unique_ptr<OrvAnswerRecord> answer);
    void ReapFinished();
    void KeepAlive();
    // Learns the session to keep alive from what passes through.
    void WatchSessions(int commandId, const std::vector<CString>& args);
    void WatchAnswer(const OrvAnswerRecord& answer);

    OrvConnectManager& m_owner;

    mutable CCriticalSection m_lock;
    CConditionVariable m_wake;
    std::deque<Job> m_queue;
    std::list<std::unique_ptr<Worker>> m_workers;
    int m_idle = 0;
    bool m_stopping = false;
    bool m_closing = false;
    CString m_url;
    CString m_sequence;
    int m_connectMs = 15000;
    int m_receiveMs = 60000;
    int m_keepAliveMs = 60000;
    CString m_pollSession;
    DWORD m_lastSend = 0;
    bool m_pollInFlight = false;
    std::atomic<int> m_pending{0};
    // Cleared by the destructor; an answer operation may destroy the manager.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);

    CMessageWindow m_window;
    DWORD m_windowError = 0;  // why the window could not be made
};
