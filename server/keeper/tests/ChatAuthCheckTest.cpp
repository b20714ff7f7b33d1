// The chat server's authentication helper: what it lets through to the
// server, and the real helper program run as PAM runs it, against the real
// orvane-server.
#include "ChatAuthCheck.h"
#include "ChatNetwork.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

using keeper::ChatAuthCheck;

TEST(ChatAuthCheck, OnlyWholeIdentitiesAndPlainCredentialsGoToTheServer) {
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser("O42"), "42");
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser("R42"), "42");
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser("O" + std::string(18, '9')), std::string(18, '9'));
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser("O" + std::string(19, '9')), "");  // the chat server would cut it
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser("42"), "");
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser("~O42"), "");
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser("o42"), "");
    EXPECT_EQ(ChatAuthCheck::MemberIdOfUser(""), "");

    EXPECT_EQ(ChatAuthCheck::CredentialOf(std::string("abc\0", 4)), "abc");
    EXPECT_EQ(ChatAuthCheck::CredentialOf("abc\n"), "abc");
    EXPECT_EQ(ChatAuthCheck::CredentialOf(""), "");
    EXPECT_EQ(ChatAuthCheck::CredentialOf("a b"), "");
    EXPECT_EQ(ChatAuthCheck::CredentialOf("\xc3\xa9t\xc3\xa9"), "");
    EXPECT_EQ(ChatAuthCheck::CredentialOf(std::string(65, 'a')), "");
    EXPECT_EQ(ChatAuthCheck::CredentialOf(std::string(64, 'a')), std::string(64, 'a'));
}

namespace {

// Runs the helper as pam_exec does: PAM_USER in the environment, the
// password and a NUL on standard input.
int RunHelper(const std::string& addressFile, const std::string& user, const std::string& password) {
    const std::string command = "PAM_USER='" + user + "' " + ORV_KEEPER_BIN_DIR + "/orvane-chat-auth '" +
                                addressFile + "'";
    FILE* helper = ::popen(command.c_str(), "w");
    if (!helper) return -1;
    std::fwrite(password.c_str(), 1, password.size() + 1, helper);
    const int status = ::pclose(helper);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(ChatAuthCheck, TheHelperSaysYesOnlyForALiveSessionOfThatMember) {
    ChatNetwork network;
    ASSERT_TRUE(network.StartServer()) << network.Logs();
    const auto ann = network.SignUp("ann.auth@example.com");
    const auto bob = network.SignUp("bob.auth@example.com");
    ASSERT_FALSE(ann.session.empty()) << network.Logs();
    const std::string address = network.ChatDir() + "/auth-server";
    EXPECT_EQ(RunHelper(address, ann.Identity(), ann.session), 0);
    EXPECT_EQ(RunHelper(address, ann.Away(), ann.session), 0);
    EXPECT_NE(RunHelper(address, ann.Identity(), bob.session), 0);
    EXPECT_NE(RunHelper(address, bob.Identity(), ann.session), 0);
    EXPECT_NE(RunHelper(address, ann.Identity(), ""), 0);
    EXPECT_NE(RunHelper(address, ann.Identity(), ann.session.substr(1)), 0);
    EXPECT_NE(RunHelper(address, ann.id, ann.session), 0);
    // No address, or a server that is not there: no.
    EXPECT_NE(RunHelper(network.Dir() + "/missing", ann.Identity(), ann.session), 0);
    std::ofstream(network.Dir() + "/nowhere") << "127.0.0.1:" << ChatNetwork::FreePort() << "\n";
    EXPECT_NE(RunHelper(network.Dir() + "/nowhere", ann.Identity(), ann.session), 0);
}
