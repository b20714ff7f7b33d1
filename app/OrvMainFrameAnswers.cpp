// OrvMainFrame: the server's answers, the error mapping and the navigation
// requests of the controls.
#include "OrvErrorMapping.h"
#include "OrvMainFrame.h"
#include "OrvWaitDialog.h"
#include "res/OrvResources.h"

#include "CTreeControl.h"
#include "OrvPathFinderCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvSearchCtrl.h"
#include "OrvContactInfo.h"

#include "AfxTrace.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

CString LastFour(const CString& text) { return text.GetLength() <= 4 ? text : text.Right(4); }

bool IsUsable(const ORVCONTACTINFO& record) {
    return !record.email.IsEmpty() && !record.firstName.IsEmpty() && !record.id.IsEmpty();
}

const char* const kTooManyResults =
    "Your query has generated too many results.\nOnly the first 100 are presented here.\nTry to focus your "
    "search by using more keywords,\nand you will probably get better results.";

}  // namespace

void OrvMainFrame::Prologue(const CString& code, bool setResult, bool endBusyLook) {
    if (setResult) SetLastResult(code);
    if (endBusyLook) EndBusyLook();
}

void OrvMainFrame::MapError(int commandId, const CString& code) {
    const OrvErrorNotice notice = OrvErrorMapping::Map(commandId, code);
    if (notice.sessionLost) {
        SessionLost();
        return;
    }
    if (notice.show) ShowMessage(notice.text, notice.caption, MB_OK | MB_ICONWARNING);
}

void OrvMainFrame::OnCommandFailed(CString commandId) {
    Prologue(commandId);
    SetLastResult("Connection error");
    const int id = std::atoi(commandId);
    switch (id) {
    case ORVCMD_ADD_USER:
        PostToWaitDialog(IDD_WAIT_ADD_USER, drCommunicationError);
        break;
    case ORVCMD_CHECK_USER:
        PostToWaitDialog(IDD_WAIT_LOGIN, drCommunicationError);
        PostToWaitDialog(IDD_WAIT_LOGIN_AGAIN, drCommunicationError);
        m_sessionState = ssOffline;
        m_logInEvent.Set();
        break;
    case ORVCMD_VERIFY_USER:
        PostToWaitDialog(IDD_WAIT_VERIFY, drCommunicationError);
        break;
    case ORVCMD_GET_TREE:
        if (CTreeControl* tree = GetTreeControl()) tree->setAComplete(true);
        m_treePending = false;
        break;
    case ORVCMD_SEARCH:
    case ORVCMD_SEARCH_PATH:
    case ORVCMD_SEARCH_PATH_KEYWORDS:
        // No answer will come to give the buttons back.
        EnableSearchButtons(true, true);
        break;
    default:
        break;
    }
    if (id != ORVCMD_CHECK_USER && id != ORVCMD_UPDATE_STATUS) m_logInEvent.Set();
    ClearBusy();
    if (id != ORVCMD_UPDATE_STATUS && m_sessionState == ssOnline) GoOffline();
}

void OrvMainFrame::OnValueAnswer(CString code, CString value) {
    Prologue(code);
    if (code == "0") m_keptValue = value;
    ClearBusy();
}

void OrvMainFrame::OnAddUserAnswer(CString code) {
    Prologue(code);
    if (code == "0") {
        SetUncryptSequence(LastFour(m_verifyPassword));
        PostToWaitDialog(IDD_WAIT_ADD_USER, drSuccess);
    } else {
        PostToWaitDialog(IDD_WAIT_ADD_USER, drFailure);
    }
    ClearBusy();
}

void OrvMainFrame::OnDropContactsAnswer(CString code) {
    Prologue(code);
    if (code != "0") MapError(ORVCMD_DROP_CONTACTS, code);
    ClearBusy();
}

void OrvMainFrame::OnAddContactsAnswer(CString code) {
    Prologue(code);
    if (code != "0") MapError(ORVCMD_ADD_CONTACTS, code);
    ClearBusy();
}

void OrvMainFrame::OnPlainAnswerA(CString code) {
    Prologue(code);
    ClearBusy();
}

