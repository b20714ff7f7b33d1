#include "OrvMainFrame.h"

#include "OrvBrowser.h"
#include "OrvRegisteredMessages.h"
#include "OrvStartupSetting.h"
#include "OrvSystemIdleSource.h"
#include "OrvUpdateTexts.h"
#include "OrvWaitDialog.h"

#include "CFirstLogInDialog.h"
#include "CWizardContactsPage.h"
#include "CWizardEmailPage.h"
#include "CWizardFinishPage.h"
#include "CWizardNamePage.h"

#include "OrvChatUser.h"
#include "OrvMessages.h"
#include "res/OrvResources.h"

#include "CSWindow.h"
#include "CTreeControl.h"
#include "ClsSkinName.h"
#include "ClsSkinnedMainMenu.h"
#include "OrvLocaleManager.h"
#include "OrvMessagePanelCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvSkinReader.h"
#include "OrvSoundReader.h"
#include "OrvStartTrace.h"

#include "AfxTrace.h"
#include "CWinApp.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

CString LastFour(const CString& text) { return text.GetLength() <= 4 ? text : text.Right(4); }

// The presence kept in the settings store for a status shown.
unsigned StoredPresence(int status) {
    switch (status) {
    case OrvMainFrame::stAway: return 3;
    case OrvMainFrame::stFriends: return 2;
    default: return 1;
    }
}

const char* TrayTip(int status) {
    switch (status) {
    case OrvMainFrame::stOnline: return "Orvane - on line";
    case OrvMainFrame::stFriends: return "Orvane - available to friends";
    case OrvMainFrame::stAway: return "Orvane - away";
    case OrvMainFrame::stConnecting: return "Orvane - connecting";
    default: return "Orvane - off line";
    }
}

const char* StatusCode(int status) {
    switch (status) {
    case OrvMainFrame::stOnline: return "0";
    case OrvMainFrame::stFriends: return "2";
    default: return "1";
    }
}

HICON LoadProgramIcon(UINT id, int size) {
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size,
                                           size, LR_DEFAULTCOLOR));
}

}  // namespace

