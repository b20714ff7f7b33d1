#pragma once
// The notification cloud: small pop-ups near the tray that tell of contacts
// coming on line, offer incoming chat invitations, and serve as the tray
// icon's menu. One pop-up is on show at a time; the others wait in a
// bounded queue (kMaxQueue) with these rules:
//  - a notice waits while another pop-up is on show;
//  - an invitation or the menu goes to the front and replaces a notice on
//    show at once; an invitation on show that another invitation replaces
//    goes back into the queue right behind it, so that no invitation is
//    lost unanswered;
//  - the menu is not offered while an invitation or a menu is on show;
//  - one invitation per member (HasInvitation).
//
// CNotifier is abstract: its owner supplies the eight handlers, in this
// order. User-interface thread only.
#include "CNotifyTimers.h"
#include "NotifyRequest.h"

#include "CMessageWindow.h"
#include "CString.h"

#include <windows.h>

#include <deque>
#include <memory>
#include <vector>

class CNotifyPopup;

class CNotifier {
public:
    // Timers of the pop-ups.
    static constexpr UINT kTimerNoticeHold = 5121;    // full size for 6000 ms
    static constexpr UINT kTimerInvitation = 5122;    // unanswered for 60000 ms: declined
    static constexpr UINT kTimerNoticeStage = 5124;   // one stage every 350 ms
    static constexpr UINT kNoticeHoldMs = 6000;
    static constexpr UINT kInvitationMs = 60000;
    static constexpr UINT kStageMs = 350;
    static constexpr size_t kMaxQueue = 32;
    // Bitmap resources of the program.
    static constexpr UINT kBitmapMark = 189;
    static constexpr UINT kBitmapOnline = 202;
    // The menu's flags: the checked item's value in the low byte, the
    // offered items' values in the second, and the cloud switched off.
    static constexpr DWORD kMenuCloudOff = 1u << 20;
    // The menu's item values.
    enum MenuItem : int { miOnline = 1, miFriends = 2, miOffline = 4, miClose = 8, miCloud = 16 };

    CNotifier();
    virtual ~CNotifier();
    CNotifier(const CNotifier&) = delete;
    CNotifier& operator=(const CNotifier&) = delete;

    // The handlers, in slot order.
    virtual void OnAcceptInvitation(const CString& identity, const CString& name) = 0;   // 0
    virtual void OnDeclineInvitation(const CString& identity, const CString& name) = 0;  // 1
    virtual void OnPresenceOnline() = 0;                                                 // 2: presence 1
    virtual void OnPresenceAway() = 0;                                                   // 3: presence 4
    virtual void OnPresenceFriends() = 0;                                                // 4: presence 8
    virtual void OnOpenMainWindow() = 0;                                                 // 5
    virtual void OnCloseProgram() = 0;                                                   // 6
    virtual void OnSwitchCloud() = 0;                                                    // 7
    // Closes the pop-up on show and shows the next request.
    virtual void CloseCurrent();
    // After a pop-up of kind closed (answered, timed out or replaced).
    virtual void OnPopupClosed(int kind) { (void)kind; }

    // Requests. Each returns false when it was not queued (full queue, a
    // second invitation from one member, the menu while it may not show).
    bool AddNotice(const CString& text, POINT point, UINT bitmap = kBitmapOnline);
    bool AddInvitation(const CString& identity, const CString& text, const CString& name, POINT point);
    bool ShowMenu(DWORD param, POINT point);
    bool HasInvitation(const CString& identity) const;
    void RemoveInvitation(const CString& identity);
    // Handler 5, for the tray's double click.
    void OpenMainWindow() { OnOpenMainWindow(); }
    // Exit: drops the queue and closes the pop-up on show, showing nothing.
    void CloseAll();

    // What is on show and what waits.
    bool IsShowing() const { return m_showing; }
    const NOTIFYREQUEST& GetCurrent() const { return m_current; }
    CNotifyPopup* GetWindow() const { return m_window.get(); }
    size_t GetQueueCount() const { return m_queue.size(); }
    const NOTIFYREQUEST& GetQueued(size_t index) const { return m_queue[index]; }

    // The pop-ups' clock; tests switch it to manual and deliver ticks with
    // FireTimer (only to a timer the pop-up on show has running).
    CNotifyTimers& GetTimers() { return m_timers; }
    bool FireTimer(UINT id);

    // From the pop-ups.
    void OnInvitationAnswer(CNotifyPopup* popup, bool accept);
    void OnMenuChoice(CNotifyPopup* popup, int value);
    // The pop-up ended by itself (a notice that shrank away, a dismissed menu).
    void OnPopupDone(CNotifyPopup* popup);

private:
    // Shows the first request when nothing is on show; replaceShowing: a
    // request just put first may replace what is on show.
    void ShowNext(bool replaceShowing = false);
    // Hides and retires the pop-up on show without showing the next one.
    void ClosePopup();
    // Drops the newest waiting notices until needed more requests fit;
    // false when only invitations wait and they do not.
    bool MakeRoom(size_t needed);
    bool EnsureWindows();
    std::unique_ptr<CNotifyPopup> MakePopup(const NOTIFYREQUEST& request);

    std::deque<NOTIFYREQUEST> m_queue;
    NOTIFYREQUEST m_current;
    std::unique_ptr<CNotifyPopup> m_window;
    bool m_showing = false;
    // The pop-up whose answer is being handled: its hiding is no dismissal.
    CNotifyPopup* m_answering = nullptr;
    CNotifyTimers m_timers;
    // A pop-up that closes may still be running one of its own handlers:
    // it is kept here until the posted reap, then deleted.
    std::vector<std::unique_ptr<CNotifyPopup>> m_retired;
    CMessageWindow m_reaper;
    // The invisible owner of the pop-ups (no task-bar buttons).
    std::unique_ptr<CWnd> m_owner;
};
