#pragma once
// The server command channel. Every Do...Command returns at once; its answer
// arrives later as one call of a virtual answer operation, always on the
// thread that built the manager (through a hidden message-only window, so
// that thread must pump messages). Each request gets exactly one answer call:
// its answer operation, or OnCommandFailed naming the command when the
// server could not be reached or sent something that is not an answer.
// Server notices that ride on an answer follow it as OnServerNotice calls.
//
// Records and paths handed to an answer operation belong to the manager and
// are valid only during the call.
//
// Threads: Do...Commands may be called from any thread. Build, configure and
// destroy the manager on the thread that pumps its messages; destruction
// aborts the requests in flight, ends every worker before it returns, and
// the requests it cut short are answered no more. An answer operation may
// destroy the manager; nothing is called on it afterwards. An exception
// thrown by an answer operation is traced and stopped.
//
// Should the system refuse the hidden window (out of window handles), the
// manager still answers every request: at once, on the calling thread,
// with OnConnectError and OnCommandFailed.
//
// The virtual table is part of the contract: OnDataReceive and
// OnConnectError, then the answer operations in the order below, then the
// destructor. Each comment gives the vtable slot (from 0) and the number of
// the answer operation.
#include "ConnectExport.h"

#include "CString.h"
#include "OrvContactInfo.h"

#include <memory>

class OrvConnectChannel;
struct OrvAnswerRecord;

// The command ids OnCommandFailed names (as decimal text).
enum : int {
    ORVCMD_KILL_SESSION = 4,
    ORVCMD_ADD_USER = 11,
    ORVCMD_CHANGE_EMAIL = 12,
    ORVCMD_DROP_CONTACTS = 13,
    ORVCMD_ADD_CONTACTS = 14,
    ORVCMD_UPDATE_STATUS = 15,
    ORVCMD_UPDATE_USER = 16,
    ORVCMD_UPDATE_CONTACTS = 17,
    ORVCMD_UPDATE_IRC_TIME = 18,
    ORVCMD_DROP_ADD_CONTACTS = 19,
    ORVCMD_VERSION = 20,
    ORVCMD_GET_CONTACTS = 21,
    ORVCMD_START_INFO = 22,
    ORVCMD_GET_TREE = 23,
    ORVCMD_SEARCH_PATH_KEYWORDS = 24,
    ORVCMD_CHECK_USER = 25,
    ORVCMD_DROP_USER = 26,
    ORVCMD_VERIFY_USER = 27,
    ORVCMD_SEARCH_PATH = 28,
    ORVCMD_SEARCH = 29,
    ORVCMD_POLL = 30,  // the keep-alive; its failures are not reported
};

// One search-path: count records, the source first.
struct ORVPATHINFO {
    int count = 0;
    ORVCONTACTINFO* nodes = nullptr;
};

class CONNECT_API OrvConnectManager {
public:
    OrvConnectManager();
    OrvConnectManager(const OrvConnectManager&) = delete;
    OrvConnectManager& operator=(const OrvConnectManager&) = delete;

    // "http://host:port" or "https://..."; a trailing "/" is ignored. Used by
    // every request sent after the call.
    void SetUrl(const CString& url);
    CString GetUrl() const;
    // The channel's scrambling sequence; "9C2A71" until set.
    void SetUncryptSequence(const CString& sequence);
    CString GetUncryptSequence() const;
    // Transport time-outs in milliseconds (defaults 15 000 and 60 000).
    void SetTimeouts(int connectMs, int receiveMs);
    // Period of the keep-alive poll while a session is open (default
    // 60 000 ms; 0 turns it off).
    void SetKeepAliveInterval(int periodMs);

    void DoVerifyUserCommand(const CString& email);
    void DoAddUserCommand(const CString& firstName, const CString& lastName, const CString& email,
                          const CString& occupation, const CString& hiddenEmail,
                          const CString& hiddenChat, const CString& contacts);
    void DoCheckUserCommand(const CString& email, const CString& password,
                            const CString& clientKind, const CString& version);
    void DoGetStartInfoCommand(const CString& session);
    void DoDropUserCommand(const CString& session);
    void DoKillSessionCommand(const CString& session);
    void DoUpdateStatusCommand(const CString& session, const CString& status);
    void DoUpdateIrcTimeCommand(const CString& session, const CString& nickname,
                                const CString& status);
    void DoGetTreeCommand(const CString& id, const CString& session);
    void DoSearchByCommand(const CString& query, const CString& kind, const CString& session);
    void DoSearchPathCommandA(const CString& source, const CString& destination,
                              const CString& session);
    void DoSearchPathCommandB(const CString& source, const CString& keywords,
                              const CString& session);
    void DoGetContactsCommand(const CString& session);
    void DoAddContactsCommand(const CString& session, const CString& list);
    void DoDropContactsCommand(const CString& session, const CString& list);
    void DoDropAddContactsCommand(const CString& session, const CString& dropList,
                                  const CString& addList);
    void DoUpdateContactsCommand(const CString& session, const CString& list);
    void DoUpdateUserCommand(const CString& firstName, const CString& lastName,
                             const CString& occupation, const CString& session,
                             const CString& hiddenEmail, const CString& reserved);
    void DoChangeEmailCommand(const CString& email, const CString& newEmail);
    void DoBeginVersionUpdateCommand(const CString& session, const CString& version);
    // Ends the keep-alive and closes idle connections once the requests in
    // flight are answered; a later command opens new ones.
    void DoCloseConnectCommander();

