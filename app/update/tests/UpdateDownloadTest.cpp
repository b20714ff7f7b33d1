// The download thread against crafted HTTP servers: refused URLs, a missing
// file, a body cut off before its announced length, a burst of starts.
#include "ConnectTestSupport.h"
#include "OrvUpdateDownload.h"
#include "OrvVersionCheck.h"
#include "UpdateTestSupport.h"

#include <gtest/gtest.h>

using connecttest::CraftedServer;
using updatetest::RecordingWindow;

namespace {

bool WaitFinished(const OrvUpdateDownload& download) {
    return orvtest::PumpUntil([&] { return download.GetState() != OrvUpdateDownload::State::Running; },
                              updatetest::kGenerousMs);
}

std::string Answer(const std::string& status, const std::string& body, size_t announced) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
           std::to_string(announced) + "\r\n\r\n" + body;
}

TEST(UpdateDownload, OnlyWebAddressesAreFetched) {
    RecordingWindow window;
    OrvUpdateDownload download;
    for (const char* url : {"", "file:///C:/windows/win.ini", "C:\\windows\\win.ini", "ftp://127.0.0.1/a.cab",
                            "http://", "javascript:alert(1)", "http://127.0.0.1/a\r\nHost: x"}) {
        EXPECT_FALSE(download.Start(url, window.Get(), OrvVersionCheck::StartUpgradeMessage())) << url;
        EXPECT_EQ(download.GetState(), OrvUpdateDownload::State::Idle) << url;
    }
    EXPECT_TRUE(OrvUpdateDownload::IsDownloadableUrl("HTTPS://example.com/u.cab"));
}

