#pragma once
// The main window and the owner of everything that lives for the whole run:
// the session with the server (the command channel is a base), the chat
// engine, the settings store, the saved state, the favorites, the member's
// contact table, the current tree and the last search and path results,
// and the services start-up hands over (strings, skin reader, sounds).
//
// The constructor opens no window and sends nothing. StartSession runs
// before the window exists; the window's creation builds the rest and
// starts connecting. Server answers arrive as the answer operations below,
// on the user-interface thread.
//
// Threads: the user-interface thread runs the window, the dialogs and the
// answers. Connecting, loading the member's data, navigation requests and
// handing trees to the tree control run on workers (OrvWorkers), which
// wait on busy and the log-in event and end before the frame does. The
// session timers post their ticks to the window.
#include "OrvIdleSource.h"
#include "OrvSystemIdleSource.h"
#include "OrvMessenger.h"
#include "OrvNavigationHistory.h"
#include "OrvSessionTimers.h"
#include "OrvTrayIcon.h"
#include "OrvWorkers.h"

#include "OrvIUpdateHost.h"
#include "OrvQueryCheck.h"
#include "OrvVersionCheck.h"

#include "CNotifier.h"

#include "COrvChat.h"
#include "IChangeEmailSender.h"
#include "OrvAddressBook.h"
#include "ClsSkinnedControl.h"
#include "IRCChat.h"
#include "OrvConnectManager.h"
#include "OrvContactArray.h"
#include "OrvFavorites.h"
#include "OrvNavigate.h"
#include "OrvISearch.h"
#include "OrvISearchPath.h"
#include "OrvISearchPathResult.h"
#include "OrvISearchResult.h"
#include "OrvRegistry.h"
#include "OrvState.h"

#include "CCriticalSection.h"
#include "CEvent.h"
#include "CHandle.h"
#include "COleDropTarget.h"
#include "CString.h"
#include "CWnd.h"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class CSWindow;
class CTreeControl;
class ClsSkinnedMainMenu;
class OrvLocaleManager;
class OrvPathFinderCtrl;
class OrvPathFinderResultCtrl;
class OrvSearchCtrl;
class OrvSearchResultCtrl;
class OrvSkinReader;
class OrvSoundReader;
class OrvWaitDialog;

