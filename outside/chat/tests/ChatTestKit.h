#pragma once
// Recording implementations of the program's chat callbacks and of the
// engine's line sink, and a message pump, for the chat engine's tests.
#include "ChatLineSink.h"
#include "IRCChat.h"
#include "OrvChatRoom.h"
#include "OrvChatUser.h"
#include "TestSupport.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace chattest {

struct Event {
    int code;
    std::string text1;  // p1 or p2 as text, where the event carries text
    std::string text2;
    INT_PTR number = 0;
    OrvChatUser user;
    OrvChatRoom room;
};

using orvtest::PumpFor;
using orvtest::PumpUntil;

inline std::string Str(INT_PTR p) {
    const char* text = reinterpret_cast<const char*>(p);
    return text ? text : "";
}

class FakeMain : public IIRCOrvMain {
public:
    FakeMain(std::string id, std::string name) : memberId(std::move(id)), displayName(std::move(name)) {}

    void OnCommandResult(int code, INT_PTR, INT_PTR) override { results.push_back(code); }
    void OnChatEvent(int code, INT_PTR p1, INT_PTR p2) override {
        Event e{code, "", "", 0, {}, {}};
        if (code == ORVCHAT_MAIN_INVITATION || code == ORVCHAT_MAIN_CONTACT_ONLINE) {
            e.text1 = Str(p1);
            e.text2 = Str(p2);
        }
        if (code == ORVCHAT_MAIN_CONNECTION_LOST) {
            e.number = p1;
            e.text2 = Str(p2);
        }
        events.push_back(e);
        if (onEvent) onEvent(code);
    }
    CString GetMemberId() override { return memberId.c_str(); }
    CString GetDisplayName() override { return displayName.c_str(); }
    CString GetEmail() override { return email.c_str(); }
    CString GetStartInfo() override { return ""; }
    BOOL IsAway() override { return away; }
    BOOL Reserved() override { return TRUE; }
    BOOL IsHideEmail() override { return hideEmail; }
    void OpenPrivateChat(const OrvChatUser&) override {}
    void SearchPath(const OrvChatUser&) override {}
    void ShowTree(const OrvChatUser&) override {}
    char GetUserColor() override { return color; }
    void SetUserColor(char code) override { color = code; }

    int Count(int code) const {
        int n = 0;
        for (const Event& e : events) n += e.code == code;
        return n;
    }
    const Event* Last(int code) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->code == code) return &*it;
        return nullptr;
    }

    std::string memberId, displayName, email = "member@example.org";
    BOOL away = FALSE, hideEmail = FALSE;
    char color = '4';
    std::vector<Event> events;
    std::vector<int> results;
    std::function<void(int)> onEvent;  // called after each event is recorded
};

// The lines a ChatSession writes, with a queue bound to play with.
class RecordingSink : public ChatLineSink {
public:
    bool SendLine(const std::string& line, bool urgent) override {
        if (!urgent && room == 0) return false;
        if (!urgent) --room;
        sent.push_back(line);
        return true;
    }
    size_t Room() const override { return room; }

    std::vector<std::string> sent;
    size_t room = 1000000;
};

class FakeClient : public IIRCChatClient {
public:
    FakeClient(std::string target, bool room) : m_target(std::move(target)), m_room(room) {}

    void OnCommandResult(int code, INT_PTR p1, INT_PTR) override {
        Event e{code, "", "", 0, {}, {}};
        if (p1 && code != ORVCHAT_RESULT_FAILED) e.room = *reinterpret_cast<const OrvChatRoom*>(p1);
        results.push_back(e);
    }
    void OnChatEvent(int code, INT_PTR p1, INT_PTR p2) override {
        Event e{code, "", "", 0, {}, {}};
        switch (code) {
        case ORVCHAT_EVENT_USER_PRESENT:
        case ORVCHAT_EVENT_USER_ARRIVED:
            e.user = *reinterpret_cast<const OrvChatUser*>(p1);
            break;
        case ORVCHAT_EVENT_ENTERED:
            e.room = *reinterpret_cast<const OrvChatRoom*>(p1);
            break;
        case ORVCHAT_EVENT_TYPING:
            e.number = p1;
            e.text2 = Str(p2);
            break;
        case ORVCHAT_EVENT_ACCEPTED:
        case ORVCHAT_EVENT_AWAY:
        case ORVCHAT_EVENT_LEFT:
        case ORVCHAT_EVENT_USER_LEFT:
            e.text1 = Str(p1);
            break;
        default:
            e.number = p1;
        }
        events.push_back(e);
    }
    CString GetTarget() override { return m_target.c_str(); }
    BOOL IsRoom() override { return m_room; }
    BOOL IsActive() override { return active; }
    BOOL IsInvitationPending() override { return pending; }
    BOOL WindowExists() override { return TRUE; }
    BOOL ExistsAndActive() override { return active; }
    void OnChatClosed(int reason) override { closed.push_back(reason); }
    void OnMessage(const char* text, const char* sender) override {
        messages.push_back({text ? text : "", sender ? sender : ""});
    }

    int Count(int code) const {
        int n = 0;
        for (const Event& e : events) n += e.code == code;
        return n;
    }
    const Event* Last(int code) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->code == code) return &*it;
        return nullptr;
    }
    int ResultCount(int code) const {
        int n = 0;
        for (const Event& e : results) n += e.code == code;
        return n;
    }

    struct Message {
        std::string text, sender;
    };
    BOOL active = TRUE;
    BOOL pending = FALSE;
    std::vector<Event> events;
    std::vector<Event> results;
    std::vector<Message> messages;
    std::vector<int> closed;

private:
    std::string m_target;
    BOOL m_room;
};

}  // namespace chattest
