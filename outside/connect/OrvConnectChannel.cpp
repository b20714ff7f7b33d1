#include "OrvConnectChannel.h"

#include "OrvCommandTable.h"
#include "OrvConnectManager.h"
#include "OrvWireCodec.h"

#include "AfxTrace.h"
#include "OrvStartTrace.h"

#include <string>

namespace {

const UINT kAnswerMessage = WM_APP + 0x1C1;
const UINT_PTR kKeepAliveTimer = 1;
const size_t kMaxWorkers = 4;

std::wstring Widen(const CString& text) { return text.ToWide(); }

std::unique_ptr<OrvAnswerRecord> FailureOf(int commandId, DWORD error) {
    auto answer = std::make_unique<OrvAnswerRecord>();
    answer->commandId = commandId;
    answer->failed = true;
    answer->error = static_cast<long>(error);
    return answer;
}

}  // namespace

OrvConnectChannel::OrvConnectChannel(OrvConnectManager& owner)
    : m_owner(owner), m_sequence("9C2A71") {
    m_lastSend = GetTickCount();
    if (!m_window.Create([this](UINT message, WPARAM wParam, LPARAM lParam) {
            return OnWindowMessage(message, wParam, lParam);
        })) {
        m_windowError = GetLastError();
        if (!m_windowError) m_windowError = ERROR_INVALID_WINDOW_HANDLE;
    }
    SetKeepAliveInterval(m_keepAliveMs);
}

OrvConnectChannel::~OrvConnectChannel() {
    *m_alive = false;
    if (m_window.GetSafeHwnd()) m_window.KillTimer(kKeepAliveTimer);
    std::list<std::unique_ptr<Worker>> workers;
    {
        CSingleLock lock(m_lock);
        m_stopping = true;
        for (auto& worker : m_workers) worker->client.Cancel();
        workers.swap(m_workers);
    }
    m_wake.WakeAll();
    for (auto& worker : workers)
        if (worker->thread.joinable()) worker->thread.join();
    // Answers posted but not yet taken would otherwise leak with the window.
    m_window.Close([](UINT message, WPARAM, LPARAM lParam) {
        if (message == kAnswerMessage) delete reinterpret_cast<OrvAnswerRecord*>(lParam);
    });
}

void OrvConnectChannel::SetUrl(const CString& url) {
    CSingleLock lock(m_lock);
    m_url = url;
}

CString OrvConnectChannel::GetUrl() const {
    CSingleLock lock(m_lock);
    return m_url;
}

void OrvConnectChannel::SetSequence(const CString& sequence) {
    CSingleLock lock(m_lock);
    m_sequence = sequence;
}

CString OrvConnectChannel::GetSequence() const {
    CSingleLock lock(m_lock);
    return m_sequence;
}

void OrvConnectChannel::SetTimeouts(int connectMs, int receiveMs) {
    CSingleLock lock(m_lock);
    // WinHTTP takes 0 as "wait forever"; never ask for that.
    if (connectMs > 0) m_connectMs = connectMs;
    if (receiveMs > 0) m_receiveMs = receiveMs;
}

void OrvConnectChannel::SetKeepAliveInterval(int periodMs) {
    {
        CSingleLock lock(m_lock);
        m_keepAliveMs = periodMs > 0 ? periodMs : 0;
    }
    if (!m_window.GetSafeHwnd()) return;
    m_window.KillTimer(kKeepAliveTimer);
    if (periodMs <= 0) return;
    // Checked a few times per period, so a poll is at most a quarter late.
    int tick = periodMs / 4;
    if (tick < 50) tick = 50;
    if (tick > 5000) tick = 5000;
    m_window.SetTimer(kKeepAliveTimer, static_cast<UINT>(tick));
}

void OrvConnectChannel::Send(int commandId, const std::vector<CString>& args) {
    const OrvCommandSpec_t* spec = OrvFindCommand(commandId);
    if (!spec) return;
    if (m_windowError) {
        // No way to reach the owner's thread later: the request fails now,
        // rather than being performed and its answer lost.
        std::unique_ptr<OrvAnswerRecord> failure = FailureOf(commandId, m_windowError);
        try {
            m_owner.Deliver(*failure);
        } catch (...) {
            AfxTraceCaughtException("connect: answer operation");
        }
        return;
    }
    WatchSessions(commandId, args);
    Job job;
    job.commandId = commandId;
    job.body = OrvEncodeRequest(*spec, args);
    m_pending.fetch_add(1);
    Enqueue(std::move(job));
}

