// The requests of sign-up, log-in and the session: verify-user, add-user,
// check-user, change-email, start-info, drop-user, kill-session,
// update-status, update-irc-time, poll, version, and the chat server's
// chat-auth.
#pragma once

#include <string>

#include "OrvRequest.h"

namespace orv {

class OrvServer;

class OrvSessionRequests {
public:
    explicit OrvSessionRequests(OrvServer& server) : server_(server) {}
    OrvSessionRequests(const OrvSessionRequests&) = delete;
    OrvSessionRequests& operator=(const OrvSessionRequests&) = delete;

    std::string verifyUser(OrvRequest& r);
    std::string addUser(OrvRequest& r);
    std::string checkUser(OrvRequest& r);
    std::string changeEmail(OrvRequest& r);
    std::string startInfo(OrvRequest& r);
    std::string dropUser(OrvRequest& r);
    std::string killSession(OrvRequest& r);
    std::string updateStatus(OrvRequest& r);
    std::string updateIrcTime(OrvRequest& r);
    std::string poll(OrvRequest& r);
    std::string version(OrvRequest& r);
    std::string chatAuth(OrvRequest& r);

private:
    void mailPassword(const std::string& email, const std::string& firstName, const std::string& password,
                      bool again);

    OrvServer& server_;
};

}  // namespace orv
