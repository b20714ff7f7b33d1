#include "TestSupport.h"

#include <winsock2.h>

#include <gtest/gtest.h>

namespace {

bool CanConnect(int port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    closesocket(s);
    return ok;
}

struct Winsock {
    Winsock() { WSAStartup(MAKEWORD(2, 2), &data); }
    ~Winsock() { WSACleanup(); }
    WSADATA data{};
};

}  // namespace

TEST(UnixService, StartsOnFreePortAndStopsByPid) {
    Winsock winsock;
    orvtest::UnixService service(
        "selftest-http", {"python3", "-m", "http.server", "@PORT@", "--bind", "127.0.0.1"});
    ASSERT_TRUE(service.Start()) << service.Log();
    EXPECT_GT(service.Port(), 1024);
    EXPECT_TRUE(CanConnect(service.Port()));
    const int port = service.Port();
    ASSERT_TRUE(service.Stop());
    EXPECT_FALSE(service.IsRunning());
    EXPECT_FALSE(CanConnect(port));
}

TEST(UnixService, CommandThatNeverListensFailsToStart) {
    orvtest::UnixService service("selftest-false", {"/bin/false"});
    EXPECT_FALSE(service.Start(5000));
    EXPECT_EQ(service.Port(), 0);
}

TEST(WinePaths, UnixPathsMapToDriveZ) {
    EXPECT_EQ(orvtest::WinePath("/work/a/b.txt"), "Z:\\work\\a\\b.txt");
    EXPECT_EQ(orvtest::WinePath("C:\\x"), "C:\\x");
}
