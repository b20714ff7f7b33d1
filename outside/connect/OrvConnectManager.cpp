#include "OrvConnectManager.h"

#include "OrvAnswerRecord.h"
#include "OrvConnectChannel.h"

#include <vector>

namespace {

CString At(const std::vector<CString>& values, size_t index) {
    return index < values.size() ? values[index] : CString();
}

int NumberAt(const std::vector<int>& values, size_t index) {
    return index < values.size() ? values[index] : 0;
}

ORVCONTACTINFO* RecordsOf(std::vector<ORVCONTACTINFO>& records) {
    return records.empty() ? nullptr : records.data();
}

}  // namespace

OrvConnectManager::OrvConnectManager() : m_channel(std::make_unique<OrvConnectChannel>(*this)) {}

OrvConnectManager::~OrvConnectManager() = default;

void OrvConnectManager::SetUrl(const CString& url) { m_channel->SetUrl(url); }
CString OrvConnectManager::GetUrl() const { return m_channel->GetUrl(); }
void OrvConnectManager::SetUncryptSequence(const CString& sequence) {
    m_channel->SetSequence(sequence);
}
CString OrvConnectManager::GetUncryptSequence() const { return m_channel->GetSequence(); }
void OrvConnectManager::SetTimeouts(int connectMs, int receiveMs) {
    m_channel->SetTimeouts(connectMs, receiveMs);
}
void OrvConnectManager::SetKeepAliveInterval(int periodMs) {
    m_channel->SetKeepAliveInterval(periodMs);
}
int OrvConnectManager::PendingCount() const { return m_channel->Pending(); }

void OrvConnectManager::DoVerifyUserCommand(const CString& email) {
    m_channel->Send(ORVCMD_VERIFY_USER, {email});
}

void OrvConnectManager::DoAddUserCommand(const CString& firstName, const CString& lastName,
                                         const CString& email, const CString& occupation,
                                         const CString& hiddenEmail, const CString& hiddenChat,
                                         const CString& contacts) {
    m_channel->Send(ORVCMD_ADD_USER,
                    {firstName, lastName, email, occupation, hiddenEmail, hiddenChat, contacts});
}

void OrvConnectManager::DoCheckUserCommand(const CString& email, const CString& password,
                                           const CString& clientKind, const CString& version) {
    m_channel->Send(ORVCMD_CHECK_USER, {email, password, clientKind, version});
}

void OrvConnectManager::DoGetStartInfoCommand(const CString& session) {
    m_channel->Send(ORVCMD_START_INFO, {session});
}

void OrvConnectManager::DoDropUserCommand(const CString& session) {
    m_channel->Send(ORVCMD_DROP_USER, {session});
}

void OrvConnectManager::DoKillSessionCommand(const CString& session) {
    m_channel->Send(ORVCMD_KILL_SESSION, {session});
}

void OrvConnectManager::DoUpdateStatusCommand(const CString& session, const CString& status) {
    m_channel->Send(ORVCMD_UPDATE_STATUS, {session, status});
}

void OrvConnectManager::DoUpdateIrcTimeCommand(const CString& session, const CString& nickname,
                                               const CString& status) {
    m_channel->Send(ORVCMD_UPDATE_IRC_TIME, {session, nickname, status});
}

void OrvConnectManager::DoGetTreeCommand(const CString& id, const CString& session) {
    m_channel->Send(ORVCMD_GET_TREE, {id, session});
}

void OrvConnectManager::DoSearchByCommand(const CString& query, const CString& kind,
                                          const CString& session) {
    m_channel->Send(ORVCMD_SEARCH, {query, kind, session});
}

void OrvConnectManager::DoSearchPathCommandA(const CString& source, const CString& destination,
                                             const CString& session) {
    m_channel->Send(ORVCMD_SEARCH_PATH, {source, destination, session});
}

void OrvConnectManager::DoSearchPathCommandB(const CString& source, const CString& keywords,
                                             const CString& session) {
    m_channel->Send(ORVCMD_SEARCH_PATH_KEYWORDS, {source, keywords, session});
}

void OrvConnectManager::DoGetContactsCommand(const CString& session) {
    m_channel->Send(ORVCMD_GET_CONTACTS, {session});
}

