// The updater's command line, its check of file names, its log and its
// Cancel gate, each on its own.
#include "ChildProcess.h"
#include "SafeRelativePath.h"
#include "UpdateArguments.h"
#include "UpdateCancelGate.h"
#include "UpdateLog.h"
#include "UpdateTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(UpdateArguments, QuotedPlainAndMixedArgumentsAreSplit) {
    auto arguments = UpdateArguments::Parse("\"C:\\Program Files\\Orvane\\OrvUpdate.exe\" \"C:\\Temp\\Orv1.tmp\" \"2.1\"");
    EXPECT_EQ(arguments.archivePath, "C:\\Temp\\Orv1.tmp");
    EXPECT_EQ(arguments.version, "2.1");

    arguments = UpdateArguments::Parse("OrvUpdate.exe \t 'C:\\My Updates\\u.cab'\t\t3.0.1   ");
    EXPECT_EQ(arguments.archivePath, "C:\\My Updates\\u.cab") << "single quotes keep blanks";
    EXPECT_EQ(arguments.version, "3.0.1");

    arguments = UpdateArguments::Parse("u.exe a.cab \"it's 4\" extra ignored");
    EXPECT_EQ(arguments.archivePath, "a.cab");
    EXPECT_EQ(arguments.version, "it's 4");
    EXPECT_TRUE(arguments.IsComplete());
}

TEST(UpdateArguments, LinesThatCannotBeSplitGiveNothing) {
    for (const char* line : {"", "OrvUpdate.exe", "OrvUpdate.exe only-archive", "OrvUpdate.exe \"open quote 1.0",
                             "OrvUpdate.exe a.cab 'open", "\"OrvUpdate.exe a.cab 1.0", "   \t  "}) {
        const auto arguments = UpdateArguments::Parse(line);
        EXPECT_TRUE(arguments.archivePath.empty()) << line;
        EXPECT_TRUE(arguments.version.empty()) << line;
        EXPECT_FALSE(arguments.IsComplete()) << line;
    }
    EXPECT_FALSE(UpdateArguments::Parse(nullptr).IsComplete());
    EXPECT_FALSE(UpdateArguments::Parse("u.exe \"\" 1.0").IsComplete()) << "an empty archive path";
}

TEST(SafeRelativePath, NamesBelowTheProgramFolderAreKept) {
    std::string path;
    ASSERT_TRUE(SafeRelativePath::Make("Orvane.exe", false, path));
    EXPECT_EQ(path, "Orvane.exe");
    ASSERT_TRUE(SafeRelativePath::Make("Skins\\Default\\Skin.Ini", false, path));
    EXPECT_EQ(path, "Skins\\Default\\Skin.Ini");
    ASSERT_TRUE(SafeRelativePath::Make("Sounds/Classic/online.wav", false, path));
    EXPECT_EQ(path, "Sounds\\Classic\\online.wav") << "slashes become backslashes";
    ASSERT_TRUE(SafeRelativePath::Make("..data\\a..b\\.hidden", false, path)) << "dots inside names are fine";
    ASSERT_TRUE(SafeRelativePath::Make("CONSOLE.txt", false, path)) << "only whole device names are devices";
    ASSERT_TRUE(SafeRelativePath::Make("COM10.log", false, path));
    ASSERT_TRUE(SafeRelativePath::Make("caf\xC3\xA9.txt", true, path)) << "UTF-8 that the code page can hold";
    EXPECT_EQ(path, "caf\xE9.txt");
}

TEST(SafeRelativePath, NamesThatEscapeOrAliasAreRefused) {
    const char* refused[] = {
        "", "..", ".", "..\\Orvane.exe", "../Orvane.exe", "Skins\\..\\..\\x.dll", "Skins\\..", "a\\.\\b",
        "\\Windows\\win.ini", "/etc/passwd", "\\\\server\\share\\x", "C:\\Windows\\x.dll", "C:x.dll",
        "Orvane.exe:stream", "CON", "con.txt", "Skins\\NUL", "nul .txt", "AUX.dat", "PRN", "COM1", "lpt9.txt",
        "CONIN$", "conout$.x", "Skins\\\\double", "Skins\\", "trailing.", "trailing ", "a\\trailing.\\b",
        "wild*.dll", "what?.txt", "pipe|x", "less<x", "quote\"x", "tab\tx", "OrvUpdate.stage\\x.dll",
        "orvupdate.BACKUP\\x.dll",
    };
    for (const char* name : refused) {
        std::string path = "unchanged";
        EXPECT_FALSE(SafeRelativePath::Make(name, false, path)) << "\"" << name << "\"";
        EXPECT_TRUE(path.empty()) << name;
    }
    std::string path;
    EXPECT_FALSE(SafeRelativePath::Make(std::string(SafeRelativePath::kMaxLength + 1, 'a').c_str(), false, path));
    EXPECT_TRUE(SafeRelativePath::Make(std::string(SafeRelativePath::kMaxLength, 'a').c_str(), false, path));
    EXPECT_FALSE(SafeRelativePath::Make(nullptr, false, path));
}

