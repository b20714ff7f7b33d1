#include "OrvCommandTable.h"

#include "OrvConnectManager.h"

namespace {

#define ORV_LIST(name, ...) const char* const name[] = {__VA_ARGS__, nullptr}

ORV_LIST(kCode, "code");
const char* const kNone[] = {nullptr};

ORV_LIST(kReqSession, "session");
ORV_LIST(kReqSessionList, "session", "list");

ORV_LIST(kReqVerify, "email");
ORV_LIST(kAnsVerify, "code", "password", "key");
ORV_LIST(kReqAddUser, "firstName", "lastName", "email", "occupation", "hiddenEmail", "hiddenChat",
         "contacts");
ORV_LIST(kReqCheckUser, "email", "password", "clientKind", "version");
ORV_LIST(kAnsCheckUser, "code", "memberId", "key", "firstName", "lastName", "occupation",
         "sessionId", "panelUrl1", "chatServer", "chatPort", "chatDelay", "panelUrl2",
         "chatPingRate", "serverInfo");
ORV_LIST(kNumCheckUser, "bannerPeriod", "idleLimit", "reserved");
ORV_LIST(kAnsStartInfo, "code", "page");
ORV_LIST(kAnsDropUser, "code", "value");
ORV_LIST(kReqStatus, "session", "status");
ORV_LIST(kReqIrcTime, "session", "nickname", "status");
ORV_LIST(kReqTree, "id", "session");
ORV_LIST(kReqSearch, "query", "kind", "session");
ORV_LIST(kReqPath, "source", "destination", "session");
ORV_LIST(kAnsPath, "code", "sourceEmail", "destination", "hops");
ORV_LIST(kReqPathKeywords, "source", "keywords", "session");
ORV_LIST(kAnsContacts, "code", "email");
ORV_LIST(kReqDropAdd, "session", "dropList", "addList");
ORV_LIST(kReqUpdateUser, "firstName", "lastName", "occupation", "session", "hiddenEmail",
         "reserved");
ORV_LIST(kReqChangeEmail, "email", "newEmail");
ORV_LIST(kReqVersion, "session", "version");
ORV_LIST(kAnsVersion, "code", "action", "arg1", "arg2");

#undef ORV_LIST

const OrvCommandSpec_t kCommands[] = {
    {ORVCMD_VERIFY_USER, "verify-user", kReqVerify, kAnsVerify, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_ADD_USER, "add-user", kReqAddUser, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_CHECK_USER, "check-user", kReqCheckUser, kAnsCheckUser, kNumCheckUser,
     ORV_SHAPE_PLAIN},
    {ORVCMD_START_INFO, "start-info", kReqSession, kAnsStartInfo, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_DROP_USER, "drop-user", kReqSession, kAnsDropUser, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_KILL_SESSION, "kill-session", kReqSession, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_UPDATE_STATUS, "update-status", kReqStatus, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_UPDATE_IRC_TIME, "update-irc-time", kReqIrcTime, kCode, kNone, ORV_SHAPE_RECORDS},
    {ORVCMD_GET_TREE, "get-tree", kReqTree, kCode, kNone, ORV_SHAPE_RECORDS},
    {ORVCMD_SEARCH, "search", kReqSearch, kCode, kNone, ORV_SHAPE_RECORDS},
    {ORVCMD_SEARCH_PATH, "search-path", kReqPath, kAnsPath, kNone, ORV_SHAPE_PATHS},
    {ORVCMD_SEARCH_PATH_KEYWORDS, "search-path-keywords", kReqPathKeywords, kCode, kNone,
     ORV_SHAPE_PATHS},
    {ORVCMD_GET_CONTACTS, "get-contacts", kReqSession, kAnsContacts, kNone, ORV_SHAPE_RECORDS},
    {ORVCMD_ADD_CONTACTS, "add-contacts", kReqSessionList, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_DROP_CONTACTS, "drop-contacts", kReqSessionList, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_DROP_ADD_CONTACTS, "drop-add-contacts", kReqDropAdd, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_UPDATE_CONTACTS, "update-contacts", kReqSessionList, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_UPDATE_USER, "update-user", kReqUpdateUser, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_CHANGE_EMAIL, "change-email", kReqChangeEmail, kCode, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_VERSION, "version", kReqVersion, kAnsVersion, kNone, ORV_SHAPE_PLAIN},
    {ORVCMD_POLL, "poll", kReqSession, kCode, kNone, ORV_SHAPE_PLAIN},
};

}  // namespace

const OrvCommandSpec_t* OrvFindCommand(int id) {
    for (const OrvCommandSpec_t& spec : kCommands)
        if (spec.id == id) return &spec;
    return nullptr;
}