TEST(UpdateDownload, ArchiveArrivesAndOnlyOneDownloadRunsAtATime) {
    const std::string archive = updatetest::ArchiveBytes(200000, 3);
    CraftedServer server([&](const CraftedServer::Request&) { return Answer("200 OK", archive, archive.size()); });
    RecordingWindow window;
    const std::vector<std::string> before = updatetest::TempArchives();
    {
        OrvUpdateDownload download;
        ASSERT_TRUE(download.Start((server.Url() + "/download/u.cab").c_str(), window.Get(),
                                   OrvVersionCheck::StartUpgradeMessage()));
        // A burst of further starts while it runs is refused.
        int refused = 0;
        for (int i = 0; i < 20 && download.GetState() == OrvUpdateDownload::State::Running; ++i)
            refused += download.Start((server.Url() + "/download/v.cab").c_str(), window.Get(), 1) ? 0 : 1;
        ASSERT_TRUE(WaitFinished(download));
        ASSERT_EQ(download.GetState(), OrvUpdateDownload::State::Done);
        ASSERT_TRUE(orvtest::PumpUntil([&] { return window.CountOf(OrvVersionCheck::StartUpgradeMessage()) == 1; },
                                       updatetest::kGenerousMs));
        EXPECT_EQ(window.Messages().front().wParam, 1u);
        EXPECT_EQ(window.Messages().front().lParam, 1);
        EXPECT_EQ(server.RequestCount(), 1u) << refused << " refused starts sent nothing";
        const std::string file = download.File().GetString();
        EXPECT_TRUE(updatetest::ReadWholeFile(file) == archive);
        EXPECT_EQ(server.Requests().front().method, "GET");
        EXPECT_EQ(server.Requests().front().path, "/download/u.cab");
        // Handing the file over lets the next download begin; the file stays.
        EXPECT_EQ(download.TakeFile().GetString(), file);
        EXPECT_EQ(download.GetState(), OrvUpdateDownload::State::Idle);
        EXPECT_TRUE(download.File().IsEmpty());
        EXPECT_NE(::GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
        ::DeleteFileA(file.c_str());
    }
    EXPECT_EQ(updatetest::TempArchives(), before);
}

TEST(UpdateDownload, MissingFileLeavesNothingAndPostsNothing) {
    CraftedServer server([](const CraftedServer::Request&) { return Answer("404 Not Found", "", 0); });
    RecordingWindow window;
    const std::vector<std::string> before = updatetest::TempArchives();
    OrvUpdateDownload download;
    ASSERT_TRUE(download.Start((server.Url() + "/download/gone.cab").c_str(), window.Get(),
                               OrvVersionCheck::StartUpgradeMessage()));
    ASSERT_TRUE(WaitFinished(download));
    EXPECT_EQ(download.GetState(), OrvUpdateDownload::State::Failed);
    EXPECT_TRUE(download.File().IsEmpty());
    orvtest::PumpPending();
    EXPECT_EQ(window.CountOf(OrvVersionCheck::StartUpgradeMessage()), 0);
    EXPECT_EQ(updatetest::TempArchives(), before) << "the temporary file is gone again";
}

TEST(UpdateDownload, AnswerThatIsNoCabinetIsNotKept) {
    // A proxy's or server's page that answers 200 in place of the archive.
    const std::string page = "<html><body>Service temporarily unavailable</body></html>";
    CraftedServer server([&](const CraftedServer::Request&) { return Answer("200 OK", page, page.size()); });
    RecordingWindow window;
    const std::vector<std::string> before = updatetest::TempArchives();
    OrvUpdateDownload download;
    ASSERT_TRUE(download.Start((server.Url() + "/download/u.cab").c_str(), window.Get(),
                               OrvVersionCheck::StartUpgradeMessage()));
    ASSERT_TRUE(WaitFinished(download));
    EXPECT_EQ(download.GetState(), OrvUpdateDownload::State::Failed);
    EXPECT_EQ(server.RequestCount(), 1u);
    orvtest::PumpPending();
    EXPECT_EQ(window.CountOf(OrvVersionCheck::StartUpgradeMessage()), 0);
    EXPECT_EQ(updatetest::TempArchives(), before);
}

TEST(UpdateDownload, BodyCutOffBeforeItsLengthIsNoArchive) {
    const std::string part = updatetest::ArchiveBytes(5000, 5);
    CraftedServer server([&](const CraftedServer::Request&) { return Answer("200 OK", part, 90000); });
    RecordingWindow window;
    const std::vector<std::string> before = updatetest::TempArchives();
    OrvUpdateDownload download;
    ASSERT_TRUE(download.Start((server.Url() + "/download/cut.cab").c_str(), window.Get(),
                               OrvVersionCheck::StartUpgradeMessage()));
    ASSERT_TRUE(orvtest::PumpUntil([&] { return server.RequestCount() == 1; }, updatetest::kGenerousMs));
    server.Stop();  // the connection closes with 85 000 bytes missing
    ASSERT_TRUE(WaitFinished(download));
    EXPECT_EQ(download.GetState(), OrvUpdateDownload::State::Failed);
    orvtest::PumpPending();
    EXPECT_EQ(window.CountOf(OrvVersionCheck::StartUpgradeMessage()), 0);
    EXPECT_EQ(updatetest::TempArchives(), before);
}

TEST(UpdateDownload, DestroyedWhileRunningEndsItsThreadAndCleansUp) {
    const std::string archive = updatetest::ArchiveBytes(4 * 1024 * 1024, 9);
    CraftedServer server([&](const CraftedServer::Request&) { return Answer("200 OK", archive, archive.size()); });
    RecordingWindow window;
    const std::vector<std::string> before = updatetest::TempArchives();
    {
        OrvUpdateDownload download;
        ASSERT_TRUE(download.Start((server.Url() + "/download/big.cab").c_str(), window.Get(),
                                   OrvVersionCheck::StartUpgradeMessage()));
        download.Cancel();
        // Stopped part-way (nothing kept) or already complete (kept whole).
        if (download.GetState() == OrvUpdateDownload::State::Done) {
            const std::string file = download.TakeFile().GetString();
            EXPECT_TRUE(updatetest::ReadWholeFile(file) == archive);
            ::DeleteFileA(file.c_str());
        } else {
            EXPECT_EQ(download.GetState(), OrvUpdateDownload::State::Failed);
        }
    }
    EXPECT_EQ(updatetest::TempArchives(), before);
    // A download destroyed without Cancel ends its thread in the destructor.
    {
        OrvUpdateDownload download;
        ASSERT_TRUE(download.Start((server.Url() + "/download/big.cab").c_str(), window.Get(),
                                   OrvVersionCheck::StartUpgradeMessage()));
    }
    EXPECT_EQ(updatetest::TempArchives(), before) << "finished or not, nothing taken is left";
}

}  // namespace