TEST(SafeRelativePath, UnicodeLookalikesAreNotMappedOntoSeparators) {
    std::string path;
    // Fullwidth reverse solidus and fullwidth full stops: a best-fit
    // conversion would make "..\" of them.
    EXPECT_FALSE(SafeRelativePath::Make("\xEF\xBC\x8E\xEF\xBC\x8E\xEF\xBC\xBCwin.ini", true, path));
    EXPECT_FALSE(SafeRelativePath::Make("a\xEF\xBC\x9A" "b", true, path)) << "fullwidth colon";
    EXPECT_FALSE(SafeRelativePath::Make("bad\xC3(utf8", true, path)) << "invalid UTF-8";
    EXPECT_FALSE(SafeRelativePath::Make("..\\x", true, path));
}

TEST(UpdateLog, EntriesAreAppendedWithBlankLineDateAndMessage) {
    orvtest::TempFolder folder("log");
    UpdateLog log(folder.Path() + "update.log");
    log.Write("first %s %d", "step", 1);
    log.Write("%s", std::string(3000, 'x').c_str());
    const std::string text = orvtest::ReadTextFile(log.Path());

    ASSERT_EQ(text.compare(0, 17, "\r\nLog message on "), 0) << text.substr(0, 40);
    // "\r\nLog message on DD/MM HH:MM:SS\r\nfirst step 1\r\n"
    const std::string stamp = text.substr(17, 14);
    ASSERT_EQ(stamp.size(), 14u);
    EXPECT_EQ(stamp[2], '/');
    EXPECT_EQ(stamp[5], ' ');
    EXPECT_EQ(stamp[8], ':');
    EXPECT_EQ(stamp[11], ':');
    EXPECT_EQ(text.substr(31, 16), "\r\nfirst step 1\r\n");
    const size_t second = text.find("\r\nLog message on ", 2);
    ASSERT_NE(second, std::string::npos);
    const size_t message = text.find("\r\n", second + 2) + 2;
    EXPECT_EQ(text.size() - message, 1024u + 2u) << "the message is cut to 1 024 characters";
}

TEST(UpdateLog, ThreadsWritingAtOnceLoseNoEntry) {
    orvtest::TempFolder folder("log-threads");
    UpdateLog log(folder.Path() + "update.log");
    std::thread other([&] {
        for (int i = 0; i < 200; ++i) log.Write("worker %d", i);
    });
    for (int i = 0; i < 200; ++i) log.Write("dialog %d", i);
    other.join();
    const std::string text = orvtest::ReadTextFile(log.Path());
    size_t entries = 0;
    for (size_t at = text.find("Log message on "); at != std::string::npos; at = text.find("Log message on ", at + 1))
        ++entries;
    EXPECT_EQ(entries, 400u);
    EXPECT_NE(text.find("\r\nworker 199\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\ndialog 199\r\n"), std::string::npos);
}

TEST(UpdateLog, AnUnwritableLogDoesNotFail) {
    UpdateLog log("Z:\\no\\such\\folder\\at\\all\\update.log");
    log.Write("nothing happens");
    SUCCEED();
}

TEST(UpdateCancelGate, ConfirmedCancelKeepsTheWorkerFromCommitting) {
    UpdateCancelGate gate;
    ASSERT_TRUE(gate.BeginAsking());
    std::atomic<int> passed{-1};
    std::thread worker([&] { passed = gate.PassToCommit() ? 1 : 0; });
    // The worker waits at the gate while the question is open.
    EXPECT_FALSE(orvtest::WaitUntil([&] { return passed != -1; }, 300));
    gate.EndAsking(true);
    worker.join();
    EXPECT_EQ(passed, 0);
    EXPECT_TRUE(gate.IsCancelled());
    EXPECT_FALSE(gate.BeginAsking()) << "nothing left to ask";
}

TEST(UpdateCancelGate, DeclinedCancelLetsTheWorkerCommitAndEndsTheQuestions) {
    UpdateCancelGate gate;
    ASSERT_TRUE(gate.BeginAsking());
    std::atomic<int> passed{-1};
    std::thread worker([&] { passed = gate.PassToCommit() ? 1 : 0; });
    gate.EndAsking(false);
    worker.join();
    EXPECT_EQ(passed, 1);
    EXPECT_FALSE(gate.IsCancelled());
    EXPECT_FALSE(gate.BeginAsking()) << "once files are moving there is nothing to cancel";
    gate.Cancel();
    EXPECT_FALSE(gate.IsCancelled()) << "a commit under way is not interrupted";
}

}  // namespace