void OrvMainFrame::OnUpdateUserAnswer(CString code) {
    Prologue(code);
    if (code == "0") {
        CSingleLock lock(m_lock);
        m_registry.SetFName(m_profile[2]);
        m_registry.SetLName(m_profile[3]);
    } else {
        MapError(ORVCMD_UPDATE_USER, code);
    }
    ClearBusy();
}

void OrvMainFrame::OnUpdateContactsAnswer(CString code) {
    Prologue(code);
    if (code != "0") MapError(ORVCMD_UPDATE_CONTACTS, code);
    ClearBusy();
}

void OrvMainFrame::OnPlainAnswerB(CString code) {
    Prologue(code);
    ClearBusy();
}

void OrvMainFrame::OnSearchAnswer(CString code, int count, ORVCONTACTINFO* records) {
    Prologue(code);
    const bool silent = m_silentSearch;
    if (code == "0") {
        if (count > kMaxResults) {
            count = kMaxResults;
            if (!silent) ShowMessage(kTooManyResults, "Search results", MB_OK | MB_ICONINFORMATION);
        }
        if (count < 0 || !records) count = 0;
        OrvContactArray copy(records, count);
        for (int i = 0; i < copy.Count(); ++i) OrvNormaliseContact(copy[i], true);
        FillSearchResults(copy);
        m_lastSearch = std::move(copy);
    } else if (!silent) {
        MapError(ORVCMD_SEARCH, code);
    }
    if (OrvSearchCtrl* search = SearchControl()) search->SetEnabledSearchButton(true);
    m_silentSearch = false;
    ++m_searchAnswers;
    ClearBusy();
}

void OrvMainFrame::OnDropAddContactsAnswer(CString code) {
    Prologue(code);
    if (code != "0") MapError(ORVCMD_DROP_ADD_CONTACTS, code);
    ClearBusy();
}

void OrvMainFrame::OnGetContactsAnswer(CString code, CString, int count, ORVCONTACTINFO* records) {
    Prologue(code);
    if (code == "0") {
        int copied = 0;
        // The table holds 1 000; usable records past that are not kept.
        for (int i = 0; i < count && records && copied < kContactTableSize; ++i)
            if (IsUsable(records[i])) m_contacts[static_cast<size_t>(copied++)] = records[i];
        m_contactCount = copied;
    } else {
        m_contactCount = 0;
        MapError(ORVCMD_GET_CONTACTS, code);
    }
    ClearBusy();
}

void OrvMainFrame::OnChangeEmailAnswer(CString code) {
    Prologue(code);
    m_changeEmailCode = code;
    if (code == "0")
        ShowMessage("E-mail has been updated.", "Change Email", MB_OK | MB_ICONINFORMATION);
    else
        ShowMessage("Orvane has failed to update your e-mail. \nIf you choose to register through this e-mail, \n"
                    "it is recommended that you un-install and \nre-install Orvane again. Alternatively, \n"
                    "you can try a different e-mail address.",
                    "Change e-mail error", MB_OK | MB_ICONWARNING);
    ClearBusy();
}

void OrvMainFrame::OnTreeAnswer(CString code, int count, ORVCONTACTINFO* records) {
    Prologue(code);
    m_treePending = false;
    if (code != "0") {
        if (CTreeControl* tree = GetTreeControl()) tree->setAComplete(true);
        if (m_historyChanged && m_history.StepBack()) {
            CSingleLock lock(m_lock);
            m_rootId = m_history.Current();
        }
        MapError(ORVCMD_GET_TREE, code);
        ClearBusy();
        return;
    }
    const CString requested = GetRequestedRoot();
    int usable = 0;
    for (int i = 0; i < count && records; ++i)
        if (IsUsable(records[i])) ++usable;
    OrvContactArray tree(usable);
    int rootIndex = -1;
    for (int i = 0, j = 0; i < count && records; ++i) {
        if (!IsUsable(records[i])) continue;
        tree[j] = records[i];
        OrvNormaliseContact(tree[j], false);
        if (rootIndex < 0 && tree[j].id == requested) rootIndex = j;
        ++j;
    }
    // The chat engine learns the members of the tree through its own
    // watch of the chat (it has no operation for a contact list).
    if (rootIndex > 0) std::swap(tree[0], tree[rootIndex]);
    {
        CSingleLock lock(m_lock);
        if (tree.Count() > 0) m_rootId = tree[0].id;
    }
    int action = ANIM_SQUEEZE;
    if (::GetActiveWindow() != m_hWnd || !m_hWnd)
        action = ANIM_HIDDEN;
    else if (m_selectAnimation.exchange(false))
        action = ANIM_SELECT;
    OrvContactArray copy(tree.Get(), tree.Count());
    m_currentTree = std::move(tree);
    if (GetTreeControl()) {
        auto shared = std::make_shared<OrvContactArray>(std::move(copy));
        m_workers.Start([this, shared, action] { HandTreeToControl(std::move(*shared), action); });
    }
    ClearBusy();
}