void OrvConnectChannel::Enqueue(Job job) {
    ReapFinished();
    {
        CSingleLock lock(m_lock);
        if (m_stopping) {
            if (job.answered) m_pending.fetch_sub(1);
            return;
        }
        job.url = Widen(m_url);
        job.connectMs = m_connectMs;
        job.receiveMs = m_receiveMs;
        m_lastSend = GetTickCount();
        m_closing = false;
        m_queue.push_back(std::move(job));
        // Idle workers already waiting take it; otherwise one more, up to the limit.
        size_t running = 0;
        for (const auto& worker : m_workers)
            if (!worker->leaving) ++running;
        bool started = false;
        if (static_cast<size_t>(m_idle) < m_queue.size() && running < kMaxWorkers) {
            try {
                m_workers.push_back(std::make_unique<Worker>());
                Worker& worker = *m_workers.back();
                worker.thread = std::thread(&OrvConnectChannel::Run, this, std::ref(worker));
                started = true;
            } catch (...) {
                AfxTraceCaughtException("connect: starting a worker");
                if (!m_workers.empty() && !m_workers.back()->thread.joinable())
                    m_workers.pop_back();
            }
        }
        // No worker takes jobs and none could be started: fail the queued
        // requests rather than leave them unanswered.
        if (!started && running == 0) FailQueuedJobs(ERROR_NOT_ENOUGH_MEMORY);
    }
    m_wake.WakeOne();
}

void OrvConnectChannel::FailQueuedJobs(DWORD error) {
    while (!m_queue.empty()) {
        const Job& job = m_queue.front();
        std::unique_ptr<OrvAnswerRecord> answer = FailureOf(job.commandId, error);
        const bool answered = job.answered;
        m_queue.pop_front();
        if (m_window.Post(kAnswerMessage, 0, reinterpret_cast<LPARAM>(answer.get()))) {
            answer.release();  // the window's message owns it now
        } else if (answered) {
            m_pending.fetch_sub(1);
        }
    }
}

void OrvConnectChannel::Close() {
    {
        CSingleLock lock(m_lock);
        m_closing = true;
        m_pollSession.Empty();
    }
    m_wake.WakeAll();
    ReapFinished();
}

