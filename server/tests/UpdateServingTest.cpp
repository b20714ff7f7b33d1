// The versions table and the archive downloads: the table as the operator
// writes it, the answer it gives each client version over HTTP, and
// /download/ spoken to with a raw HTTP client (lengths, ranges, large files
// streamed, every way out of the folder refused).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "OrvConfig.h"
#include "OrvServer.h"
#include "OrvVersionTable.h"
#include "RawConnection.h"
#include "TestDir.h"

using namespace orv;
using nlohmann::json;

namespace {

OrvVersionEntry entry(const std::string& text) { return OrvVersionTable::parseEntry(text); }

TEST(VersionTable, EntriesAreReadAsTheOperatorWritesThem) {
    OrvVersionEntry e = entry("  2.1.0   orvane-2.1.0.cab   15 ");
    EXPECT_EQ(e.version, "2.1.0");
    EXPECT_EQ(e.archive, "orvane-2.1.0.cab");
    EXPECT_EQ(e.waitMinutes, 15);
    EXPECT_FALSE(e.isUrl());
    e = entry("3.0 https://cdn.example.com/o/orvane-3.0.cab");
    EXPECT_TRUE(e.isUrl());
    EXPECT_EQ(e.waitMinutes, 0);
    EXPECT_EQ(entry("3.0 a.cab 120").waitMinutes, 120);
    EXPECT_EQ(entry("3.0 a.cab 0").waitMinutes, 0);
}

TEST(VersionTable, BadEntriesAreRefusedWithAReason) {
    for (const char* bad : {"", "2.1.0", "2.x a.cab", "2.1.0 ../orvane.db", "2.1.0 sub/a.cab", "2.1.0 .hidden",
                            "2.1.0 ..", "2.1.0 a.cab 121", "2.1.0 a.cab -1", "2.1.0 a.cab 5 extra",
                            "2.1.0 a.cab five", "2.1.0 ftp://h/a.cab", "2.1.0 http://", "2.1.0 a\\b.cab",
                            "2.1.0 http://h/a\"b.cab", "2.1.0 a%2fb.cab"})
        EXPECT_THROW(entry(bad), std::invalid_argument) << bad;
    OrvVersionTable table;
    table.add(entry("2.1.0 a.cab"));
    EXPECT_THROW(table.add(entry("2.01.0 b.cab")), std::invalid_argument) << "the same version twice";
}

TEST(VersionTable, NewestEntryNewerThanTheClientDecides) {
    TestDir dir;
    std::ofstream(dir.path() + "/orvane-1.5.cab") << "x";
    std::ofstream(dir.path() + "/orvane-2.0.cab") << "y";
    OrvVersionTable table;
    table.add(entry("2.0 orvane-2.0.cab"));
    table.add(entry("1.5 orvane-1.5.cab"));
    table.add(entry("1.10 https://cdn.example.com/orvane-1.10.cab"));
    auto answer = [&](const std::string& client) {
        OrvVersionAnswer a = table.answer(client, dir.path(), "http://h:1", 60);
        return a.action + "|" + a.arg1 + "|" + a.arg2;
    };
    EXPECT_EQ(answer("1.0"), "1|2.0|http://h:1/download/orvane-2.0.cab");
    EXPECT_EQ(answer("1.9.9"), "1|2.0|http://h:1/download/orvane-2.0.cab");
    EXPECT_EQ(answer("2.0"), "0||");
    EXPECT_EQ(answer("10.0"), "0||");

    // A newer version held back: clients that would get it wait.
    table.add(entry("2.1 orvane-2.1.cab 30"));
    EXPECT_EQ(answer("1.0"), "2||30");
    EXPECT_EQ(answer("2.0"), "2||30");
    EXPECT_EQ(answer("2.1"), "0||");

    // Numbers, not text: 1.10 is newer than 1.5 and 1.9.
    OrvVersionTable numeric;
    numeric.add(entry("1.5 orvane-1.5.cab"));
    numeric.add(entry("1.10 https://cdn.example.com/orvane-1.10.cab"));
    OrvVersionAnswer a = numeric.answer("1.9", dir.path(), "http://h:1", 60);
    EXPECT_EQ(a.action, "1");
    EXPECT_EQ(a.arg2, "https://cdn.example.com/orvane-1.10.cab");

    // An archive not yet in the folder: ask again after the retry wait.
    OrvVersionTable missing;
    missing.add(entry("4.0 orvane-4.0.cab"));
    a = missing.answer("1.0", dir.path(), "http://h:1", 45);
    EXPECT_EQ(a.action, "2");
    EXPECT_EQ(a.arg2, "45");
}

TEST(VersionTable, ConfigurationFileAndCommandLineFillOneTable) {
    TestDir dir;
    std::string file = dir.path() + "/orvane.conf";
    std::ofstream(file) << "update-entry = 2.0.0 orvane-2.0.0.cab\nupdate_entry = 2.1.0 orvane-2.1.0.cab 20\n";
    OrvConfig c;
    applyCommandLine(c, {"--config", file, "--update-entry", "2.2.0 https://cdn.example.com/2.2.cab",
                         "--update-version", "1.9.0", "--update-file", "old.cab"});
    OrvVersionTable table = c.effectiveVersionTable();
    ASSERT_EQ(table.entries().size(), 4u) << "three entries and the single update-version";
    EXPECT_EQ(table.newestAbove("1.0")->version, "2.2.0");
    EXPECT_EQ(table.newestAbove("2.2.0"), nullptr);

    // The single setting alone still works, and a table entry of the same
    // version takes its place.
    OrvConfig single;
    applyCommandLine(single, {"--update-version", "2.0.0", "--update-file", "orvane-2.0.0.cab"});
    ASSERT_EQ(single.effectiveVersionTable().entries().size(), 1u);
    OrvConfig both;
    applyCommandLine(both, {"--update-version", "2.0.0", "--update-file", "a.cab", "--update-entry", "2.0 b.cab"});
    ASSERT_EQ(both.effectiveVersionTable().entries().size(), 1u);
    EXPECT_EQ(both.effectiveVersionTable().entries()[0].archive, "b.cab");

    OrvConfig twice;
    EXPECT_THROW(applyCommandLine(twice, {"--update-entry", "2.0 a.cab", "--update-entry", "2.0.0 b.cab"}),
                 std::invalid_argument);
    std::ofstream(file) << "update-entry = 2.0 ../../etc/passwd\n";
    OrvConfig hostile;
    EXPECT_THROW(applyConfigFile(hostile, file), std::invalid_argument);
}

// A real server with a versions table and archives in its download folder.
class UpdateServing : public ::testing::Test {
protected:
    void SetUp() override {
        OrvConfig c;
        c.port = 0;
        c.dataDir = dir.path() + "/data";
        c.passwordStrength = "min";
        c.passwordResendSeconds = 0;
        c.threads = 24;  // one per connection: the burst below is served at once
        c.updateTable.add(entry("2.0.0 orvane-2.0.0.cab"));
        c.updateTable.add(entry("2.1.0 orvane-2.1.0.cab"));
        server = std::make_unique<OrvServer>(c);
        port = server->bind();
        server->start();
        download = c.dataDir + "/download/";
    }
    void TearDown() override { server->stop(); }

