#pragma once
// The chat engine's interfaces: what the program calls (IIRCChatEngine) and
// what it implements (IIRCCmdCallBack, IIRCOrvMain, IIRCChatClient). Every
// callback arrives on the thread that created the engine, and only that
// thread may call the engine: calls from other threads are refused.
//
// Event and result arguments are INT_PTR: numbers are passed as they are;
// texts as const char*, records as const OrvChatUser* / const OrvChatRoom*,
// all valid only during the call.
//
// The number after each member is its slot in the vtable; an interface
// derived from IIRCCmdCallBack has OnCommandResult in slot 0.
#include "ChatExport.h"

#include <CString.h>

#include <windows.h>

class OrvChatUser;
class OrvChatRoom;

// Command codes of IIRCChatEngine::Command and CancelCommand.
enum : int {
    ORVCHAT_CMD_LIST_ROOMS = 3,   // target ""
    ORVCHAT_CMD_JOIN_ROOM = 4,    // target: the room identity; callback: the window
    ORVCHAT_CMD_CREATE_ROOM = 5,  // target: const OrvChatRoom*
    ORVCHAT_CMD_CHANGE_ROOM = 6,  // target: const OrvChatRoom*
    ORVCHAT_CMD_DELETE_ROOM = 7,  // target: const OrvChatRoom*
    ORVCHAT_CMD_LEAVE_ROOM = 24,  // target: the room identity
    ORVCHAT_CMD_VISIBILITY = 32,  // target: the new own identity ("" = from IsAway)
};

// Results of IIRCCmdCallBack::OnCommandResult.
enum : int {
    ORVCHAT_RESULT_FAILED = 2,
    ORVCHAT_RESULT_LIST_BEGIN = 3,
    ORVCHAT_RESULT_LIST_ROW = 4,  // p1: const OrvChatRoom*
    ORVCHAT_RESULT_LIST_END = 5,
    ORVCHAT_RESULT_CHANGED = 6,   // p1: const OrvChatRoom*
    ORVCHAT_RESULT_DELETED = 22,  // p1: const OrvChatRoom*
    ORVCHAT_RESULT_CREATED = 23,  // p1: const OrvChatRoom*
};

// Notify codes of IIRCChatEngine::Notify.
enum : int {
    ORVCHAT_NOTIFY_INVITE = 257,   // parameter: own display name (const char*)
    ORVCHAT_NOTIFY_ACCEPT = 259,
    ORVCHAT_NOTIFY_DECLINE = 260,
    ORVCHAT_NOTIFY_ONLINE = 261,   // parameter: display name (const char*)
    ORVCHAT_NOTIFY_END = 262,
    ORVCHAT_NOTIFY_TYPING = 263,   // parameter: 1 writing, 2 stopped
};

// Events of IIRCOrvMain::OnChatEvent.
enum : int {
    ORVCHAT_MAIN_CONNECTED = 1,       // the member is in the chat under his identity
    ORVCHAT_MAIN_DISCONNECTED = 2,
    ORVCHAT_MAIN_INVITATION = 7,      // p1: identity, p2: display name
    ORVCHAT_MAIN_CONTACT_ONLINE = 33, // p1: display name, p2: identity
    // The connection failed (before CONNECTED) or was lost (after it).
    // p1: an ORVCHAT_LOST_ reason, p2: a text for the member (const char*).
    ORVCHAT_MAIN_CONNECTION_LOST = 34,
    ORVCHAT_MAIN_RELOAD_TREE = 35,
};

// Reasons of ORVCHAT_MAIN_CONNECTION_LOST.
enum : int {
    ORVCHAT_LOST_CONNECTION = 1,   // the connection broke, or the server went silent
    ORVCHAT_LOST_UNREACHABLE = 2,  // no connection to the chat server could be made
    ORVCHAT_LOST_CREDENTIAL = 3,   // the chat server did not accept the session id
    ORVCHAT_LOST_IN_USE = 4,       // the member is in the chat on another connection
    ORVCHAT_LOST_NO_KEEPER = 5,    // nobody confirmed the identity in time (no room keeper)
    ORVCHAT_LOST_REFUSED = 6,      // the chat server refused the connection otherwise
};