void OrvMainFrame::HandTreeToControl(OrvContactArray copy, int action) {
    CTreeControl* tree = GetTreeControl();
    if (!tree) return;
    ORVCONTACTINFO empty;
    ORVCONTACTINFO* records = copy.Count() > 0 ? copy.Get() : &empty;
    if (!tree->SetData(records, static_cast<unsigned>(copy.Count()), static_cast<ANIM_ACTION>(action))) {
        if (m_historyChanged && m_history.StepBack()) {
            CSingleLock lock(m_lock);
            m_rootId = m_history.Current();
        }
    }
}

void OrvMainFrame::OnOnlineContactsAnswer(CString code, int count, ORVCONTACTINFO* records) {
    Prologue(code, true, false);
    if (code == "0") {
        const CString name = GetDisplayName();
        for (int i = 0; i < count && records; ++i) {
            const CString identity = "O" + records[i].id;
            m_chat.Notify(ORVCHAT_NOTIFY_ONLINE, identity, reinterpret_cast<INT_PTR>(name.GetString()));
        }
    } else {
        MapError(202, code);
    }
}

namespace {

// All nodes of all paths in one array, each normalised; at most 100 paths.
OrvContactArray CollectPaths(int pathCount, const ORVPATHINFO* paths) {
    if (pathCount < 0 || !paths) pathCount = 0;
    int nodes = 0;
    for (int i = 0; i < pathCount; ++i) nodes += paths[i].count > 0 ? paths[i].count : 0;
    OrvContactArray all(nodes);
    int at = 0;
    for (int i = 0; i < pathCount; ++i)
        for (int j = 0; j < paths[i].count && paths[i].nodes; ++j) {
            all[at] = paths[i].nodes[j];
            OrvNormaliseContact(all[at], false);
            ++at;
        }
    return all;
}

}  // namespace

void OrvMainFrame::OnSearchPathAnswer(CString code, CString sourceEmail, CString destination, CString,
                                      int pathCount, ORVPATHINFO* paths) {
    Prologue(code);
    if (code == "0") {
        if (pathCount > kMaxResults) {
            pathCount = kMaxResults;
            ShowMessage(kTooManyResults, "Search results", MB_OK | MB_ICONINFORMATION);
        }
        if (pathCount < 0 || !paths) pathCount = 0;
        FillPathResults(pathCount, paths);
        m_lastPaths = CollectPaths(pathCount, paths);
        ShowPathEnds(sourceEmail, destination);
    }
    // Another code shows nothing; the button comes back either way.
    if (OrvPathFinderCtrl* finder = PathFinder()) finder->SetEnabledSearchButton(true);
    ++m_pathAnswers;
    ClearBusy();
}

void OrvMainFrame::OnSearchPathByKeywordAnswer(CString code, int pathCount, ORVPATHINFO* paths) {
    Prologue(code);
    if (code == "0") {
        if (pathCount > kMaxResults) {
            pathCount = kMaxResults;
            ShowMessage(kTooManyResults, "Search results", MB_OK | MB_ICONINFORMATION);
        }
        if (pathCount < 0 || !paths) pathCount = 0;
        FillPathResults(pathCount, paths);
        m_lastPaths = CollectPaths(pathCount, paths);
    } else {
        if (OrvPathFinderResultCtrl* list = PathResults()) list->DeleteAllItems();
        m_lastPaths = OrvContactArray();
        MapError(ORVCMD_SEARCH_PATH_KEYWORDS, code);
    }
    if (OrvPathFinderCtrl* finder = PathFinder()) finder->SetEnabledSearchButton(true);
    ++m_pathAnswers;
    ClearBusy();
}