    // A file of size bytes: sparse, with pattern bytes at its start, its
    // middle and its end, so that misplaced pieces show.
    void makeArchive(const std::string& name, size_t size) {
        std::string path = download + name;
        std::ofstream(path, std::ios::binary | std::ios::trunc).close();
        ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
        std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
        for (size_t at : {size_t{0}, size / 2, size - kMarkBytes}) {
            f.seekp(static_cast<std::streamoff>(at));
            std::string mark = markAt(at);
            f.write(mark.data(), static_cast<std::streamsize>(mark.size()));
        }
    }
    static std::string markAt(size_t at) {
        std::string mark(kMarkBytes, '\0');
        for (size_t i = 0; i < kMarkBytes; ++i) mark[i] = static_cast<char>('A' + (at + i * 7) % 26);
        return mark;
    }
    static size_t contentLength(const std::string& head) {
        auto at = head.find("Content-Length: ");
        return at == std::string::npos ? size_t(-1) : std::strtoul(head.c_str() + at + 16, nullptr, 10);
    }
    std::string get(const std::string& target, const std::string& extra = "") {
        return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
    }

    static constexpr size_t kMarkBytes = 4096;
    TestDir dir;
    std::unique_ptr<OrvServer> server;
    int port = 0;
    std::string download;
};

long residentKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

TEST_F(UpdateServing, VersionRequestAnswersFromTheTableAndItsAddressDownloads) {
    httplib::Client client("127.0.0.1", port);
    auto call = [&](const std::string& name, const json& body) {
        auto res = client.Post(("/api/v1/" + name).c_str(), body.dump(), "application/json");
        return res && res->status == 200 ? json::parse(res->body, nullptr, false) : json();
    };
    // A member: signed up, the password from the outbox, logged in.
    ASSERT_EQ(call("verify-user", {{"email", "dana@example.com"}})["code"], "0");
    ASSERT_EQ(call("add-user", {{"firstName", "Dana"}, {"lastName", "Levi"}, {"email", "dana@example.com"},
                                {"occupation", ""}, {"hiddenEmail", "0"}, {"hiddenChat", "0"}, {"contacts", ""}})["code"],
              "0");
    std::string password;
    for (auto& e : std::filesystem::directory_iterator(dir.path() + "/data/outbox")) {
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        std::smatch m;
        std::string mail = text.str();
        if (std::regex_search(mail, m, std::regex("\r\n    ([A-Za-z0-9]{10})\r\n"))) password = m[1];
    }
    json login = call("check-user", {{"email", "dana@example.com"}, {"password", password}, {"clientKind", "1"},
                                     {"version", "1.0"}});
    ASSERT_EQ(login["code"], "0");
    const std::string session = login["sessionId"];
    auto version = [&](const std::string& v) { return call("version", {{"session", session}, {"version", v}}); };

    json waiting = version("1.0");  // 2.1.0 is newest, its archive not there yet
    EXPECT_EQ(waiting["action"], "2");
    EXPECT_EQ(waiting["arg2"], "60");
    makeArchive("orvane-2.1.0.cab", 3 * kMarkBytes);
    json offer = version("2.0.0");
    ASSERT_EQ(offer["action"], "1");
    EXPECT_EQ(offer["arg1"], "2.1.0");
    const std::string url = offer["arg2"];
    EXPECT_EQ(url, "http://127.0.0.1:" + std::to_string(port) + "/download/orvane-2.1.0.cab");
    EXPECT_EQ(version("2.1.0")["action"], "0");
    EXPECT_EQ(version("1.x")["code"], "1");

    RawConnection c(port);
    ASSERT_TRUE(c.send(get(url.substr(url.find("/download/")))));
    RawConnection::Answer a = c.answer();
    ASSERT_EQ(a.status, 200);
    EXPECT_EQ(a.body.size(), 3 * kMarkBytes);
    EXPECT_EQ(a.body.substr(0, kMarkBytes), markAt(0));
}

TEST_F(UpdateServing, LargeArchiveIsStreamedWithItsLength) {
    const size_t size = (size_t{384} << 20) + 12345;  // far above what may sit in memory
    makeArchive("orvane-2.1.0.cab", size);
    RawConnection c(port);
    ASSERT_TRUE(c.connected());
    const long before = residentKiB();
    ASSERT_TRUE(c.send(get("/download/orvane-2.1.0.cab")));
    RawConnection::Answer a = c.head();
    ASSERT_EQ(a.status, 200) << a.head;
    EXPECT_EQ(contentLength(a.head), size);
    EXPECT_NE(a.head.find("Content-Type: application/octet-stream"), std::string::npos);
    long peakGrowth = 0;
    size_t wrong = 0;
    const size_t middle = size / 2, last = size - kMarkBytes;
    const std::string marks[] = {markAt(0), markAt(middle), markAt(last)};
    size_t got = c.consume(size, [&](size_t offset, const char* data, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            size_t at = offset + i;
            char expected = 0;
            if (at < kMarkBytes) expected = marks[0][at];
            else if (at >= middle && at < middle + kMarkBytes) expected = marks[1][at - middle];
            else if (at >= last) expected = marks[2][at - last];
            wrong += data[i] != expected;
        }
        if ((offset >> 24) != ((offset + n) >> 24)) peakGrowth = std::max(peakGrowth, residentKiB() - before);
    });
    EXPECT_EQ(got, size);
    EXPECT_EQ(wrong, 0u);
    EXPECT_LT(peakGrowth, 64 * 1024) << "KiB: the archive must not be read into memory";
    // The connection stays usable: a second, small answer follows.
    makeArchive("orvane-2.0.0.cab", 3 * kMarkBytes);
    ASSERT_TRUE(c.send(get("/download/orvane-2.0.0.cab")));
    RawConnection::Answer second = c.answer();
    EXPECT_EQ(second.status, 200);
    EXPECT_EQ(second.body.size(), 3 * kMarkBytes);
    EXPECT_EQ(second.body.substr(0, kMarkBytes), markAt(0));
}