void OrvConnectManager::DoAddContactsCommand(const CString& session, const CString& list) {
    m_channel->Send(ORVCMD_ADD_CONTACTS, {session, list});
}

void OrvConnectManager::DoDropContactsCommand(const CString& session, const CString& list) {
    m_channel->Send(ORVCMD_DROP_CONTACTS, {session, list});
}

void OrvConnectManager::DoDropAddContactsCommand(const CString& session, const CString& dropList,
                                                 const CString& addList) {
    m_channel->Send(ORVCMD_DROP_ADD_CONTACTS, {session, dropList, addList});
}

void OrvConnectManager::DoUpdateContactsCommand(const CString& session, const CString& list) {
    m_channel->Send(ORVCMD_UPDATE_CONTACTS, {session, list});
}

void OrvConnectManager::DoUpdateUserCommand(const CString& firstName, const CString& lastName,
                                            const CString& occupation, const CString& session,
                                            const CString& hiddenEmail, const CString& reserved) {
    m_channel->Send(ORVCMD_UPDATE_USER,
                    {firstName, lastName, occupation, session, hiddenEmail, reserved});
}

void OrvConnectManager::DoChangeEmailCommand(const CString& email, const CString& newEmail) {
    m_channel->Send(ORVCMD_CHANGE_EMAIL, {email, newEmail});
}

void OrvConnectManager::DoBeginVersionUpdateCommand(const CString& session,
                                                    const CString& version) {
    m_channel->Send(ORVCMD_VERSION, {session, version});
}

void OrvConnectManager::DoCloseConnectCommander() { m_channel->Close(); }

void OrvConnectManager::Deliver(OrvAnswerRecord& answer) {
    if (answer.failed) {
        OnConnectError(answer.error);
        // The keep-alive is nobody's request; the next command meets the fault.
        if (answer.commandId != ORVCMD_POLL) {
            CString id;
            id.Format("%d", answer.commandId);
            OnCommandFailed(id);
        }
        return;
    }
    if (answer.commandId != ORVCMD_POLL) OnDataReceive(static_cast<unsigned>(answer.commandId), answer.length);

    const std::vector<CString>& t = answer.text;
    switch (answer.commandId) {
    case ORVCMD_VERIFY_USER: OnVerifyUserAnswer(At(t, 0), At(t, 1), At(t, 2)); break;
    case ORVCMD_ADD_USER: OnAddUserAnswer(At(t, 0)); break;
    case ORVCMD_CHECK_USER:
        OnLogInAnswer(At(t, 0), At(t, 1), At(t, 2), At(t, 3), At(t, 4), At(t, 5), At(t, 6),
                      NumberAt(answer.numbers, 0), At(t, 7), At(t, 8), At(t, 9), At(t, 10),
                      At(t, 11), At(t, 12), NumberAt(answer.numbers, 1),
                      NumberAt(answer.numbers, 2), At(t, 13));
        break;
    case ORVCMD_START_INFO: OnStartInfoAnswer(At(t, 0), At(t, 1)); break;
    case ORVCMD_DROP_USER: OnValueAnswer(At(t, 0), At(t, 1)); break;
    case ORVCMD_KILL_SESSION: OnPlainAnswerB(At(t, 0)); break;
    case ORVCMD_UPDATE_STATUS: OnPlainAnswerA(At(t, 0)); break;
    case ORVCMD_UPDATE_IRC_TIME:
        OnOnlineContactsAnswer(At(t, 0), static_cast<int>(answer.records.size()),
                               RecordsOf(answer.records));
        break;
    case ORVCMD_GET_TREE:
        OnTreeAnswer(At(t, 0), static_cast<int>(answer.records.size()), RecordsOf(answer.records));
        break;
    case ORVCMD_SEARCH:
        OnSearchAnswer(At(t, 0), static_cast<int>(answer.records.size()),
                       RecordsOf(answer.records));
        break;
    case ORVCMD_SEARCH_PATH:
    case ORVCMD_SEARCH_PATH_KEYWORDS: {
        std::vector<ORVPATHINFO> paths;
        paths.reserve(answer.paths.size());
        for (auto& nodes : answer.paths) {
            ORVPATHINFO path;
            path.count = static_cast<int>(nodes.size());
            path.nodes = RecordsOf(nodes);
            paths.push_back(path);
        }
        ORVPATHINFO* first = paths.empty() ? nullptr : paths.data();
        if (answer.commandId == ORVCMD_SEARCH_PATH) {
            OnSearchPathAnswer(At(t, 0), At(t, 1), At(t, 2), At(t, 3),
                               static_cast<int>(paths.size()), first);
        } else {
            OnSearchPathByKeywordAnswer(At(t, 0), static_cast<int>(paths.size()), first);
        }
        break;
    }
    case ORVCMD_GET_CONTACTS:
        OnGetContactsAnswer(At(t, 0), At(t, 1), static_cast<int>(answer.records.size()),
                            RecordsOf(answer.records));
        break;
    case ORVCMD_ADD_CONTACTS: OnAddContactsAnswer(At(t, 0)); break;
    case ORVCMD_DROP_CONTACTS: OnDropContactsAnswer(At(t, 0)); break;
    case ORVCMD_DROP_ADD_CONTACTS: OnDropAddContactsAnswer(At(t, 0)); break;
    case ORVCMD_UPDATE_CONTACTS: OnUpdateContactsAnswer(At(t, 0)); break;
    case ORVCMD_UPDATE_USER: OnUpdateUserAnswer(At(t, 0)); break;
    case ORVCMD_CHANGE_EMAIL: OnChangeEmailAnswer(At(t, 0)); break;
    case ORVCMD_VERSION: OnVersionAnswer(At(t, 0), At(t, 1), At(t, 2), At(t, 3)); break;
    default: break;  // the keep-alive brings notices only
    }
}

