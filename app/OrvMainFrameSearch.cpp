// OrvMainFrame: member searches and search-paths. The search control and
// the path finder hand their requests here; the checks run on the
// user-interface thread (their messages are owned by the main window), the
// request itself on a worker that waits for its answer. The answers fill
// the result lists (OrvMainFrameAnswers.cpp). The result lists report
// double clicks and menu commands here too.
#include "OrvMainFrame.h"
#include "OrvQueryCheck.h"

#include "OrvChatUser.h"
#include "OrvMessagePanelCtrl.h"
#include "OrvPathFinderCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvSearchCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvSkinReader.h"

#include "AfxTrace.h"

#include <utility>

namespace {

const char* const kNoServer = "Failed to communicate with server.\r\nPlease Try again.";

}  // namespace

OrvSearchCtrl* OrvMainFrame::SearchControl() const {
    return m_skinReader ? m_skinReader->GetSearchCtrl() : nullptr;
}
OrvPathFinderCtrl* OrvMainFrame::PathFinder() const {
    return m_skinReader ? m_skinReader->GetPathFinderCtrl() : nullptr;
}
OrvSearchResultCtrl* OrvMainFrame::SearchResults() const {
    return m_skinReader ? m_skinReader->GetSearchResultCtrl() : nullptr;
}
OrvPathFinderResultCtrl* OrvMainFrame::PathResults() const {
    return m_skinReader ? m_skinReader->GetPathFinderResultCtrl() : nullptr;
}

// ---------------------------------------------------------------- requests