TEST_F(UpdateServing, HeadAndRangesAnswerWithoutTheWholeFile) {
    const size_t size = 5 * kMarkBytes;
    makeArchive("orvane-2.0.0.cab", size);
    RawConnection c(port);
    ASSERT_TRUE(c.send("HEAD /download/orvane-2.0.0.cab HTTP/1.1\r\nHost: x\r\n\r\n"));
    RawConnection::Answer head = c.head();
    ASSERT_EQ(head.status, 200);
    EXPECT_EQ(contentLength(head.head), size);
    // Nothing follows a HEAD answer: the next answer's head comes straight after.
    ASSERT_TRUE(c.send(get("/download/orvane-2.0.0.cab", "Range: bytes=" + std::to_string(size / 2) + "-" +
                                                             std::to_string(size / 2 + 99) + "\r\n")));
    RawConnection::Answer part = c.answer();
    ASSERT_EQ(part.status, 206) << part.head;
    EXPECT_EQ(part.body, markAt(size / 2).substr(0, 100));
    ASSERT_TRUE(c.send(get("/download/orvane-2.0.0.cab", "Range: bytes=" + std::to_string(size * 2) + "-\r\n")));
    EXPECT_EQ(c.answer().status, 416);
}

TEST_F(UpdateServing, NothingOutsideTheDownloadFolderIsServed) {
    makeArchive("orvane-2.0.0.cab", kMarkBytes);
    ASSERT_EQ(::mkdir((download + "sub").c_str(), 0755), 0);
    makeArchive("sub/inner.cab", kMarkBytes);
    makeArchive(".hidden.cab", kMarkBytes);
    ASSERT_EQ(::symlink((dir.path() + "/data/orvane.db").c_str(), (download + "db.cab").c_str()), 0);
    ASSERT_EQ(::mkfifo((download + "pipe.cab").c_str(), 0644), 0);
    for (const char* target :
         {"/download/../orvane.db", "/download/%2e%2e/orvane.db", "/download/..%2forvane.db",
          "/download/%2E%2E%2Forvane.db", "/download/sub/inner.cab", "/download/sub%2finner.cab",
          "/download/.hidden.cab", "/download/db.cab", "/download/pipe.cab", "/download/", "/download/sub",
          "/download/orvane-2.0.0.cab%00.txt", "/download/orvane-2.0.0.cab/", "/download//etc/passwd",
          "/download/%2fetc%2fpasswd", "/download/..\\orvane.db", "/download/nothing.cab"}) {
        RawConnection c(port);
        ASSERT_TRUE(c.send(get(target, "Connection: close\r\n")));
        RawConnection::Answer a = c.answer();
        EXPECT_TRUE(a.status == 404 || a.status == 400) << target << ": " << a.head;
        EXPECT_EQ(a.body.find("SQLite"), std::string::npos) << target;
    }
    RawConnection c(port);
    ASSERT_TRUE(c.send(get("/download/orvane-2.0.0.cab")));
    EXPECT_EQ(c.answer().status, 200) << "the folder's own file still comes";
}

TEST_F(UpdateServing, BurstOfParallelDownloadsAllArriveWhole) {
    const size_t size = 2 * 1024 * 1024;
    makeArchive("orvane-2.0.0.cab", size);
    std::vector<std::unique_ptr<RawConnection>> clients;
    for (int i = 0; i < 16; ++i) {
        clients.push_back(std::make_unique<RawConnection>(port));
        ASSERT_TRUE(clients.back()->send(get("/download/orvane-2.0.0.cab")));
    }
    for (auto& c : clients) {
        RawConnection::Answer a = c->head();
        ASSERT_EQ(a.status, 200);
        std::string start;
        size_t got = c->consume(size, [&](size_t offset, const char* data, size_t n) {
            if (offset < kMarkBytes) start.append(data, std::min(n, kMarkBytes - offset));
        });
        EXPECT_EQ(got, size);
        EXPECT_EQ(start, markAt(0));
    }
}

}  // namespace