    // Requests sent and not yet answered.
    int PendingCount() const;

protected:
    // The manager's own notifications, before the answer operation they
    // precede: a 200 answer of length bytes arrived for a command; the
    // transport failed (a Win32/WinHTTP error, or the HTTP status).
    virtual void OnDataReceive(unsigned commandId, long length);               // slot 0
    virtual void OnConnectError(long error);                                    // slot 1

    // The answer operations.
    virtual void OnCommandFailed(CString commandId);                            // slot 2, answer 1
    virtual void OnValueAnswer(CString code, CString value);                    // slot 3, answer 2: drop-user
    virtual void OnAddUserAnswer(CString code);                                 // slot 4, answer 3
    virtual void OnDropContactsAnswer(CString code);                            // slot 5, answer 4
    virtual void OnAddContactsAnswer(CString code);                             // slot 6, answer 5
    virtual void OnPlainAnswerA(CString code);                                  // slot 7, answer 6: update-status
    virtual void OnUpdateUserAnswer(CString code);                              // slot 8, answer 7
    virtual void OnUpdateContactsAnswer(CString code);                          // slot 9, answer 8
    virtual void OnPlainAnswerB(CString code);                                  // slot 10, answer 9: kill-session
    virtual void OnSearchAnswer(CString code, int count, ORVCONTACTINFO* records);  // slot 11, answer 10
    virtual void OnDropAddContactsAnswer(CString code);                         // slot 12, answer 11
    virtual void OnGetContactsAnswer(CString code, CString email, int count,
                                     ORVCONTACTINFO* records);                  // slot 13, answer 12
    virtual void OnChangeEmailAnswer(CString code);                             // slot 14, answer 13
    virtual void OnTreeAnswer(CString code, int count, ORVCONTACTINFO* records);    // slot 15, answer 14
    virtual void OnOnlineContactsAnswer(CString code, int count,
                                        ORVCONTACTINFO* records);               // slot 16, answer 15: update-irc-time
    virtual void OnSearchPathAnswer(CString code, CString sourceEmail, CString destination,
                                    CString hops, int pathCount, ORVPATHINFO* paths);  // slot 17, answer 16
    virtual void OnSearchPathByKeywordAnswer(CString code, int pathCount,
                                             ORVPATHINFO* paths);               // slot 18, answer 17
    virtual void OnLogInAnswer(CString code, CString memberId, CString key, CString firstName,
                               CString lastName, CString occupation, CString sessionId,
                               int bannerPeriod, CString panelUrl1, CString chatServer,
                               CString chatPort, CString chatDelay, CString panelUrl2,
                               CString chatPingRate, int idleLimit, int reserved,
                               CString serverInfo);                             // slot 19, answer 18
    virtual void OnVersionAnswer(CString code, CString action, CString arg1, CString arg2);  // slot 20, answer 19
    virtual void OnServerNotice(CString text);                                  // slot 21, answer 20
    virtual void OnVerifyUserAnswer(CString code, CString password, CString key);  // slot 22, answer 21
    virtual void OnStartInfoAnswer(CString code, CString page);                 // slot 23, answer 22
    // Kept for the slot layout; nothing calls them.
    virtual void OnReservedAnswerA(CString text);                               // slot 24
    virtual void OnReservedAnswerB(CString text);                               // slot 25
    virtual void OnReservedAnswerC(CString first, CString second, CString third);  // slot 26
    virtual void OnReservedAnswerD(CString first, CString second, CString third);  // slot 27

public:
    // Declared after the answer operations so that they keep their slots;
    // the destructor takes slots 28 and 29 (complete and deleting).
    virtual ~OrvConnectManager();

private:
    friend class OrvConnectChannel;
    // Called on the constructing thread for every record the workers post:
    // the answer operation, then each notice that came with it.
    void Deliver(OrvAnswerRecord& answer);
    void DeliverNotice(const CString& text);

    std::unique_ptr<OrvConnectChannel> m_channel;
};