bool OrvMainFrame::EnsureSession() {
    if (!GetSessionId().IsEmpty()) return true;
    Connect();
    // The log-in runs on its worker; this thread keeps the window alive
    // until that worker is done (the log-in itself is bounded by its wait).
    while (m_connecting && !m_workers.IsStopping()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return !GetSessionId().IsEmpty();
}

void OrvMainFrame::Search(const CString& text) {
    if (m_searching.exchange(true)) return;
    if (!EnsureSession()) {
        m_searching = false;
        return;
    }
    CString message;
    if (!OrvQueryCheck::CheckQuery(text, &message)) {
        ShowMessage(message, "Orvane", MB_OK | MB_ICONWARNING);
        m_searching = false;
        return;
    }
    const CString words = OrvQueryCheck::ToWords(text);
    const CString session = GetSessionId();
    if (OrvSearchCtrl* control = SearchControl()) control->SetEnabledSearchButton(false);
    ShowBusyLook();
    const bool started = m_workers.Start([this, words, session] {
        m_busy = true;
        DoSearchByCommand(words, "", session);
        WaitWhileBusyOnWorker();
        m_searching = false;
    });
    if (!started) {
        EnableSearchButtons(true, true);
        EndBusyLook();
        m_searching = false;
    }
}

void OrvMainFrame::SearchPath(const ORVPATHREQUEST* request) {
    if (!request || m_searching.exchange(true)) return;
    if (!EnsureSession()) {
        m_searching = false;
        return;
    }
    OrvPathQuery query;
    CString message, caption;
    if (!OrvQueryCheck::CheckPath(*request, &query, &message, &caption)) {
        ShowMessage(message, caption, MB_OK | MB_ICONWARNING);
        m_searching = false;
        return;
    }
    StartPathSearch(query);
}

void OrvMainFrame::SearchPath(const OrvChatUser& user) {
    if (!m_hWnd) return;
    m_mayShow = true;
    ShowWindow(m_state.GetWindowMode() == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    SetForegroundWindow();
    if (m_searching.exchange(true)) {
        ShowMessage(kNoServer, "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    if (user.identity.GetLength() < 2 || !EnsureSession()) {
        m_searching = false;
        return;
    }
    OrvPathQuery query;
    query.kind = OrvPathQuery::byEmail;
    query.source = GetMemberId();
    query.destination = user.identity.Mid(1);
    if (query.source.CompareNoCase(query.destination) == 0) {
        ShowMessage(OrvQueryCheck::kSameEnds, "Parameters error", MB_OK | MB_ICONWARNING);
        m_searching = false;
        return;
    }
    StartPathSearch(query);
}

void OrvMainFrame::StartPathSearch(const OrvPathQuery& query) {
    const CString session = GetSessionId();
    if (OrvPathFinderCtrl* finder = PathFinder()) finder->SetEnabledSearchButton(false);
    ShowBusyLook();
    const bool started = m_workers.Start([this, query, session] {
        m_busy = true;
        if (query.kind == OrvPathQuery::byKeywords)
            DoSearchPathCommandB(query.source, query.destination, session);
        else
            DoSearchPathCommandA(query.source, query.destination, session);
        WaitWhileBusyOnWorker();
        m_searching = false;
    });
    if (!started) {
        EnableSearchButtons(true, true);
        EndBusyLook();
        m_searching = false;
    }
}

// ---------------------------------------------------------------- results

void OrvMainFrame::OnResult(const ORVNAVIGATEINFO* info) { ActOnResult(info); }

void OrvMainFrame::OnPathResult(const ORVNAVIGATEINFO* info) { ActOnResult(info); }

void OrvMainFrame::ActOnResult(const ORVNAVIGATEINFO* info) {
    if (!info || !info->contact) return;
    if (info->kind == ORVNAV_ACTIVATE) {
        // As a click in the tree: that person's tree with the selection.
        const ORVNAVIGATEINFO show{ORVNAV_ACTIVATE, -1, info->contact};
        Navigate(&show);
        return;
    }
    if (info->kind != ORVNAV_COMMAND) return;
    if (info->command == ORVRESCMD_ADD_TO_SOURCE)
        RunPathCommand(ORVNAVCMD_PATH_FROM, *info->contact);
    else if (info->command == ORVRESCMD_ADD_TO_DESTINATION)
        RunPathCommand(ORVNAVCMD_PATH_TO, *info->contact);
}

// On the user-interface thread: the path finder's part of the navigation
// commands (the tree's menu, the result lists' menus).
void OrvMainFrame::RunPathCommand(int command, const ORVCONTACTINFO& contact) {
    OrvPathFinderCtrl* finder = PathFinder();
    if (!finder) return;
    switch (command) {
    case ORVNAVCMD_PATH_FROM:
        finder->SetPathSearchSource(&contact);
        break;
    case ORVNAVCMD_PATH_TO:
        finder->SetPathSearchDestination(&contact);
        break;
    case ORVNAVCMD_SEARCH_PATH: {
        const ORVCONTACTINFO own = GetOwnRecord();
        finder->SetPathSearchSource(&own);
        finder->SetPathSearchDestination(&contact);
        finder->PerformSearch();
        break;
    }
    default:
        break;
    }
}

void OrvMainFrame::PlaceOwnRecordAsSource() {
    const ORVCONTACTINFO own = GetOwnRecord();
    if (OrvPathFinderCtrl* finder = PathFinder()) finder->SetPathSearchSource(&own);
}

// ---------------------------------------------------------------- the look

void OrvMainFrame::EnableSearchButtons(bool search, bool path) {
    if (OrvSearchCtrl* control = SearchControl()) control->SetEnabledSearchButton(search);
    if (OrvPathFinderCtrl* finder = PathFinder()) finder->SetEnabledSearchButton(path);
}

void OrvMainFrame::ShowBusyLook() {
    if (m_busyLook) return;
    m_busyLook = true;
    if (m_skinReader)
        if (OrvMessagePanelCtrl* panel = m_skinReader->GetMessagePanelCtrl()) panel->StartClock();
}

void OrvMainFrame::EndBusyLook() {
    if (!m_busyLook) return;
    m_busyLook = false;
    if (m_skinReader)
        if (OrvMessagePanelCtrl* panel = m_skinReader->GetMessagePanelCtrl()) panel->StopClock();
}

// ---------------------------------------------------------------- filling

void OrvMainFrame::FillSearchResults(const OrvContactArray& records) {
    OrvSearchResultCtrl* list = SearchResults();
    if (!list) return;
    list->DeleteAllItems();
    for (int i = 0; i < records.Count(); ++i) list->AddElement(&records[i]);
    list->StretchLastColumn();
}

void OrvMainFrame::FillPathResults(int pathCount, const ORVPATHINFO* paths) {
    OrvPathFinderResultCtrl* list = PathResults();
    if (!list) return;
    list->DeleteAllItems();
    for (int i = 0; i < pathCount && paths; ++i) {
        const int count = paths[i].nodes && paths[i].count > 0 ? paths[i].count : 0;
        OrvContactArray nodes(paths[i].nodes, count);
        for (int j = 0; j < nodes.Count(); ++j) OrvNormaliseContact(nodes[j], false);
        if (nodes.Count() > 0) list->AddElement(nodes.Count(), nodes.Get());
    }
    list->StretchLastColumn();
}

void OrvMainFrame::ShowPathEnds(const CString& source, const CString& destination) {
    OrvPathFinderCtrl* finder = PathFinder();
    if (!finder) return;
    // Only addresses the member may see; an end placed as a private
    // contact keeps its own text.
    const auto show = [](CSkinnedEdit& edit, const ClsContactInfo& end, const CString& text) {
        if (text.Find('@') < 0 || end.GetContact().emailPrivate) return;
        edit.SetWindowText(text);
    };
    show(finder->GetSourceEdit(), finder->GetPathSearchSource(), source);
    show(finder->GetDestinationEdit(), finder->GetPathSearchDestination(), destination);
}

// ---------------------------------------------------------------- tasks

void OrvMainFrame::PostSearchTask(std::function<void()> task) {
    // Without a window nobody would run it.
    if (!m_hWnd) return;
    {
        CSingleLock lock(m_searchTaskLock);
        m_searchTasks.push_back(std::move(task));
    }
    if (m_hWnd) ::PostMessageA(m_hWnd, kSearchTaskMessage, 0, 0);
}

void OrvMainFrame::RunSearchTasks() {
    std::vector<std::function<void()>> tasks;
    {
        CSingleLock lock(m_searchTaskLock);
        tasks.swap(m_searchTasks);
    }
    for (auto& task : tasks) task();
}