void OrvMainFrame::OnLogInAnswer(CString code, CString memberId, CString key, CString firstName,
                                 CString lastName, CString occupation, CString sessionId, int bannerPeriod,
                                 CString panelUrl1, CString chatServer, CString chatPort, CString chatDelay,
                                 CString panelUrl2, CString chatPingRate, int idleLimit, int,
                                 CString serverInfo) {
    Prologue(code);
    {
        CSingleLock lock(m_lock);
        m_key = key;
        m_memberId = memberId;
        m_sessionId = sessionId;
        m_profile[2] = firstName;
        m_profile[3] = lastName;
        m_profile[1] = OrvDisplayName(firstName, lastName);
        m_profile[4] = occupation;
        m_bannerIntervalMs = bannerPeriod > 0 ? static_cast<DWORD>(bannerPeriod) * 1000 : 30000;
        m_panelUrl1 = panelUrl1.IsEmpty() ? panelUrl1 : panelUrl1 + (panelUrl1.Find('?') >= 0 ? "&banner=1" : "?banner=1");
        m_panelUrl2 = panelUrl2.IsEmpty() ? panelUrl2 : panelUrl2 + (panelUrl2.Find('?') >= 0 ? "&banner=1" : "?banner=1");
        m_chatServer = chatServer;
        m_chatPort = std::atoi(chatPort);
        m_chatDelay = std::atoi(chatDelay);
        m_chatPingRate = std::atoi(chatPingRate) < 10 ? 10 : std::atoi(chatPingRate);
        if (idleLimit > 0) m_idleLimitMs = static_cast<DWORD>(idleLimit) * 1000;
        m_serverInfo = serverInfo;
    }
    if (m_installSemaphore && !m_semaphoreReleased) {
        ::ReleaseSemaphore(m_installSemaphore.Get(), 1, nullptr);
        m_semaphoreReleased = true;
    }
    int result = 0;
    if (code == "0") {
        m_registry.SetFName(firstName);
        m_registry.SetLName(lastName);
        if (m_idleSource) m_idleSource->Reset();
        SetUncryptSequence(LastFour(sessionId));
        if (!m_firstLogIn) {
            // A chat that was connected gets 100 ms to part; one that was
            // not has nothing to wait for.
            if (m_chat.IsConnected()) {
                m_chat.Disconnect();
                ::Sleep(100);
            }
            m_chat.Disconnect();
            m_chat.SetDelay(m_chatDelay);
            m_chat.SetIRCPingRate(m_chatPingRate);
            m_chat.SetSessionId(sessionId);
            // No chat server named is a chat that cannot connect.
            if (chatServer.IsEmpty() || m_chat.Connect(chatServer, m_chatPort) != 0) {
                SetLastResult("IRC Connection error");
                result = drCommunicationError;
            }
        } else {
            result = drSuccess;
        }
    } else {
        result = drFailure;
    }
    if (result) {
        PostToWaitDialog(IDD_WAIT_LOGIN, result);
        PostToWaitDialog(IDD_WAIT_LOGIN_AGAIN, result);
        m_logInEvent.Set();
        ClearBusy();
    }
    if (GetLastResult() != "0") m_sessionState = ssOffline;
    // A log-in without a result set waits for the chat connection, which
    // signals the log-in event; busy ends with the loading of the data.
}

void OrvMainFrame::OnVersionAnswer(CString code, CString action, CString arg1, CString arg2) {
    m_versionCheck.OnVersionAnswer(code, action, arg1, arg2);
}

void OrvMainFrame::OnServerNotice(CString text) { ShowMessage(text, "", MB_OK); }

void OrvMainFrame::OnVerifyUserAnswer(CString code, CString password, CString key) {
    Prologue(code);
    m_verifyPassword = password;
    m_verifyKey = key;
    m_verifyCode = code;
    for (OrvWaitDialog* dialog : m_waitDialogs)
        if (dialog->GetTemplateId() == IDD_WAIT_VERIFY) dialog->SetCode(code);
    PostToWaitDialog(IDD_WAIT_VERIFY, code == "0" ? drSuccess : drFailure);
    ClearBusy();
}

