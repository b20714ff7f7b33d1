#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "OrvConfig.h"
#include "TestDir.h"

using namespace orv;

TEST(Config, FileThenCommandLineWins) {
    TestDir dir;
    std::string file = dir.path() + "/orvane.conf";
    std::ofstream(file) << "# comment\nport = 9000\nchat-server = irc.example.com\n"
                           "banner_period=45\nidle-limit = 600\nupdate-version = 2.1\n";
    OrvConfig c;
    applyCommandLine(c, {"--port", "9100", "--config", file, "--listen=0.0.0.0"});
    EXPECT_EQ(c.port, 9100);
    EXPECT_EQ(c.chatServer, "irc.example.com");
    EXPECT_EQ(c.bannerPeriod, 45);
    EXPECT_EQ(c.idleLimit, 600);
    EXPECT_EQ(c.updateVersion, "2.1");
    EXPECT_EQ(c.listen, "0.0.0.0");
    EXPECT_EQ(c.effectivePublicUrl(), "http://0.0.0.0:9100");
}

TEST(Config, DemoSetsTheDataFolder) {
    OrvConfig c;
    applyCommandLine(c, {"--demo", "/tmp/x"});
    EXPECT_TRUE(c.demo);
    EXPECT_EQ(c.dataDir, "/tmp/x");
}

TEST(Config, BadInputIsReported) {
    OrvConfig c;
    EXPECT_THROW(applyCommandLine(c, {"--port", "70000"}), std::invalid_argument);
    EXPECT_THROW(applyCommandLine(c, {"--port"}), std::invalid_argument);
    EXPECT_THROW(applyCommandLine(c, {"--colour", "red"}), std::invalid_argument);
    EXPECT_THROW(applyCommandLine(c, {"stray"}), std::invalid_argument);
    EXPECT_THROW(applyCommandLine(c, {"--update-file", "../../etc/passwd"}), std::invalid_argument);
    EXPECT_THROW(applyCommandLine(c, {"--chat-port", "66a"}), std::invalid_argument);
    EXPECT_THROW(applyCommandLine(c, {"--config", "/nonexistent/orvane.conf"}), std::invalid_argument);
    TestDir dir;
    std::string file = dir.path() + "/bad.conf";
    std::ofstream(file) << "port 9000\n";
    EXPECT_THROW(applyConfigFile(c, file), std::invalid_argument);
}

TEST(Config, PublicUrlLosesTrailingSlash) {
    OrvConfig c;
    c.publicUrl = "https://orvane.example.org/";
    EXPECT_EQ(c.effectivePublicUrl(), "https://orvane.example.org");
}
