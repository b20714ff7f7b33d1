#pragma once
// The shell tests' main window: the real frame (its answers and timers in
// the test's hands, see TestFrame) with its real window, skin reader and
// sub-controls under the test display, pointed at a loopback server the test
// chooses. Also a loopback HTTP peer that records the commands it gets.
#include "AppTestSupport.h"

#include "LoopbackPort.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace shelltest {

std::string ProgramDirectory();

// A loopback HTTP peer. answer: each request gets an empty JSON answer;
// otherwise requests are read and left unanswered (a server that never
// replies). Records each request's first line and body.
class RecordingServer {
public:
    explicit RecordingServer(bool answer);
    ~RecordingServer();
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;
    std::string Url() const { return m_listener.Url(); }
    // How many requests so far held text (path or body).
    int CountWith(const std::string& text) const;

private:
    void Serve();
    void Handle(SOCKET client);

    apptest::LoopbackPort m_listener{16};
    bool m_answer;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::vector<SOCKET> m_held;  // unanswered connections, closed at the end
    std::thread m_thread;
};

// A frame whose "a private chat runs" the test sets.
class ShellFrame : public apptest::TestFrame {
public:
    bool privateChat = false;
    using OrvMainFrame::OnStartInfoAnswer;

protected:
    bool IsInPrivateChat() override { return privateChat; }
};

// Makes the frame's services and (hidden) window with the settings store
// pointing at url, for a registered member who logged on before; the window
// starts connecting at once. False when something is missing.
bool OpenFrame(ShellFrame& frame, const std::string& url);
// On line as after a good log-in and the chat's connection (no chat server).
void BringOnLine(ShellFrame& frame);
// Gives the frame's window a client area of width x height.
bool SetClient(CWnd& window, int width, int height);

}  // namespace shelltest
