#pragma once
// The chat server's authentication helper: the chat server runs it through
// PAM (pam_exec with expose_authtok) for every client that logs in, with the
// client's user name in PAM_USER and its password (the member's session id)
// on standard input. The user name is the identity the client asks for,
// "O<id>" or "R<id>"; the helper asks orvane-server whether the session is a
// live one of that member. Anything but a clear yes is a no.
#include <string>

namespace keeper {

class ChatAuthCheck {
public:
    // The member id of a user name that may log in ("" when none may): an
    // identity the chat server keeps whole.
    static std::string MemberIdOfUser(const std::string& user);
    // A password as PAM hands it on: up to its first NUL or line end; empty
    // when it holds anything a session id cannot.
    static std::string CredentialOf(const std::string& input);
    // The server's address file: one line "host:port".
    static bool ReadServerAddress(const std::string& path, std::string& host, int& port);
    // POST /api/v1/chat-auth; true only for the answer code "0".
    static bool AskServer(const std::string& host, int port, const std::string& memberId,
                          const std::string& credential);

    // Longest credential the server accepts.
    static constexpr size_t MaxCredential = 64;
};

}  // namespace keeper
