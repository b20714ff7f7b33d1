#include "OrvConnectChannel.h"

#include "OrvCommandTable.h"
#include "OrvConnectManager.h"
#include "OrvWireCodec.h"

namespace {

const UINT kAnswerMessage = WM_APP + 0x1C1;
const UINT_PTR kKeepAliveTimer = 1;
const size_t kMaxWorkers = 4;

std::wstring Widen(const CString& text) { return text.ToWide(); }

}  // namespace

OrvConnectChannel::OrvConnectChannel(OrvConnectManager& owner)
    : m_owner(owner), m_sequence("9C2A71"), m_window(*this) {
    m_lastSend = GetTickCount();
    SetKeepAliveInterval(m_keepAliveMs);
}

OrvConnectChannel::~OrvConnectChannel() {
    *m_alive = false;
    if (m_window.Get()) KillTimer(m_window.Get(), kKeepAliveTimer);
    std::list<std::unique_ptr<Worker>> workers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        for (auto& worker : m_workers) worker->client.Cancel();
        workers.swap(m_workers);
    }
    m_wake.notify_all();
    for (auto& worker : workers)
        if (worker->thread.joinable()) worker->thread.join();
    // Answers posted but not yet taken would otherwise leak with the window.
    MSG message;
    while (m_window.Get() &&
           PeekMessageA(&message, m_window.Get(), kAnswerMessage, kAnswerMessage, PM_REMOVE))
        delete reinterpret_cast<OrvAnswerRecord*>(message.lParam);
}

void OrvConnectChannel::SetUrl(const CString& url) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_url = url;
}

CString OrvConnectChannel::GetUrl() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_url;
}

void OrvConnectChannel::SetSequence(const CString& sequence) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sequence = sequence;
}

CString OrvConnectChannel::GetSequence() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sequence;
}

void OrvConnectChannel::SetTimeouts(int connectMs, int receiveMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // WinHTTP takes 0 as "wait forever"; never ask for that.
    if (connectMs > 0) m_connectMs = connectMs;
    if (receiveMs > 0) m_receiveMs = receiveMs;
}

void OrvConnectChannel::SetKeepAliveInterval(int periodMs) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_keepAliveMs = periodMs > 0 ? periodMs : 0;
    }
    if (!m_window.Get()) return;
    KillTimer(m_window.Get(), kKeepAliveTimer);
    if (periodMs <= 0) return;
    // Checked a few times per period, so a poll is at most a quarter late.
    int tick = periodMs / 4;
    if (tick < 50) tick = 50;
    if (tick > 5000) tick = 5000;
    SetTimer(m_window.Get(), kKeepAliveTimer, static_cast<UINT>(tick), nullptr);
}

void OrvConnectChannel::Send(int commandId, const std::vector<CString>& args) {
    const OrvCommandSpec_t* spec = OrvFindCommand(commandId);
    if (!spec) return;
    WatchSessions(commandId, args);
    Job job;
    job.commandId = commandId;
    job.body = OrvEncodeRequest(*spec, args);
    m_pending.fetch_add(1);
    Enqueue(std::move(job));
}

void OrvConnectChannel::Enqueue(Job job) {
    ReapFinished();
    bool startWorker = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
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
        if (static_cast<size_t>(m_idle) < m_queue.size() && running < kMaxWorkers) {
            try {
                m_workers.push_back(std::make_unique<Worker>());
                Worker& worker = *m_workers.back();
                worker.thread = std::thread(&OrvConnectChannel::Run, this, std::ref(worker));
                startWorker = true;
            } catch (const std::exception&) {
                if (!m_workers.empty() && !m_workers.back()->thread.joinable())
                    m_workers.pop_back();
            }
        }
        if (!startWorker && running == 0) {
            // No worker takes jobs and none could be started: fail the queued
            // requests rather than leave them unanswered.
            while (!m_queue.empty()) {
                auto answer = std::make_unique<OrvAnswerRecord>();
                answer->commandId = m_queue.front().commandId;
                answer->failed = true;
                answer->error = ERROR_NOT_ENOUGH_MEMORY;
                const bool answered = m_queue.front().answered;
                m_queue.pop_front();
                OrvAnswerRecord* raw = answer.release();
                if (!PostMessageA(m_window.Get(), kAnswerMessage, 0, reinterpret_cast<LPARAM>(raw))) {
                    delete raw;
                    if (answered) m_pending.fetch_sub(1);
                }
            }
        }
    }
    m_wake.notify_one();
}