// Events of IIRCChatClient::OnChatEvent.
enum : int {
    ORVCHAT_EVENT_ACCEPTED = 9,       // p1: partner identity
    ORVCHAT_EVENT_AWAY = 16,          // p1: partner identity (away, declined or not there)
    ORVCHAT_EVENT_USER_PRESENT = 18,  // p1: const OrvChatUser*
    ORVCHAT_EVENT_ENTERED = 19,       // p1: const OrvChatRoom*
    ORVCHAT_EVENT_USER_ARRIVED = 20,  // p1: const OrvChatUser*
    ORVCHAT_EVENT_LEFT = 21,          // p1: partner identity (ended, left the server, or unreachable)
    ORVCHAT_EVENT_USER_LEFT = 24,     // p1: identity
    ORVCHAT_EVENT_COLOR_CHANGED = 25, // p1: the NotifyClients code (2)
    ORVCHAT_EVENT_TYPING = 32,        // p1: 1 writing, 2 stopped; p2: partner identity
    ORVCHAT_EVENT_ROOM_DELETED = 37,
};

// Reasons of IIRCChatClient::OnChatClosed.
enum : int {
    ORVCHAT_CLOSED_LOST = 1,
    ORVCHAT_CLOSED_BY_ENGINE = 3,
};

// Destructors are protected and not virtual: the engine never deletes what
// it is handed, and the slots keep their order.
class IIRCCmdCallBack {
public:
    virtual void OnCommandResult(int code, INT_PTR p1, INT_PTR p2) = 0;  // 0

protected:
    ~IIRCCmdCallBack() = default;
};

class IIRCOrvMain : public IIRCCmdCallBack {
public:
    virtual void OnChatEvent(int code, INT_PTR p1, INT_PTR p2) = 0;  // 1
    virtual CString GetMemberId() = 0;                               // 2
    virtual CString GetDisplayName() = 0;                            // 3
    virtual CString GetEmail() = 0;                                  // 4
    virtual CString GetStartInfo() = 0;                              // 5
    virtual BOOL IsAway() = 0;                                       // 6
    virtual BOOL Reserved() = 0;                                     // 7: answers TRUE
    virtual BOOL IsHideEmail() = 0;                                  // 8
    virtual void OpenPrivateChat(const OrvChatUser& user) = 0;       // 9
    virtual void SearchPath(const OrvChatUser& user) = 0;            // 10
    virtual void ShowTree(const OrvChatUser& user) = 0;              // 11
    virtual char GetUserColor() = 0;                                 // 12
    virtual void SetUserColor(char code) = 0;                        // 13

protected:
    ~IIRCOrvMain() = default;
};

class IIRCChatClient : public IIRCCmdCallBack {
public:
    virtual void OnChatEvent(int code, INT_PTR p1, INT_PTR p2) = 0;  // 1
    virtual CString GetTarget() = 0;                                 // 2
    virtual BOOL IsRoom() = 0;                                       // 3
    virtual BOOL IsActive() = 0;                                     // 4
    virtual BOOL IsInvitationPending() = 0;                          // 5
    virtual BOOL WindowExists() = 0;                                 // 6
    virtual BOOL ExistsAndActive() = 0;                              // 7
    virtual void OnChatClosed(int reason) = 0;                       // 8
    virtual void OnMessage(const char* text, const char* sender) = 0;  // 9

protected:
    ~IIRCChatClient() = default;
};

class IIRCChatEngine {
public:
    virtual CString GetIdentity() = 0;                                   // 0: own identity now
    // Starts connecting; the outcome comes as ORVCHAT_MAIN_CONNECTED or
    // ORVCHAT_MAIN_CONNECTION_LOST. Non-zero: refused at once.
    virtual int Connect(const char* host, int port) = 0;                 // 1
    virtual BOOL IsInChat() = 0;                                         // 2: a private chat runs
    virtual void Disconnect() = 0;                                       // 3
    virtual BOOL IsConnected() = 0;                                      // 4
    virtual IIRCChatClient* FindClient(const char* identity) = 0;        // 5
    virtual void NotifyClients(int code) = 0;                            // 6
    virtual void AddClient(IIRCChatClient* client) = 0;                  // 7
    virtual void RemoveClient(IIRCChatClient* client) = 0;               // 8
    virtual int GetClientCount() = 0;                                    // 9
    virtual int Command(int code, IIRCCmdCallBack* callback, const void* target, int reserved) = 0;  // 10
    virtual int CancelCommand(int code, IIRCCmdCallBack* callback) = 0;  // 11
    virtual int Notify(int code, const char* target, INT_PTR parameter) = 0;  // 12
    virtual int SendText(const char* target, const char* line, BOOL isRoom, char color) = 0;  // 13

protected:
    ~IIRCChatEngine() = default;
};

// Compares two chat identities: a member's "O" and "R" forms are the same
// person; letters compare without regard to case.
CHAT_API BOOL IsEqualID(const char* a, const char* b);