void OrvConnectChannel::ReapFinished() {
    std::list<std::unique_ptr<Worker>> finished;
    {
        CSingleLock lock(m_lock);
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            if ((*it)->done) {
                finished.push_back(std::move(*it));
                it = m_workers.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& worker : finished)
        if (worker->thread.joinable()) worker->thread.join();
}

void OrvConnectChannel::Run(Worker& worker) {
    for (;;) {
        Job job;
        {
            CSingleLock lock(m_lock);
            ++m_idle;
            m_wake.Wait(lock, [this] { return m_stopping || m_closing || !m_queue.empty(); });
            --m_idle;
            if (m_stopping || (m_queue.empty() && m_closing)) {
                worker.leaving = true;
                break;
            }
            if (m_queue.empty()) continue;
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        std::unique_ptr<OrvAnswerRecord> answer = Perform(worker, job);
        if (answer) {
            Hand(std::move(answer));
        } else if (job.answered) {
            m_pending.fetch_sub(1);
        }
    }
    worker.client.Close();
    CSingleLock lock(m_lock);
    worker.done = true;
}

std::unique_ptr<OrvAnswerRecord> OrvConnectChannel::Perform(Worker& worker, const Job& job) {
    const OrvCommandSpec_t* spec = OrvFindCommand(job.commandId);
    auto answer = std::make_unique<OrvAnswerRecord>();
    answer->commandId = job.commandId;
    try {
        if (OrvStartTracing()) OrvStartMark(("connect: " + std::string(spec->path) + " posted").c_str());
        const OrvHttpResult_t result = worker.client.Post(
            job.url, spec->path, job.body, job.connectMs, job.receiveMs, kOrvMaxAnswerBytes);
        if (OrvStartTracing()) OrvStartMark(("connect: " + std::string(spec->path) + " received").c_str());
        answer->length = static_cast<long>(result.body.size());
        if (!result.ok) {
            answer->failed = true;
            answer->error = static_cast<long>(result.error);
        } else if (result.status != 200) {
            answer->failed = true;
            answer->error = static_cast<long>(result.status);
        } else if (result.tooLarge || !OrvDecodeAnswer(*spec, result.body, *answer)) {
            answer->failed = true;
            answer->error = ERROR_INVALID_DATA;
        }
    } catch (...) {
        // Out of memory on a monstrous answer: the command failed, nothing more.
        AfxTraceCaughtException("connect: performing a request");
        answer->failed = true;
        answer->error = ERROR_NOT_ENOUGH_MEMORY;
    }
    {
        // Aborted by the destructor: nobody is left to answer.
        CSingleLock lock(m_lock);
        if (m_stopping) return nullptr;
    }
    if (answer->failed) {
        // Whatever was decoded before the fault is not handed on.
        answer->text.clear();
        answer->numbers.clear();
        answer->records.clear();
        answer->paths.clear();
        answer->notices.clear();
    }
    return answer;
}

void OrvConnectChannel::Hand(std::unique_ptr<OrvAnswerRecord> answer) {
    const bool answered = answer->commandId != ORVCMD_POLL;
    // A full message queue empties as the owner's thread pumps; a closed
    // window takes nothing any more.
    while (!m_window.Post(kAnswerMessage, 0, reinterpret_cast<LPARAM>(answer.get()))) {
        bool stopping;
        {
            CSingleLock lock(m_lock);
            stopping = m_stopping;
        }
        if (stopping || !m_window.IsOpen()) {
            if (answered) m_pending.fetch_sub(1);
            return;
        }
        Sleep(10);
    }
    answer.release();  // the window's message owns it now
}

LRESULT OrvConnectChannel::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kKeepAliveTimer) {
        ReapFinished();
        KeepAlive();
        return 0;
    }
    if (message != kAnswerMessage) return 0;
    std::unique_ptr<OrvAnswerRecord> answer(reinterpret_cast<OrvAnswerRecord*>(lParam));
    if (!answer) return 0;
    if (answer->commandId != ORVCMD_POLL) m_pending.fetch_sub(1);
    WatchAnswer(*answer);
    const OrvCommandSpec_t* answered = OrvStartTracing() ? OrvFindCommand(answer->commandId) : nullptr;
    if (answered) OrvStartMark(("connect: " + std::string(answered->path) + " answering").c_str());
    // The owner may destroy the manager inside an answer operation: from the
    // first call on, only locals are touched, and nothing follows its end.
    const std::shared_ptr<bool> alive = m_alive;
    OrvConnectManager& owner = m_owner;
    // An answer operation that throws must not cost the notices after it.
    try {
        owner.Deliver(*answer);
    } catch (...) {
        AfxTraceCaughtException("connect: answer operation");
    }
    for (const CString& notice : answer->notices) {
        if (!*alive) break;
        try {
            owner.DeliverNotice(notice);
        } catch (...) {
            AfxTraceCaughtException("connect: OnServerNotice");
        }
    }
    return 0;
}

void OrvConnectChannel::KeepAlive() {
    std::vector<CString> args;
    {
        CSingleLock lock(m_lock);
        if (m_stopping || m_closing || m_keepAliveMs <= 0 || m_pollSession.IsEmpty() ||
            m_pollInFlight)
            return;
        if (GetTickCount() - m_lastSend < static_cast<DWORD>(m_keepAliveMs)) return;
        m_pollInFlight = true;
        args.push_back(m_pollSession);
    }
    Job job;
    job.commandId = ORVCMD_POLL;
    job.body = OrvEncodeRequest(*OrvFindCommand(ORVCMD_POLL), args);
    job.answered = false;
    Enqueue(std::move(job));
}

void OrvConnectChannel::WatchSessions(int commandId, const std::vector<CString>& args) {
    if (commandId != ORVCMD_KILL_SESSION && commandId != ORVCMD_DROP_USER) return;
    CSingleLock lock(m_lock);
    if (!args.empty() && args[0] == m_pollSession) m_pollSession.Empty();
}

void OrvConnectChannel::WatchAnswer(const OrvAnswerRecord& answer) {
    CSingleLock lock(m_lock);
    if (answer.commandId == ORVCMD_POLL) {
        m_pollInFlight = false;
        if (!answer.failed && !answer.text.empty() && answer.text[0] == "3") m_pollSession.Empty();
    } else if (answer.commandId == ORVCMD_CHECK_USER && !answer.failed && answer.text.size() > 6 &&
               answer.text[0] == "0" && !answer.text[6].IsEmpty()) {
        m_pollSession = answer.text[6];
    }
}