void OrvConnectManager::DeliverNotice(const CString& text) { OnServerNotice(text); }

void OrvConnectManager::OnDataReceive(unsigned, long) {}
void OrvConnectManager::OnConnectError(long) {}
void OrvConnectManager::OnCommandFailed(CString) {}
void OrvConnectManager::OnValueAnswer(CString, CString) {}
void OrvConnectManager::OnAddUserAnswer(CString) {}
void OrvConnectManager::OnDropContactsAnswer(CString) {}
void OrvConnectManager::OnAddContactsAnswer(CString) {}
void OrvConnectManager::OnPlainAnswerA(CString) {}
void OrvConnectManager::OnUpdateUserAnswer(CString) {}
void OrvConnectManager::OnUpdateContactsAnswer(CString) {}
void OrvConnectManager::OnPlainAnswerB(CString) {}
void OrvConnectManager::OnSearchAnswer(CString, int, ORVCONTACTINFO*) {}
void OrvConnectManager::OnDropAddContactsAnswer(CString) {}
void OrvConnectManager::OnGetContactsAnswer(CString, CString, int, ORVCONTACTINFO*) {}
void OrvConnectManager::OnChangeEmailAnswer(CString) {}
void OrvConnectManager::OnTreeAnswer(CString, int, ORVCONTACTINFO*) {}
void OrvConnectManager::OnOnlineContactsAnswer(CString, int, ORVCONTACTINFO*) {}
void OrvConnectManager::OnSearchPathAnswer(CString, CString, CString, CString, int, ORVPATHINFO*) {}
void OrvConnectManager::OnSearchPathByKeywordAnswer(CString, int, ORVPATHINFO*) {}
void OrvConnectManager::OnLogInAnswer(CString, CString, CString, CString, CString, CString,
                                      CString, int, CString, CString, CString, CString, CString,
                                      CString, int, int, CString) {}
void OrvConnectManager::OnVersionAnswer(CString, CString, CString, CString) {}
void OrvConnectManager::OnServerNotice(CString) {}
void OrvConnectManager::OnVerifyUserAnswer(CString, CString, CString) {}
void OrvConnectManager::OnStartInfoAnswer(CString, CString) {}
void OrvConnectManager::OnReservedAnswerA(CString) {}
void OrvConnectManager::OnReservedAnswerB(CString) {}
void OrvConnectManager::OnReservedAnswerC(CString, CString, CString) {}
void OrvConnectManager::OnReservedAnswerD(CString, CString, CString) {}