OrvMainFrame::OrvMainFrame()
    : m_registrationWindow(std::make_unique<CWnd>()),
      m_contacts(kContactTableSize),
      m_chat(this),
      m_messenger(&m_skinnedMessenger) {
    SetUncryptSequence(kDefaultSequence);
    const UINT ids[5] = {IDI_STATUS_ONLINE, IDI_STATUS_FRIENDS, IDI_STATUS_AWAY, IDI_STATUS_OFFLINE, IDI_ORVANE};
    for (int i = 0; i < 5; ++i) m_icons[i] = LoadProgramIcon(ids[i], 16);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

OrvMainFrame::~OrvMainFrame() {
    // No worker may outlive what it uses; the window goes before the members.
    StopWorkers();
    m_timers.StopAll();
    if (m_hWnd) DestroyWindow();
    if (m_registrationWindow && m_registrationWindow->GetSafeHwnd()) m_registrationWindow->DestroyWindow();
    // The skin reader's controls belong to our window's children: gone with
    // it; then the services.
    m_skinReader.reset();
    m_sounds.reset();
    m_locale.reset();
    for (HICON& icon : m_icons) {
        if (icon) ::DestroyIcon(icon);
        icon = nullptr;
    }
    if (m_installSemaphore && !m_semaphoreReleased) ::ReleaseSemaphore(m_installSemaphore.Get(), 1, nullptr);
}

const char* OrvMainFrame::GetRuntimeClassName() const { return "OrvMainFrame"; }

void OrvMainFrame::SetInstallSemaphore(HANDLE semaphore) {
    m_installSemaphore.Reset(semaphore);
    m_semaphoreReleased = false;
}
void OrvMainFrame::SetLocaleManager(std::unique_ptr<OrvLocaleManager> locale) { m_locale = std::move(locale); }
void OrvMainFrame::SetSkinReader(std::unique_ptr<OrvSkinReader> reader) { m_skinReader = std::move(reader); }
void OrvMainFrame::SetSoundReader(std::unique_ptr<OrvSoundReader> sounds) { m_sounds = std::move(sounds); }

CTreeControl* OrvMainFrame::GetTreeControl() const {
    return m_skinReader ? m_skinReader->GetTreeControl() : nullptr;
}
ClsSkinnedMainMenu* OrvMainFrame::GetMainMenu() const {
    return m_skinReader ? m_skinReader->GetMainMenu() : nullptr;
}

CString OrvMainFrame::GetSessionId() const {
    CSingleLock lock(m_lock);
    return m_sessionId;
}
CString OrvMainFrame::GetLastResult() const {
    CSingleLock lock(m_lock);
    return m_lastResult;
}
CString OrvMainFrame::GetRequestedRoot() const {
    CSingleLock lock(m_lock);
    return m_requestedRoot;
}
void OrvMainFrame::SetLastResult(const CString& result) {
    CSingleLock lock(m_lock);
    m_lastResult = result;
}

ORVCONTACTINFO OrvMainFrame::GetOwnRecord() const {
    ORVCONTACTINFO own;
    CSingleLock lock(m_lock);
    own.id = m_memberId;
    own.isMember = m_memberId.IsEmpty() ? 0 : 1;
    own.firstName = m_profile[2];
    own.lastName = m_profile[3];
    own.email = m_profile[0];
    own.occupation = m_profile[4];
    own.emailPrivate = m_hiddenEmail ? 1 : 0;
    own.canChat = 1;
    return own;
}

int OrvMainFrame::ShowMessage(const char* text, const char* caption, UINT type, HWND owner) {
    if (!owner) owner = m_hWnd;
    return m_messenger ? m_messenger->ShowMessage(owner, text, caption, type) : 0;
}

HICON OrvMainFrame::StatusIcon(int status) const {
    switch (status) {
    case stOnline: return m_icons[0];
    case stFriends: return m_icons[1];
    case stAway: return m_icons[2];
    default: return m_icons[3];
    }
}

void OrvMainFrame::SetStatus(int status) {
    m_status = status;
    if (status == stConnecting) {
        m_blinkOn = !m_blinkOn;
        m_tray.Modify(m_blinkOn ? m_icons[0] : m_icons[2], TrayTip(stConnecting));
        return;
    }
    m_tray.Modify(StatusIcon(status), TrayTip(status));
}

void OrvMainFrame::StorePresenceShown() {
    const int shown = m_status;
    if (shown == stOnline || shown == stAway || shown == stFriends) m_registry.SetOrvStatus(StoredPresence(shown));
}

bool OrvMainFrame::OfferToMenu(MSG* msg) {
    ClsSkinnedMainMenu* menu = GetMainMenu();
    if (!menu || !m_hWnd || ::GetForegroundWindow() != m_hWnd) return false;
    return menu->IsMenuCommand(*msg);
}

// ---------------------------------------------------------------- dialogs

int OrvMainFrame::RunDialog(CWnd& dialog) {
    dialog.ShowWindow(SW_SHOWDEFAULT);
    const UINT close = OrvMessages().closeDialog;
    int result = -1;
    for (;;) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            result = -1;
            break;
        }
        if (msg.message == close) {
            result = static_cast<int>(msg.wParam);
            break;
        }
        if (!::IsDialogMessageA(dialog.GetSafeHwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    dialog.ShowWindow(SW_HIDE);
    if (m_registrationWindow->GetSafeHwnd()) {
        ::SetActiveWindow(m_registrationWindow->GetSafeHwnd());
        m_registrationWindow->RedrawWindow();
    }
    return result;
}

void OrvMainFrame::PostToWaitDialog(UINT templateId, int result) {
    for (OrvWaitDialog* dialog : m_waitDialogs)
        if (dialog->GetTemplateId() == templateId && dialog->GetSafeHwnd())
            dialog->PostMessage(ORV_WM_DIALOG_RESULT, 0, result);
}

int OrvMainFrame::WaitWithDialog(UINT waitDialogId, const std::function<void()>& send) {
    OrvWaitDialog dialog(waitDialogId);
    CWnd* parent = m_registrationWindow->GetSafeHwnd() ? m_registrationWindow.get() : nullptr;
    if (!dialog.Create(parent)) return drCommunicationError;
    m_waitDialogs.push_back(&dialog);
    m_busy = true;
    send();
    const int result = RunDialog(dialog);
    m_waitDialogs.erase(std::find(m_waitDialogs.begin(), m_waitDialogs.end(), &dialog));
    return result;
}

void OrvMainFrame::CreateRegistrationWindow() {
    if (m_registrationWindow->GetSafeHwnd()) return;
    if (!m_registrationWindow->CreateEx(0, nullptr, "Orvane registration", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                        CW_USEDEFAULT, CW_USEDEFAULT, 700, 500, nullptr, nullptr))
        return;
    m_registrationSkin = std::make_unique<CSWindow>();
    m_registrationSkin->Install(m_registrationWindow->GetSafeHwnd(), "MainFrame");
    m_registrationWindow->SetIcon(m_icons[4], FALSE);
    m_registrationWindow->ShowWindow(SW_SHOWMAXIMIZED);
    m_registrationWindow->UpdateWindow();
}

void OrvMainFrame::DestroyRegistrationWindow() {
    if (m_registrationSkin) m_registrationSkin->Uninstall();
    m_registrationSkin.reset();
    if (m_registrationWindow->GetSafeHwnd()) m_registrationWindow->DestroyWindow();
}

bool OrvMainFrame::StartSession() {
    bool ok = true;
    if (!m_registry.IsRegister()) {
        OrvStartupSetting::Write();
        CreateRegistrationWindow();
        ok = RunSignUp();
    }
    if (ok && !m_registry.IsLogon()) {
        CreateRegistrationWindow();
        ok = RunFirstLogIn();
    }
    DestroyRegistrationWindow();
    return ok;
}

bool OrvMainFrame::RunSignUp() {
    HWND owner = m_registrationWindow->GetSafeHwnd();
    CWnd* parent = m_registrationWindow.get();
    CWizardEmailPage emailPage;
    CWizardNamePage namePage;
    CWizardContactsPage contactsPage;
    CWizardFinishPage finishPage;
    if (!emailPage.Create(parent) || !namePage.Create(parent) || !finishPage.Create(parent)) return false;
    emailPage.SetEmail(m_registry.GetEmail());
    emailPage.SetHideEmail(m_registry.IsEmailHidden() != 0);
    CString email, firstName, lastName, occupation, contacts;
    int step = 1;
    for (;;) {
        if (step == 1) {
            const int result = RunDialog(emailPage);
            if (result == drBack || result == COrvSkinnedDialog::kStay) continue;
            if (result != drNext) return false;
            email = emailPage.GetEmail();
            m_registry.SetEmail(email);
            if (emailPage.GetHideEmail())
                m_registry.HiddenEmail();
            else
                m_registry.UnHiddenEmail();
            {
                CSingleLock lock(m_lock);
                m_profile[0] = email;
                m_hiddenEmail = emailPage.GetHideEmail();
            }
            for (;;) {
                m_verifyCode.Empty();
                const int verified = WaitWithDialog(IDD_WAIT_VERIFY, [&] { DoVerifyUserCommand(email); });
                if (verified == drCommunicationError) {
                    if (ShowMessage("Orvane had a communication error. Can you please try again?", "Orvane user verify",
                                    MB_YESNO | MB_ICONQUESTION, owner) == IDYES)
                        continue;
                    return false;
                }
                if (verified == drSuccess) {
                    step = 2;
                    break;
                }
                if (verified != drFailure) return false;
                if (m_verifyCode == "1" || m_verifyCode == "8") {
                    if (ShowMessage("Error connection to database. \nPlease re-connect to the Internet to continue.",
                                    "Orvane user verify", MB_RETRYCANCEL | MB_ICONWARNING, owner) == IDRETRY)
                        continue;
                    return false;
                }
                if (m_verifyCode == "5") {
                    const CString text = CString("Orvane has found that you have registered before via this e-mail. "
                                                 "Orvane will now send again the password to your e-mail as it "
                                                 "appears below. Please copy it, and paste it in the following "
                                                 "log-in window\n\n") + email;
                    ShowMessage(text, "Orvane", MB_OK | MB_ICONINFORMATION, owner);
                }
                // Registered before (or another answer): straight to the log-in.
                m_registry.Register();
                return true;
            }
            continue;
        }
        if (step == 2) {
            const int result = RunDialog(namePage);
            if (result == COrvSkinnedDialog::kStay) continue;
            if (result == drBack) {
                step = 1;
                continue;
            }
            if (result != drNext) return false;
            firstName = namePage.GetFirstName();
            lastName = namePage.GetLastName();
            occupation = namePage.GetFreeText();
            m_registry.SetFName(firstName);
            m_registry.SetLName(lastName);
            {
                CSingleLock lock(m_lock);
                m_profile[2] = firstName;
                m_profile[3] = lastName;
                m_profile[1] = OrvDisplayName(firstName, lastName);
                m_profile[4] = occupation;
            }
            step = 3;
            continue;
        }
        if (step == 3) {
            // The selection page loads the address book as its window is
            // made, the first time it is shown.
            if (!contactsPage.GetSafeHwnd()) {
                contactsPage.SetAddressBook(&m_addressBook);
                contactsPage.SetOwnEmail(email);
                if (!contactsPage.Create(parent)) return false;
            }
            const int result = RunDialog(contactsPage);
            if (result == COrvSkinnedDialog::kStay) continue;
            if (result == drBack) {
                step = 2;
                continue;
            }
            if (result != drNext) return false;
            contacts = contactsPage.GetContactsString();
            step = 4;
            continue;
        }
        finishPage.SetEmail(email);
        const int result = RunDialog(finishPage);
        if (result == COrvSkinnedDialog::kStay) continue;
        if (result == drBack) {
            step = 3;
            continue;
        }
        if (result != drNext) return false;
        const CString hiddenEmail = m_registry.IsEmailHidden() ? "1" : "0";
        const CString hiddenChat = m_registry.IsChatHidden() ? "1" : "0";
        for (;;) {
            const int added = WaitWithDialog(IDD_WAIT_ADD_USER, [&] {
                DoAddUserCommand(firstName, lastName, email, occupation, hiddenEmail, hiddenChat, contacts);
            });
            if (added == drCommunicationError) {
                if (ShowMessage("Orvane had a communication error. Can you please try again?", "Internet connection",
                                MB_YESNO | MB_ICONQUESTION, owner) == IDYES)
                    continue;
                return false;
            }
            if (added == drFailure) {
                if (ShowMessage("Register user error. \nPlease re-connect to the Internet to continue.",
                                "Orvane user registration", MB_RETRYCANCEL | MB_ICONWARNING, owner) == IDRETRY) {
                    step = 1;
                    break;
                }
                return false;
            }
            if (added != drSuccess) return false;
            m_registry.Register();
            return true;
        }
    }
}

bool OrvMainFrame::RunFirstLogIn() {
    HWND owner = m_registrationWindow->GetSafeHwnd();
    CFirstLogInDialog page;
    if (!page.Create(m_registrationWindow.get())) return false;
    page.SetEmail(m_registry.GetEmail());
    page.SetChangeEmailSender(&m_emailChanger);
    for (;;) {
        const int shown = RunDialog(page);
        if (shown != COrvSkinnedDialog::kStay) return false;
        const CString email = page.GetEmail();
        const CString password = page.GetPassword();
        m_registry.SetEmail(email);
        {
            CSingleLock lock(m_lock);
            m_profile[0] = email;
        }
        for (;;) {
            SetUncryptSequence(LastFour(password));
            m_firstLogIn = true;
            const int result =
                WaitWithDialog(IDD_WAIT_LOGIN, [&] { DoCheckUserCommand(email, password, "1", kVersion); });
            if (result == drCommunicationError) {
                if (ShowMessage("Orvane had a communication error. Can you please try again?", "Internet connection",
                                MB_YESNO | MB_ICONQUESTION, owner) == IDYES)
                    continue;
                return false;
            }
            if (result == drFailure) {
                if (ShowMessage("You have mistyped your password. \nPlease type or paste it again",
                                "Orvane user login", MB_RETRYCANCEL | MB_ICONWARNING, owner) == IDRETRY)
                    break;  // the log-in page again
                return false;
            }
            if (result != drSuccess) return false;
            m_registry.SetSerkey(password);
            m_registry.Logon();
            return true;
        }
    }
}

CString OrvMainFrame::SendChangeEmail(const CString& oldEmail, const CString& newEmail) {
    m_changeEmailCode = "1";
    m_busy = true;
    DoChangeEmailCommand(oldEmail, newEmail);
    PumpWhileBusy();
    if (m_changeEmailCode == "0") m_registry.SetEmail(newEmail);
    return m_changeEmailCode;
}

bool OrvMainFrame::RemoveAccount() {
    const CString email = m_registry.GetEmail();
    const CString password = m_registry.GetSerkey();
    m_firstLogIn = true;
    SetLastResult("Connection error");
    m_busy = true;
    DoCheckUserCommand(email, password, "1", kVersion);
    PumpWhileBusy();
    if (GetLastResult() != "0") return false;
    m_busy = true;
    DoDropUserCommand(GetSessionId());
    PumpWhileBusy();
    m_busy = true;
    DoKillSessionCommand(GetSessionId());
    PumpWhileBusy();
    return true;
}

void OrvMainFrame::PumpWhileBusy() {
    while (m_busy) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool OrvMainFrame::WaitWhileBusyOnWorker() {
    while (m_busy) {
        if (m_workers.IsStopping()) return false;
        ::Sleep(100);
    }
    return !m_workers.IsStopping();
}

// ---------------------------------------------------------------- window

int OrvMainFrame::OnCreate(LPCREATESTRUCTA create) {
    if (CWnd::OnCreate(create) == -1) return -1;
    m_tray.Add(m_hWnd, OrvMessages().tray, m_icons[3], TrayTip(stOffline));
    SetHandleC(m_hWnd);
    m_dropTarget.Register(this);
    HICON big = LoadProgramIcon(IDI_ORVANE, 32);
    // The window keeps the icons it is given for its life; the shared
    // resource icons need no destroying.
    SetIcon(big, TRUE);
    SetIcon(m_icons[4], FALSE);
    m_windowSkin = std::make_unique<CSWindow>();
    m_windowSkin->Install(m_hWnd, "MainFrame");
    m_timers.SetTarget(m_hWnd, kTimerMessage);
    m_versionCheck.SetWindow(m_hWnd);

    m_favorites.Load();
    if (m_skinReader) {
        CreateControls_t controls;
        controls.Parent = this;
        controls.Navigate = this;
        controls.Search = this;
        controls.SearchPath = this;
        controls.SearchResult = this;
        controls.SearchPathResult = this;
        m_skinReader->CreateControls(&controls);
        OrvStartMark("controls created");
    }
    if (ClsSkinnedMainMenu* menu = GetMainMenu()) {
        menu->LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
        UpdateMenuStates();
    }
    const CString skinDirectory = m_registry.GetSkindir();
    if (!skinDirectory.IsEmpty()) m_state.SetData(m_registry.GetState());
    if (m_skinReader) {
        m_skinReader->SetSkinByDirectory(skinDirectory);
        OrvStartMark("skin applied");
        PlaceSplitter();
        if (OrvSearchResultCtrl* results = m_skinReader->GetSearchResultCtrl()) results->StretchLastColumn();
        if (OrvPathFinderResultCtrl* paths = m_skinReader->GetPathFinderResultCtrl()) paths->StretchLastColumn();
        m_skinReader->SetToolTipEnabled(true);
        m_skinReader->SetToolTipBalloonEnabled(true);
    }
    if (m_sounds) {
        const CString soundDirectory = m_registry.GetSounddir();
        if (!soundDirectory.IsEmpty()) m_sounds->SetSoundDir(soundDirectory);
        m_sounds->ReadThemas();
        if (CTreeControl* tree = GetTreeControl()) tree->Advise(ORV_SOUNDS, static_cast<OrvSoundSource*>(m_sounds.get()));
        OrvStartMark("sound themes read");
    }
    SetOfflineLook();
    {
        CSingleLock lock(m_lock);
        m_hiddenEmail = m_registry.IsEmailHidden() != 0;
        m_profile[2] = m_registry.GetFName();
        m_profile[3] = m_registry.GetLName();
        m_profile[1] = OrvDisplayName(m_profile[2], m_profile[3]);
        m_profile[0] = m_registry.GetEmail();
    }
    Connect();
    BringWindowToTop();
    if (!m_idleSource) {
        m_systemIdleSource = std::make_unique<OrvSystemIdleSource>();
        m_idleSource = m_systemIdleSource.get();
    }
    m_idleSource->Start();
    m_mayShow = !m_notifierMode;
    m_timers.Start(OrvSessionTimers::tIdle, kIdlePeriodMs);
    return 0;
}

void OrvMainFrame::SetOfflineLook() {
    // The off-line look is the tree without a member: it shows what it has
    // until the session brings the member's tree.
    UpdateMenuStates();
}

void OrvMainFrame::UpdateMenuStates() {
    ClsSkinnedMainMenu* menu = GetMainMenu();
    if (!menu) return;
    const bool online = m_sessionState == ssOnline;
    const struct {
        UINT command;
        bool enabled;
    } states[] = {
        {ID_FILE_SIGN_IN, !online},        {ID_FILE_SIGN_OUT, online},   {ID_VIEW_MY_TREE, online},
        {ID_VIEW_BACK, online},            {ID_VIEW_FORWARD, online},    {ID_STATUS_ONLINE, online},
        {ID_STATUS_FRIENDS, online},       {ID_STATUS_AWAY, online},     {ID_STATUS_OFFLINE, online},
    };
    for (const auto& state : states)
        if (ClsSkinnedMenuItem* item = menu->FindItemByCommand(state.command)) item->SetEnabled(state.enabled);
    const int status = m_status;
    const UINT checks[] = {ID_STATUS_ONLINE, ID_STATUS_FRIENDS, ID_STATUS_AWAY, ID_STATUS_OFFLINE};
    const int values[] = {stOnline, stFriends, stAway, stOffline};
    for (int i = 0; i < 4; ++i)
        if (ClsSkinnedMenuItem* item = menu->FindItemByCommand(checks[i])) item->SetChecked(status == values[i]);
    SetMenuCaption("&Tools", ID_TOOLS_RUN_AT_STARTUP,
                   OrvStartupSetting::IsSet() ? "Do not run &Orvane on Start-up" : "Run &Orvane on Start-up");
    SetMenuCaption("&Tools", ID_TOOLS_START_INFO,
                   m_registry.GetStatistic() ? "Disable &message of the day" : "Enable &message of the day");
    SetMenuCaption("&Help", ID_HELP_TIPS, m_helpTips ? "Disable help-&tip bubbles" : "Enable help-&tip bubbles");
    UpdateToolbarState();
}

void OrvMainFrame::SetMenuCaption(const char* menuCaption, UINT command, const char* caption) {
    ClsSkinnedMainMenu* menu = GetMainMenu();
    if (!menu) return;
    ClsSkinnedMenuItem* root = menu->GetItems();
    for (int i = 0; i < root->GetCount(); ++i) {
        ClsSkinnedMenuItem* top = root->GetItem(i);
        if (top->GetCaption() != menuCaption) continue;
        for (int j = 0; j < top->GetCount(); ++j)
            if (top->GetItem(j)->GetCommand() == command) top->GetItem(j)->SetCaption(caption);
    }
}

void OrvMainFrame::OnDestroy() {
    // Destroyed without the exit path: the rest of the shutdown from the
    // chat disconnection on.
    if (!m_exiting) Shutdown();
    CloseCloud();
    m_timers.StopAll();
    m_dropTarget.Revoke();
    m_tray.Remove();
    CWnd::OnDestroy();
}

void OrvMainFrame::PostNcDestroy() {
    // The application object owns the frame; nothing to delete here.
}

void OrvMainFrame::OnClose() {
    if (AfxGetCurrentMessage().wParam == 1) {
        Exit();
        return;
    }
    ShowWindow(SW_HIDE);
}

void OrvMainFrame::OnSysCommand(UINT id, LPARAM lParam) {
    switch (id & 0xFFF0) {
    case SC_CLOSE:
        ShowWindow(SW_HIDE);
        return;
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_RESTORE:
    case SC_SIZE:
        SaveWindowState();
        break;
    default:
        break;
    }
    CWnd::OnSysCommand(id, lParam);
}

void OrvMainFrame::SaveWindowState() {
    if (!m_hWnd || !IsWindowVisible()) return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(&placement)) return;
    m_state.SetWindowMode(placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    RECT rect;
    GetWindowRect(&rect);
    // A maximised or minimised window keeps its normal place.
    if (placement.showCmd != SW_SHOWNORMAL) rect = placement.rcNormalPosition;
    m_state.SetWindowRect(rect);
    if (m_skinReader) m_state.SetSplitterPos(static_cast<unsigned long>(m_skinReader->GetSplitterPos()));
    m_registry.SetState(m_state.GetData());
}

void OrvMainFrame::RestoreWindowState() {
    const RECT rect = m_state.GetWindowRect();
    if (rect.right > rect.left && rect.bottom > rect.top)
        SetWindowPos(static_cast<HWND>(nullptr), rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void OrvMainFrame::ShowMainWindow() {
    if (!m_mayShow) return;
    RestoreWindowState();
    ShowWindow(m_state.GetWindowMode() == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow();
    UpdateWindow();
}

void OrvMainFrame::OnRestoreWindowMessage() {
    if (m_sessionState == ssOnline) {
        m_mayShow = true;
        ShowWindow(m_state.GetWindowMode() == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        ShowBanner(1);
        SetFocus();
        SetForegroundWindow();
        BringWindowToTop();
    } else if (m_sessionState == ssOffline) {
        Connect();
    }
}

// ---------------------------------------------------------------- update

void OrvMainFrame::SendVersionRequest(const CString& session, const CString& version) {
    // The next tree answer is a plain reload, without the selection
    // animation.
    m_selectAnimation = false;
    DoBeginVersionUpdateCommand(session, version);
}

void OrvMainFrame::ShowUpdateNotice(const CString& text) {
    // The cloud shows text while the update downloads.
    m_updateNotice = text;
    GetNotifier().AddNotice(text, CloudPoint(), CNotifier::kBitmapMark);
}

void OrvMainFrame::OnStartUpgradeMessage() {
    const HWND owner = m_versionCheck.OnStartUpgrade();
    if (!owner) return;
    if (ShowMessage(ORV_UPDATE_CONSENT_TEXT, ORV_UPDATE_CONSENT_CAPTION, MB_OK | MB_ICONINFORMATION, owner) == IDOK)
        m_versionCheck.AgreeToInstall();
}

void OrvMainFrame::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    CWnd::OnActivate(state, other, minimized);
    PostMessage(OrvMessages().changeBanner, reinterpret_cast<WPARAM>(other ? other->GetSafeHwnd() : nullptr),
                MAKELPARAM(state, minimized));
}

void OrvMainFrame::OnTimer(UINT_PTR id) {
    if (id == OrvVersionCheck::kRetryTimerId) {
        m_versionCheck.OnRetryTimer();
        return;
    }
    if (id == kBannerTimerId) {
        OnBannerTimer();
        return;
    }
    if (id == 3) {
        if (IsWindowVisible() && !IsIconic()) {
            KillTimer(3);
            PostMessage(OrvMessages().showDemoDialog);
        }
        return;
    }
    CWnd::OnTimer(id);
}

BOOL OrvMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case ID_FILE_EXIT:
        PostMessage(WM_CLOSE, 1, 0);
        return TRUE;
    case ID_FILE_SIGN_OUT:
        GoOffline();
        return TRUE;
    case ID_FILE_SIGN_IN:
        if (m_sessionState == ssOffline || m_sessionState == ssIdle) Connect();
        return TRUE;
    case ID_STATUS_ONLINE: ChangePresence(stOnline); return TRUE;
    case ID_STATUS_FRIENDS: ChangePresence(stFriends); return TRUE;
    case ID_STATUS_AWAY: ChangePresence(stAway); return TRUE;
    case ID_STATUS_OFFLINE: GoOffline(); return TRUE;
    case ID_VIEW_MY_TREE:
    case ID_VIEW_BACK:
    case ID_VIEW_FORWARD: {
        ORVNAVIGATEINFO info{};
        info.kind = LOWORD(wParam) == ID_VIEW_MY_TREE ? 4 : LOWORD(wParam) == ID_VIEW_BACK ? ORVNAV_BACKWARD
                                                                                             : ORVNAV_FORWARD;
        info.command = -1;
        Navigate(&info);
        return TRUE;
    }
    case ID_TOOLS_RUN_AT_STARTUP:
        if (OrvStartupSetting::IsSet())
            OrvStartupSetting::Remove();
        else
            OrvStartupSetting::Write();
        UpdateMenuStates();
        return TRUE;
    case ID_TOOLS_START_INFO:
        m_registry.SetStatistic(!m_registry.GetStatistic());
        UpdateMenuStates();
        return TRUE;
    case ID_HELP_TIPS:
        ToggleHelpTips();
        return TRUE;
    case ID_HELP_TOPICS: {
        CString url = GetUrl();
        if (!url.IsEmpty()) url += "/help/help.htm";
        OrvBrowser::Open(m_hWnd, url, m_messenger);
        return TRUE;
    }
    default:
        return CWnd::OnCommand(wParam, lParam);
    }
}

LRESULT OrvMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const OrvRegisteredMessages& registered = OrvMessages();
    if (message == kTimerMessage) {
        switch (wParam) {
        case OrvSessionTimers::tIdle: OnIdleTick(); break;
        case OrvSessionTimers::tReconnect: OnReconnectTick(); break;
        case OrvSessionTimers::tBlink: OnBlinkTick(); break;
        default: break;
        }
        return 0;
    }
    if ((message == WM_SIZE || message == WM_GETMINMAXINFO) && m_skinReader)
        return m_skinReader->ParentSizing(m_hWnd, message, wParam, lParam);
    if ((message == WM_QUERYNEWPALETTE || message == WM_PALETTECHANGED) && m_skinReader)
        m_skinReader->PaletteChanged(message, wParam);
    if (message == kSearchTaskMessage) {
        RunSearchTasks();
        return 0;
    }
    if (message == kVersionCheckMessage) {
        m_versionCheck.OnConnected(GetSessionId());
        return 0;
    }
    if (message == registered.startUpgrade) {
        OnStartUpgradeMessage();
        return 0;
    }
    if (message == registered.restoreWindow) {
        OnRestoreWindowMessage();
        return 0;
    }
    if (message == registered.showDemoDialog) {
        if (ShowMessage("Would you like a quick demo presentation of Orvane software?", "Information",
                        MB_YESNO | MB_ICONQUESTION) == IDYES && !GetUrl().IsEmpty())
            OrvBrowser::Open(m_hWnd, GetUrl() + "/demo.html", m_messenger);
        return 0;
    }
    if (message == registered.errorNotify) {
        ShowMessage("Orvane had a communication error.", "Internet connection", MB_OK | MB_ICONWARNING);
        return 0;
    }
    if (message == registered.tray) {
        OnTrayMessage(lParam);
        return 0;
    }
    if (OnShellMessage(message, wParam, lParam)) return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------- session

void OrvMainFrame::Connect() {
    if (m_connecting.exchange(true)) return;
    const CString email = m_registry.GetEmail();
    const CString password = m_registry.GetSerkey();
    if (OrvMessagePanelCtrl* panel = m_skinReader ? m_skinReader->GetMessagePanelCtrl() : nullptr)
        panel->SetUserName(GetDisplayName());
    m_timers.Stop(OrvSessionTimers::tReconnect);
    m_timers.Stop(OrvSessionTimers::tBlink);
    m_timers.Start(OrvSessionTimers::tBlink, kBlinkPeriodMs);
    m_sessionState = ssConnecting;
    m_firstLogIn = false;
    {
        CSingleLock lock(m_lock);
        m_password = password;
    }
    if (!m_workers.Start([this, email, password] {
            ConnectWorker(email, password);
            m_connecting = false;
        })) {
        m_timers.Stop(OrvSessionTimers::tBlink);
        m_sessionState = ssOffline;
        m_connecting = false;
    }
}

void OrvMainFrame::ConnectWorker(CString email, CString password) {
    m_timers.Stop(OrvSessionTimers::tReconnect);
    m_timers.Start(OrvSessionTimers::tBlink, kBlinkPeriodMs);
    SetStatus(stConnecting);
    SetUncryptSequence(LastFour(password));
    SetLastResult("Connection error");
    m_logInEvent.Reset();
    m_busy = true;
    OrvStartMark("log-in sent");
    DoCheckUserCommand(email, password, "1", kVersion);
    if (!m_logInEvent.Wait(m_logInWaitMs)) SetLastResult("Connection timeout error");
    if (m_workers.IsStopping()) return;
    if (GetLastResult() != "0") {
        m_busy = false;
        m_timers.Stop(OrvSessionTimers::tBlink);
        m_timers.Start(OrvSessionTimers::tReconnect, m_reconnectMs);
        SetStatus(stOffline);
        m_sessionState = ssOffline;
        return;
    }
    LoadMemberData();
    if (m_workers.IsStopping()) return;
    // The check and its download belong to the user-interface thread.
    PostMessage(kVersionCheckMessage);
}

void OrvMainFrame::LoadMemberData() {
    CString memberId, sessionId;
    {
        CSingleLock lock(m_lock);
        memberId = m_memberId;
        sessionId = m_sessionId;
        m_requestedRoot = memberId;
    }
    m_history.Reset(memberId);
    m_treePending = true;
    m_busy = true;
    OrvStartMark("tree sent");
    DoGetTreeCommand(memberId, sessionId);
    if (!WaitWhileBusyOnWorker()) return;
    m_silentSearch = true;
    m_busy = true;
    DoSearchByCommand("", "1", sessionId);
    if (!WaitWhileBusyOnWorker()) return;
    if (m_registry.GetStatistic()) {
        m_busy = true;
        DoGetStartInfoCommand(sessionId);
        if (!WaitWhileBusyOnWorker()) return;
    }
    // The member's own record becomes the path finder's source.
    PostSearchTask([this] { PlaceOwnRecordAsSource(); });
}

void OrvMainFrame::OnChatConnected() {
    OrvStartMark("chat connected");
    m_sessionState = ssOnline;
    const unsigned stored = m_registry.GetOrvStatus();
    SetStatus(stored == 2 ? stFriends : stored == 3 ? stAway : stOnline);
    m_timers.Stop(OrvSessionTimers::tBlink);
    m_logInEvent.Set();
    UpdateMenuStates();
    if (m_firstConnection) {
        m_firstConnection = false;
        ShowMainWindow();
        OrvStartMark("main window shown");
        if (m_registry.GetSkindir().IsEmpty()) {
            static const char kColors[] = "0123456789AB";
            m_registry.SetUserColor(kColors[std::rand() % 12]);
            PostMessage(WM_COMMAND, ID_TOOLS_FIRST_RUN, 0);
            SetTimer(3, 60000);
        }
    }
}

void OrvMainFrame::GoOffline() {
    m_timers.Stop(OrvSessionTimers::tReconnect);
    m_timers.Stop(OrvSessionTimers::tBlink);
    m_sessionState = ssClosing;
    m_autoAway = false;
    m_chat.Disconnect();
    const CString session = GetSessionId();
    if (!session.IsEmpty()) DoKillSessionCommand(session);
    StorePresenceShown();
    m_sessionState = ssOffline;
    SetStatus(stOffline);
    SetLastResult("Connection error");
    m_logInEvent.Set();
    m_timers.Start(OrvSessionTimers::tReconnect, m_reconnectMs);
    UpdateMenuStates();
}

void OrvMainFrame::SessionLost() {
    m_sessionState = ssOffline;
    m_timers.Start(OrvSessionTimers::tReconnect, m_reconnectMs);
    m_chat.Disconnect();
    CString session;
    {
        CSingleLock lock(m_lock);
        session = m_sessionId;
        m_sessionId.Empty();
    }
    if (!session.IsEmpty()) m_workers.Start([this, session] { DoKillSessionCommand(session); });
    SetStatus(stOffline);
    SetOfflineLook();
}

void OrvMainFrame::ChangePresence(int status) {
    if (status == m_status) return;
    if (IsInPrivateChat()) {
        ShowMessage("Please, close all private chats before changing mode", "Orvane", MB_OK | MB_ICONWARNING);
        return;
    }
    DoUpdateStatusCommand(GetSessionId(), StatusCode(status));
    const bool wasAway = m_status == stAway;
    if (status == stAway || wasAway) {
        m_status = status;  // IsAway answers the new identity's form
        m_chat.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "", 0);
    }
    SetStatus(status);
    UpdateMenuStates();
}

void OrvMainFrame::OnIdleTick() {
    if (!m_idleSource) return;
    const DWORD idle = m_idleSource->GetIdleTime();
    const int state = m_sessionState;
    if (idle > m_idleLimitMs && state == ssOnline) {
        m_status = stAway;  // the presence kept is away
        GoOffline();
        m_sessionState = ssIdle;
        m_autoAway = true;
        m_timers.Stop(OrvSessionTimers::tReconnect);
        return;
    }
    if (m_autoAway && idle < m_idleLimitMs && (state == ssIdle || state == ssOffline)) {
        m_autoAway = false;
        Connect();
    }
}

void OrvMainFrame::OnReconnectTick() {
    const int state = m_sessionState;
    if (state != ssIdle && state != ssOffline) return;
    m_timers.Stop(OrvSessionTimers::tReconnect);
    Connect();
}

void OrvMainFrame::OnBlinkTick() {
    if (m_status == stConnecting) SetStatus(stConnecting);
}

void OrvMainFrame::Exit() {
    if (m_exiting) return;
    m_exiting = true;
    SaveWindowState();
    ShowWindow(SW_HIDE);
    if (m_idleSource) m_idleSource->Stop();
    CloseCloud();
    m_tray.Remove();
    m_chat.Disconnect();
    const int state = m_sessionState;
    m_sessionState = ssClosing;
    m_timers.StopAll();
    const CString session = GetSessionId();
    if (state == ssOnline && !session.IsEmpty()) {
        PumpWhileBusy();
        m_busy = true;
        DoKillSessionCommand(session);
        PumpWhileBusy();
        CSingleLock lock(m_lock);
        m_sessionId.Empty();
    }
    DoCloseConnectCommander();
    Shutdown();
    StopWorkers();
    DestroyWindow();
}

void OrvMainFrame::StopWorkers() {
    m_workers.RequestStop();
    m_logInEvent.Set();
    m_workers.JoinAll(true);
}

void OrvMainFrame::Shutdown() {
    if (m_registrationWindow && m_registrationWindow->GetSafeHwnd()) m_registrationWindow->DestroyWindow();
    StorePresenceShown();
    m_favorites.Save();
    if (m_skinReader && m_skinReader->GetCurrentSkin())
        m_registry.SetSkindir(m_skinReader->GetCurrentSkin()->GetLastDirectory());
    m_chat.Disconnect();
    m_currentTree = OrvContactArray();
    m_lastSearch = OrvContactArray();
    m_lastPaths = OrvContactArray();
}

// ---------------------------------------------------------------- chat

void OrvMainFrame::OnCommandResult(int, INT_PTR, INT_PTR) {}

void OrvMainFrame::OnChatEvent(int code, INT_PTR p1, INT_PTR p2) {
    switch (code) {
    case ORVCHAT_MAIN_INVITATION:
        OnChatInvitation(p1, p2);
        break;
    case ORVCHAT_MAIN_CONTACT_ONLINE:
        OnContactOnline(p1, p2);
        break;
    case ORVCHAT_MAIN_CONNECTED:
        OnChatConnected();
        break;
    case ORVCHAT_MAIN_CONNECTION_LOST:
        if (m_sessionState == ssOnline) {
            GoOffline();
        } else if (m_sessionState == ssConnecting) {
            SetLastResult("IRC Connection error");
            m_logInEvent.Set();
        }
        break;
    case ORVCHAT_MAIN_RELOAD_TREE: {
        ORVNAVIGATEINFO info{};
        info.kind = 4;
        info.command = -1;
        Navigate(&info);
        break;
    }
    default:
        break;
    }
}

CString OrvMainFrame::GetMemberId() {
    CSingleLock lock(m_lock);
    return m_memberId;
}
CString OrvMainFrame::GetDisplayName() {
    CSingleLock lock(m_lock);
    return m_profile[1];
}
CString OrvMainFrame::GetEmail() {
    CSingleLock lock(m_lock);
    return m_profile[0];
}
CString OrvMainFrame::GetStartInfo() {
    CSingleLock lock(m_lock);
    return m_serverInfo;
}
BOOL OrvMainFrame::IsAway() { return m_status == stAway; }
BOOL OrvMainFrame::Reserved() { return TRUE; }
BOOL OrvMainFrame::IsHideEmail() { return m_hiddenEmail; }
void OrvMainFrame::OpenPrivateChat(const OrvChatUser&) {}
void OrvMainFrame::ShowTree(const OrvChatUser& user) {
    if (user.identity.GetLength() < 2) return;
    ORVCONTACTINFO contact;
    contact.id = user.identity.Mid(1);
    ORVNAVIGATEINFO info{ORVNAV_ACTIVATE, -1, &contact};
    Navigate(&info);
}
char OrvMainFrame::GetUserColor() { return m_registry.GetUserColor(); }
void OrvMainFrame::SetUserColor(char code) { m_registry.SetUserColor(code); }
