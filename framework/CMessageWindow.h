#pragma once
#include "CCriticalSection.h"
#include "CWnd.h"
#include "FrameworkExport.h"

#include <atomic>
#include <functional>

// A hidden message-only window through which other threads hand work to the
// thread that made it. The window belongs to that thread: its handler runs
// there, whenever the thread pumps messages. It is a framework window (it
// runs through AfxWndProc), so an exception thrown by the handler is stopped
// and traced there and never unwinds through the system's code.
//
// Threads: Post, IsOpen and IsOwningThread may be called from any thread,
// also while the owner closes the window. Create, Close, timers and the
// destructor belong to the owning thread. Destroyed on another thread, the
// object only refuses further posts and asks the window to close itself;
// whatever is still queued for it is then dropped unseen.
class FW_API CMessageWindow : public CWnd {
public:
    // Gets WM_TIMER and every message from WM_USER up; returns the message's
    // result. It may destroy the CMessageWindow (and its owner) while it runs.
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;
    // Told by Close about each message that was posted and never handled,
    // so that whatever its parameters point to can be freed.
    using Discard = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    CMessageWindow();
    ~CMessageWindow() override;

    using CWnd::Create;
    // Makes the window on the calling thread, which owns it from then on.
    // False when it exists already or the system refused it; the object is
    // then closed (Post fails), and it stays usable for a later Create.
    bool Create(Handler handler);
    // Any thread: queues the message for the handler. False when the window
    // is not open (never made, closed, destroyed) or its queue is full; the
    // message is then not delivered and its parameters stay the caller's.
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Any thread: true while the window exists and takes posts.
    bool IsOpen() const;
    // Any thread: true on the thread that made the window.
    bool IsOwningThread() const;
    // Owning thread: refuses posts from now on, hands each posted message
    // still queued for the window (WM_USER and up) to discard, and destroys
    // the window. On another thread it only refuses further posts and
    // returns false.
    bool Close(const Discard& discard = nullptr);

    const char* GetRuntimeClassName() const override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // No more posts; returns where they went.
    HWND StopPosting();

    mutable CCriticalSection m_lock;
    HWND m_target = nullptr;  // guarded by m_lock: the window Post reaches, null when closed
    std::atomic<DWORD> m_threadId{0};
    Handler m_handler;
};