class OrvMainFrame : public CWnd,
                     public OrvConnectManager,
                     public OrvIUpdateHost,
                     public ClsSkinnedControl,
                     public IIRCOrvMain,
                     public OrvINavigate,
                     public OrvISearch,
                     public OrvISearchPath,
                     public OrvISearchResult,
                     public OrvISearchPathResult {
public:
    enum SessionState : int {
        ssOffline = 0,
        ssConnecting = 1,
        ssClosing = 2,
        ssOnline = 3,
        ssIdle = 4,  // disconnected for idleness
    };
    enum Status : int {
        stOnline = 1,
        stOffline = 2,
        stAway = 4,
        stFriends = 8,
        stConnecting = 16,
    };
    // Results of the session dialogs.
    enum DialogResult : int {
        drBack = 1,
        drNext = 2,
        drCancel = 3,
        drSuccess = 4,
        drFailure = 5,
        drCommunicationError = 7,
    };
    static constexpr const char* kVersion = "1.0";
    static constexpr const char* kDefaultSequence = "9C2A71";
    static constexpr DWORD kLogInWaitMs = 180000;
    static constexpr UINT kIdlePeriodMs = 5000;
    static constexpr UINT kBlinkPeriodMs = 500;
    static constexpr DWORD kDefaultIdleLimitMs = 900000;
    static constexpr DWORD kDefaultReconnectMs = 20000;
    static constexpr int kContactTableSize = 1000;
    static constexpr int kMaxResults = 100;
    // The session timers' ticks (wParam: OrvSessionTimers::Timer).
    static constexpr UINT kTimerMessage = WM_APP + 0x310;
    // The start-information answer wrote its page.
    static constexpr UINT kStartInfoMessage = 1125;
    // The connecting worker logged in: run the daily version check on the
    // user-interface thread, which owns it.
    static constexpr UINT kVersionCheckMessage = WM_APP + 0x311;

    OrvMainFrame();
    ~OrvMainFrame() override;

    // What start-up hands over; the frame owns each from then on.
    void SetInstallSemaphore(HANDLE semaphore);
    void SetLocaleManager(std::unique_ptr<OrvLocaleManager> locale);
    void SetSkinReader(std::unique_ptr<OrvSkinReader> reader);
    void SetSoundReader(std::unique_ptr<OrvSoundReader> sounds);
    void SetNotifierMode(bool notifier) { m_notifierMode = notifier; }
    void SetProgramDirectory(const CString& directory) { m_programDirectory = directory; }
    OrvLocaleManager* GetLocaleManager() const { return m_locale.get(); }
    OrvSkinReader* GetSkinReader() const { return m_skinReader.get(); }

    // Seams for tests; both borrowed.
    void SetMessenger(OrvIMessenger* messenger) { m_messenger = messenger; }
    void SetIdleSource(OrvIIdleSource* source) { m_idleSource = source; }
    OrvSessionTimers& GetTimers() { return m_timers; }
    void SetLogInWait(DWORD ms) { m_logInWaitMs = ms; }

    // Sign-up, verification and log-in before the main window exists; true
    // when the member may go on to the main window.
    bool StartSession();
    // "-remove": log in, drop the user, end the session, each waited for.
    bool RemoveAccount();
    // The main menu's keyboard shortcuts, for the message loop.
    bool OfferToMenu(MSG* msg);

    // Connecting: from the window, the re-connection timer and input after
    // idleness. The log-in runs on a worker.
    void Connect();
    // Presence off line, idle disconnection, lost session.
    void GoOffline();
    // Exit: saves the state, ends the session and destroys the window.
    void Exit();

    // The session timers' work, on the user-interface thread.
    void OnIdleTick();
    void OnReconnectTick();
    void OnBlinkTick();

    // State, for the menus and the tests.
    int GetSessionState() const { return m_sessionState; }
    int GetStatus() const { return m_status; }
    bool IsBusy() const { return m_busy; }
    bool IsAutoAway() const { return m_autoAway; }
    // A contact-tree was asked for and not answered yet; a navigation
    // request is being carried out.
    bool IsTreePending() const { return m_treePending; }
    bool IsNavigating() const { return m_navigating; }
    CString GetSessionId() const;
    CString GetLastResult() const;
    CString GetRequestedRoot() const;
    const OrvTrayIcon& GetTrayIcon() const { return m_tray; }
    OrvNavigationHistory& GetHistory() { return m_history; }
    const OrvContactArray& GetCurrentTree() const { return m_currentTree; }
    const OrvContactArray& GetLastSearchResult() const { return m_lastSearch; }
    const OrvContactArray& GetLastPathResult() const { return m_lastPaths; }
    int GetContactCount() const { return m_contactCount; }
    const ORVCONTACTINFO& GetContact(int index) const { return m_contacts[index]; }
    DWORD GetIdleLimit() const { return m_idleLimitMs; }
    DWORD GetBannerInterval() const { return m_bannerIntervalMs; }
    CTreeControl* GetTreeControl() const;
    ClsSkinnedMainMenu* GetMainMenu() const;
    // The member's own record, built from the session.
    ORVCONTACTINFO GetOwnRecord() const;
    // What ExitInstance hands to the updater: set once the member agreed.
    bool IsUpdateDownloaded() const { return m_versionCheck.UpdateDownloaded(); }
    const CString& GetUpdateFile() const { return m_versionCheck.UpdateFile(); }
    const CString& GetUpdateArgument() const { return m_versionCheck.VersionArgument(); }
    const OrvVersionCheck& GetVersionCheck() const { return m_versionCheck; }
    // The last text meant for the notification cloud.
    const CString& GetUpdateNotice() const { return m_updateNotice; }

    // Shell: the message panel's banner, the start information, the
    // splitter's place, the toolbar's state, the help-tip switch
    // (OrvMainFrameShell.cpp).
    static constexpr UINT kBannerTimerId = 4;
    // Sent by the navigation worker (and the tree's menus): open the private
    // chat with (id, display name) or, both null, the chat rooms.
    static constexpr UINT kOpenChatMessage = 4024;
    // Navigation kind 5: the "Add/Remove Contacts" flow (wParam 5).
    static constexpr UINT kContactsFlowMessage = 4026;
    // The navigation worker moved the history: refresh the toolbar.
    static constexpr UINT kShellStateMessage = WM_APP + 0x312;
    static constexpr const char* kStartInfoFile = "_hinfo.html";
    // Which address the banner shows: 1 active, 2 inactive, 0 emptied.
    int GetBannerAddress() const { return m_bannerAddress; }
    int GetBannerTicks() const { return m_bannerTicks; }
    // A connecting worker runs.
    bool IsConnecting() const { return m_connecting; }
    // The seven toolbar buttons' rules, from the frame's state.
    bool ToolbarButtonEnabled(int index);
    // The splitter's place for a saved position: never closer than the
    // default (the search control's width); the default without one.
    int SplitterPlaceFor(unsigned long saved) const;
    // The map page address of the session (empty: kinds 6 and command 8 do
    // nothing).
    void SetMapPageAddress(const CString& address);
    // How often a 4024 and a 4026 arrived, for the traces and the tests.
    int GetChatRequests() const { return m_chatRequests; }
    int GetContactsFlowRequests() const { return m_contactsFlowRequests; }

    // OrvIUpdateHost.
    void SendVersionRequest(const CString& session, const CString& version) override;
    void ShowUpdateNotice(const CString& text) override;

    // OrvINavigate: a request of the tree (or a list, the toolbar).
    int Navigate(const ORVNAVIGATEINFO* info) override;
    const char* GetUserId() override;
    // The third and fourth operations of the navigation table.
    virtual BOOL IsSessionMarked();
    virtual void CloseTreePopUps();

    // IIRCOrvMain.
    void OnCommandResult(int code, INT_PTR p1, INT_PTR p2) override;
    void OnChatEvent(int code, INT_PTR p1, INT_PTR p2) override;
    CString GetMemberId() override;
    CString GetDisplayName() override;
    CString GetEmail() override;
    CString GetStartInfo() override;
    BOOL IsAway() override;
    BOOL Reserved() override;
    BOOL IsHideEmail() override;
    void OpenPrivateChat(const OrvChatUser& user) override;
    void SearchPath(const OrvChatUser& user) override;
    void ShowTree(const OrvChatUser& user) override;
    char GetUserColor() override;
    void SetUserColor(char code) override;

    const char* GetRuntimeClassName() const override;

    // Searches and search-paths (OrvMainFrameSearch.cpp): the requests of
    // the search control and the path finder, what the two result lists
    // report, and the path finder's part of the navigation commands.
    void Search(const CString& text) override;
    void SearchPath(const ORVPATHREQUEST* request) override;
    void OnResult(const ORVNAVIGATEINFO* info) override;
    void OnPathResult(const ORVNAVIGATEINFO* info) override;
    // A search or path request runs (from the request until its answer).
    bool IsSearching() const { return m_searching; }
    // How many search answers (10) and path answers (16, 17) arrived.
    int GetSearchAnswerCount() const { return m_searchAnswers; }
    int GetPathAnswerCount() const { return m_pathAnswers; }
    // Work a worker hands to the user-interface thread (message
    // kSearchTaskMessage); dropped when the window is gone.
    static constexpr UINT kSearchTaskMessage = WM_APP + 0x320;

protected:
    // The window.
    int OnCreate(LPCREATESTRUCTA create) override;
    void OnDestroy() override;
    void OnClose() override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    // The answer operations.
    void OnCommandFailed(CString commandId) override;
    void OnValueAnswer(CString code, CString value) override;
    void OnAddUserAnswer(CString code) override;
    void OnDropContactsAnswer(CString code) override;
    void OnAddContactsAnswer(CString code) override;
    void OnPlainAnswerA(CString code) override;
    void OnUpdateUserAnswer(CString code) override;
    void OnUpdateContactsAnswer(CString code) override;
    void OnPlainAnswerB(CString code) override;
    void OnSearchAnswer(CString code, int count, ORVCONTACTINFO* records) override;
    void OnDropAddContactsAnswer(CString code) override;
    void OnGetContactsAnswer(CString code, CString email, int count, ORVCONTACTINFO* records) override;
    void OnChangeEmailAnswer(CString code) override;
    void OnTreeAnswer(CString code, int count, ORVCONTACTINFO* records) override;
    void OnOnlineContactsAnswer(CString code, int count, ORVCONTACTINFO* records) override;
    void OnSearchPathAnswer(CString code, CString sourceEmail, CString destination, CString hops,
                            int pathCount, ORVPATHINFO* paths) override;
    void OnSearchPathByKeywordAnswer(CString code, int pathCount, ORVPATHINFO* paths) override;
    void OnLogInAnswer(CString code, CString memberId, CString key, CString firstName, CString lastName,
                       CString occupation, CString sessionId, int bannerPeriod, CString panelUrl1,
                       CString chatServer, CString chatPort, CString chatDelay, CString panelUrl2,
                       CString chatPingRate, int idleLimit, int reserved, CString serverInfo) override;
    void OnVersionAnswer(CString code, CString action, CString arg1, CString arg2) override;
    void OnServerNotice(CString text) override;
    void OnVerifyUserAnswer(CString code, CString password, CString key) override;
    void OnStartInfoAnswer(CString code, CString page) override;

    // A search whose too-many and not-found messages are suppressed.
    void SetSilentSearch(bool silent) { m_silentSearch = silent; }
    // The id whose tree was asked for last (the answer puts it first).
    void SetRequestedRoot(const CString& id);

    // The one error mapping: shows what the member must see, takes the
    // program off line when the session was lost.
    void MapError(int commandId, const CString& code);
    // Shows a message through the messenger, owned by owner (or the window).
    int ShowMessage(const char* text, const char* caption, UINT type, HWND owner = nullptr);

    // The session start's parts, for the dialogs (registration window
    // parent). Runs dialog as modal: shown, pumped until "WM_OrvCloseDialog"
    // or quit; returns the result (-1 on quit).
    int RunDialog(CWnd& dialog);
    // Sends a request with its waiting dialog and returns the dialog's result.
    int WaitWithDialog(UINT waitDialogId, const std::function<void()>& send);
    // The session start's two halves: the contact-tree wizard (true when the
    // member is registered at its end, *loggedOn when a verification found
    // him registered before) and the first log-in.
    bool RunSignUp();
    bool RunFirstLogIn();
    // The e-mail change of the log-in page: sends it and pumps messages
    // until the answer; its code.
    CString SendChangeEmail(const CString& oldEmail, const CString& newEmail);

private:
    // Prologue of the answers: lastResult and the busy look.
    void Prologue(const CString& code, bool setResult = true, bool endBusyLook = true);
    void ClearBusy() { m_busy = false; }
    void SetLastResult(const CString& result);
    void SetStatus(int status);
    void StorePresenceShown();
    // Posts a result to the waiting dialog made from templateId, if open.
    void PostToWaitDialog(UINT templateId, int result);
    // The connecting worker's steps.
    void ConnectWorker(CString email, CString password);
    void LoadMemberData();
    // Waits on a worker while busy; false when the frame stops.
    bool WaitWhileBusyOnWorker();
    // Pumps the user-interface thread's messages while busy.
    void PumpWhileBusy();
    void SessionLost();
    void OnChatConnected();
    void ShowMainWindow();
    void SaveWindowState();
    void RestoreWindowState();
    void SetOfflineLook();
    void UpdateMenuStates();
    void SetMenuCaption(const char* menuCaption, UINT command, const char* caption);
    void RequestTree(const CString& id);
    void HandTreeToControl(OrvContactArray copy, int action);
    void RunNavigation(ORVNAVIGATEINFO request, std::unique_ptr<ORVCONTACTINFO> contact);
    void ChangePresence(int status);
    void OnRestoreWindowMessage();
    // Shell (OrvMainFrameShell.cpp).
    void OnChangeBanner(WPARAM other, LPARAM stateAndMinimized);
    void ShowBanner(int address);
    void OnBannerTimer();
    void OnStartInfoMessage();
    void PlaceSplitter();
    void UpdateToolbarState();
    void OnOpenChatMessage(WPARAM id, LPARAM name);
    void OnContactsFlowMessage(WPARAM first);
    void RunToolbarRequest(const ORVNAVIGATEINFO& request);
    // A command of a menu on a person (mail, the two menu commands, chat,
    // map); the path finder's commands are the search part's.
    void RunContactCommand(int command, const ORVCONTACTINFO& contact);
    void OpenChatWith(const CString& id, const CString& name);
    void ToggleHelpTips();
    // True while the chat engine has a private chat running (a seam for the
    // tests, which cannot open one without a second member).
    virtual bool IsInPrivateChat();
    // Handles the shell's messages; true when message was one of them.
    bool OnShellMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The downloaded update waits: ask the member, and exit on consent.
    void OnStartUpgradeMessage();
    void Shutdown();
    // Ends every worker, waking the one that waits for a log-in.
    void StopWorkers();
    void CreateRegistrationWindow();
    void DestroyRegistrationWindow();
    HICON StatusIcon(int status) const;

    // Owned members, in the order they are built.
    std::unique_ptr<CWnd> m_registrationWindow;
    std::unique_ptr<CSWindow> m_registrationSkin;
    CEvent m_logInEvent{false};
    CHandle m_installSemaphore;
    bool m_semaphoreReleased = false;
    OrvRegistry m_registry;
    // Reads and writes the settings store: built after it, gone before it.
    OrvVersionCheck m_versionCheck{*this, m_registry};
    OrvFavorites m_favorites;
    OrvAddressBook m_addressBook;
    std::vector<ORVCONTACTINFO> m_contacts;
    int m_contactCount = 0;
    OrvNavigationHistory m_history;
    OrvState m_state;
    COrvChat m_chat;
    HICON m_icons[5] = {};  // 181, 182, 183, 184, 128

    std::unique_ptr<OrvLocaleManager> m_locale;
    std::unique_ptr<OrvSkinReader> m_skinReader;
    std::unique_ptr<OrvSoundReader> m_sounds;
    std::unique_ptr<CSWindow> m_windowSkin;
    COleDropTarget m_dropTarget;
    OrvTrayIcon m_tray;
    OrvSessionTimers m_timers;
    OrvSkinnedMessenger m_skinnedMessenger;
    OrvIMessenger* m_messenger;
    std::unique_ptr<OrvSystemIdleSource> m_systemIdleSource;
    OrvIIdleSource* m_idleSource = nullptr;
    std::vector<OrvWaitDialog*> m_waitDialogs;  // open now, not owned

    // Session fields. Strings shared with the workers are guarded by m_lock.
    mutable CCriticalSection m_lock;
    std::atomic<int> m_sessionState{ssOffline};
    std::atomic<int> m_status{stOffline};
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_autoAway{false};
    std::atomic<bool> m_firstLogIn{false};
    // A connecting worker runs: one at a time, since they share the
    // log-in event.
    std::atomic<bool> m_connecting{false};
    bool m_firstConnection = true;
    bool m_notifierMode = false;
    bool m_mayShow = true;
    bool m_blinkOn = false;
    std::atomic<bool> m_silentSearch{false};
    bool m_exiting = false;
    CString m_sessionId;
    CString m_memberId;
    CString m_key;
    CString m_lastResult{"0"};
    CString m_password;
    CString m_chatServer;
    int m_chatPort = 0;
    int m_chatDelay = 0;
    int m_chatPingRate = 10;
    CString m_panelUrl1;
    CString m_panelUrl2;
    CString m_serverInfo;
    CString m_keptValue;
    CString m_verifyPassword;
    CString m_verifyKey;
    CString m_verifyCode;
    CString m_changeEmailCode;
    // What the log-in page's "Change e-mail" calls.
    class EmailChanger : public IChangeEmailSender {
    public:
        explicit EmailChanger(OrvMainFrame& frame) : m_frame(frame) {}
        CString SendChangeEmail(const CString& oldEmail, const CString& newEmail) override {
            return m_frame.SendChangeEmail(oldEmail, newEmail);
        }

    private:
        OrvMainFrame& m_frame;
    };
    EmailChanger m_emailChanger{*this};
    // e-mail, full name, first, last, occupation, and two more.
    CString m_profile[7];
    bool m_hiddenEmail = false;
    DWORD m_idleLimitMs = kDefaultIdleLimitMs;
    DWORD m_reconnectMs = kDefaultReconnectMs;
    DWORD m_bannerIntervalMs = 100000;
    DWORD m_logInWaitMs = kLogInWaitMs;
    CString m_programDirectory;
    CString m_updateNotice;

    // Navigation.
    std::atomic<bool> m_navigating{false};
    std::atomic<bool> m_treePending{false};
    std::atomic<bool> m_historyChanged{false};
    std::atomic<bool> m_selectAnimation{false};
    CString m_requestedRoot;
    CString m_rootId;

    OrvContactArray m_currentTree;
    OrvContactArray m_lastSearch;
    OrvContactArray m_lastPaths;

    // Searches and search-paths (OrvMainFrameSearch.cpp).
    bool EnsureSession();
    void StartPathSearch(const OrvPathQuery& query);
    void ActOnResult(const ORVNAVIGATEINFO* info);
    void RunPathCommand(int command, const ORVCONTACTINFO& contact);
    void PlaceOwnRecordAsSource();
    void PostSearchTask(std::function<void()> task);
    void RunSearchTasks();
    void ShowBusyLook();
    void EndBusyLook();
    void EnableSearchButtons(bool search, bool path);
    void FillSearchResults(const OrvContactArray& records);
    void FillPathResults(int pathCount, const ORVPATHINFO* paths);
    void ShowPathEnds(const CString& source, const CString& destination);
    OrvSearchCtrl* SearchControl() const;
    OrvPathFinderCtrl* PathFinder() const;
    OrvSearchResultCtrl* SearchResults() const;
    OrvPathFinderResultCtrl* PathResults() const;
    std::atomic<bool> m_searching{false};
    std::atomic<int> m_searchAnswers{0};
    std::atomic<int> m_pathAnswers{0};
    bool m_busyLook = false;  // the panel's clock runs for a request
    CCriticalSection m_searchTaskLock;
    std::vector<std::function<void()>> m_searchTasks;
    // Shell.
    int m_bannerAddress = 0;
    int m_bannerTicks = 0;
    int m_chatRequests = 0;
    int m_contactsFlowRequests = 0;
    bool m_helpTips = true;
    bool m_startInfoOpen = false;
    CString m_mapPageAddress;

    OrvWorkers m_workers;

    // ---- The notification cloud and the tray menu (OrvMainFrameNotifier.cpp).
public:
    // The cloud, made on first use; the frame supplies its handlers.
    CNotifier& GetNotifier();
    // The tray icon's message (lParam: the mouse message).
    void OnTrayMessage(LPARAM mouseMessage);
    // The tray menu's flags: the items offered, the cloud switch, the presence.
    DWORD GetTrayMenuFlags();

private:
    class FrameNotifier;
    // Exit: the cloud shows nothing more.
    void CloseCloud();
    // Where the cloud's pop-ups go: next to the tray icon.
    POINT CloudPoint() const;
    // Chat events 7 (identity, name) and 33 (name, identity).
    void OnChatInvitation(INT_PTR identity, INT_PTR name);
    void OnContactOnline(INT_PTR name, INT_PTR identity);
    POINT m_trayPoint{0, 0};
    bool m_trayPointKnown = false;
    std::unique_ptr<CNotifier> m_notifier;
};