void OrvConnectChannel::Close() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
        m_pollSession.Empty();
    }
    m_wake.notify_all();
    ReapFinished();
}

void OrvConnectChannel::ReapFinished() {
    std::list<std::unique_ptr<Worker>> finished;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
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
            std::unique_lock<std::mutex> lock(m_mutex);
            ++m_idle;
            m_wake.wait(lock, [this] { return m_stopping || m_closing || !m_queue.empty(); });
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
    std::lock_guard<std::mutex> lock(m_mutex);
    worker.done = true;
}

std::unique_ptr<OrvAnswerRecord> OrvConnectChannel::Perform(Worker& worker, const Job& job) {
    const OrvCommandSpec_t* spec = OrvFindCommand(job.commandId);
    auto answer = std::make_unique<OrvAnswerRecord>();
    answer->commandId = job.commandId;
    try {
        const OrvHttpResult_t result = worker.client.Post(
            job.url, spec->path, job.body, job.connectMs, job.receiveMs, kOrvMaxAnswerBytes);
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
    } catch (const std::exception&) {
        // Out of memory on a monstrous answer: the command failed, nothing more.
        answer->failed = true;
        answer->error = ERROR_NOT_ENOUGH_MEMORY;
    }
    {
        // Aborted by the destructor: nobody is left to answer.
        std::lock_guard<std::mutex> lock(m_mutex);
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
    OrvAnswerRecord* raw = answer.release();
    // A full message queue empties as the user-interface thread pumps.
    while (!PostMessageA(m_window.Get(), kAnswerMessage, 0, reinterpret_cast<LPARAM>(raw))) {
        bool stopping;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            stopping = m_stopping;
        }
        if (stopping) {
            delete raw;
            if (answered) m_pending.fetch_sub(1);
            return;
        }
        Sleep(10);
    }
}

LRESULT OrvConnectChannel::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kKeepAliveTimer) {
        ReapFinished();
        KeepAlive();
        return 0;
    }
    if (message != kAnswerMessage) return DefWindowProcA(m_window.Get(), message, wParam, lParam);
    std::unique_ptr<OrvAnswerRecord> answer(reinterpret_cast<OrvAnswerRecord*>(lParam));
    if (!answer) return 0;
    if (answer->commandId != ORVCMD_POLL) m_pending.fetch_sub(1);
    WatchAnswer(*answer);
    // The owner may destroy the manager inside an answer operation: from the
    // first call on, only locals are touched, and nothing follows its end.
    const std::shared_ptr<bool> alive = m_alive;
    OrvConnectManager& owner = m_owner;
    // Nothing may unwind through the system's message dispatch.
    try {
        owner.Deliver(*answer);
    } catch (...) {
    }
    for (const CString& notice : answer->notices) {
        if (!*alive) break;
        try {
            owner.DeliverNotice(notice);
        } catch (...) {
        }
    }
    return 0;
}

void OrvConnectChannel::KeepAlive() {
    std::vector<CString> args;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
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
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!args.empty() && args[0] == m_pollSession) m_pollSession.Empty();
}

void OrvConnectChannel::WatchAnswer(const OrvAnswerRecord& answer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (answer.commandId == ORVCMD_POLL) {
        m_pollInFlight = false;
        if (!answer.failed && !answer.text.empty() && answer.text[0] == "3") m_pollSession.Empty();
    } else if (answer.commandId == ORVCMD_CHECK_USER && !answer.failed && answer.text.size() > 6 &&
               answer.text[0] == "0" && !answer.text[6].IsEmpty()) {
        m_pollSession = answer.text[6];
    }
}