void OrvMainFrame::OnStartInfoAnswer(CString, CString page) {
    Prologue(CString(), false, true);
    if (m_registry.GetStatistic() && !page.IsEmpty() && !m_programDirectory.IsEmpty()) {
        const CString path = m_programDirectory + "_hinfo.html";
        if (FILE* file = std::fopen(path, "w")) {
            std::fwrite(page.GetString(), 1, static_cast<size_t>(page.GetLength()), file);
            std::fclose(file);
        }
    }
    if (m_hWnd) PostMessage(kStartInfoMessage);
    ClearBusy();
}

// ---------------------------------------------------------------- navigation

int OrvMainFrame::Navigate(const ORVNAVIGATEINFO* info) {
    if (!info || m_treePending || m_navigating) return 1;
    m_navigating = true;
    if (GetSessionId().IsEmpty() && m_sessionState == ssOffline) Connect();
    ORVNAVIGATEINFO request = *info;
    std::unique_ptr<ORVCONTACTINFO> contact;
    if (info->contact) contact = std::make_unique<ORVCONTACTINFO>(*info->contact);
    auto shared = std::make_shared<std::unique_ptr<ORVCONTACTINFO>>(std::move(contact));
    const bool started =
        m_workers.Start([this, request, shared] { RunNavigation(request, std::move(*shared)); });
    if (!started) m_navigating = false;
    return started ? 1 : 0;
}

void OrvMainFrame::SetRequestedRoot(const CString& id) {
    CSingleLock lock(m_lock);
    m_requestedRoot = id;
}

void OrvMainFrame::RequestTree(const CString& id) {
    SetRequestedRoot(id);
    m_treePending = true;
    m_busy = true;
    DoGetTreeCommand(id, GetSessionId());
}

void OrvMainFrame::RunNavigation(ORVNAVIGATEINFO request, std::unique_ptr<ORVCONTACTINFO> contact) {
    request.contact = contact.get();
    switch (request.kind) {
    case ORVNAV_ACTIVATE:
        if (!contact) break;
        m_selectAnimation = true;
        if (contact->id != m_history.Current()) {
            m_history.Advance(contact->id);
            m_historyChanged = true;
        } else {
            m_historyChanged = false;
        }
        RequestTree(contact->id);
        break;
    case ORVNAV_BACKWARD:
        CloseTreePopUps();
        m_selectAnimation = false;
        RequestTree(m_history.Back());
        break;
    case ORVNAV_FORWARD:
        CloseTreePopUps();
        m_selectAnimation = false;
        RequestTree(m_history.Forward());
        break;
    case 4: {
        CloseTreePopUps();
        m_selectAnimation = false;
        const CString own = GetMemberId();
        if (m_history.Current() != own) {
            m_history.Advance(own);
            m_historyChanged = true;
        } else {
            m_historyChanged = false;
        }
        RequestTree(own);
        break;
    }
    case ORVNAV_COMMAND:
        // The path finder's commands run where its windows live.
        if (contact && (request.command == ORVNAVCMD_PATH_FROM || request.command == ORVNAVCMD_PATH_TO ||
                        request.command == ORVNAVCMD_SEARCH_PATH)) {
            const ORVCONTACTINFO target = *contact;
            const int command = request.command;
            PostSearchTask([this, command, target] { RunPathCommand(command, target); });
        } else if (contact) {
            RunContactCommand(request.command, *contact);
        }
        break;
    case 5:
    case 6:
    case 7:
    case 8:
        RunToolbarRequest(request);
        break;
    default:
        // The other requests (menus of the tree, the toolbar) belong to
        // features that are not in the program yet.
        break;
    }
    m_navigating = false;
    if (m_hWnd) PostMessage(kShellStateMessage);
}

const char* OrvMainFrame::GetUserId() {
    // The control reads it on the user-interface thread while the session
    // holds it; the string lives in the frame.
    CSingleLock lock(m_lock);
    return m_memberId.GetString();
}

BOOL OrvMainFrame::IsSessionMarked() {
    CSingleLock lock(m_lock);
    return m_keptValue == "2";
}

void OrvMainFrame::CloseTreePopUps() {
    try {
        if (CTreeControl* tree = GetTreeControl()) tree->ClosePopUps();
    } catch (...) {
        AfxTraceCaughtException("orvane: closing the tree's popup menus");
    }
}
