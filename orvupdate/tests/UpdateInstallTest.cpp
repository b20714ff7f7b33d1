// Installing real cabinets made by gcab into a program folder, on the
// calling thread: what lands where, what is refused, and that a failure of
// any kind leaves the program folder as it was. Then changes.ini against
// the real registry of the prefix.
#include "ExtractionProgress.h"
#include "UpdateCancelGate.h"
#include "UpdateChanges.h"
#include "UpdateLog.h"
#include "UpdateTestSupport.h"
#include "UpdateWorker.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using orvtest::FolderSnapshot;
using orvtest::ReadTextFile;
using orvtest::TempFolder;
using orvtest::TestCabinet;

// A program folder with an installed program, inside an outer folder so that
// a file escaping it would be seen.
class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_program = m_outer.Path() + "Program\\";
        ASSERT_TRUE(::CreateDirectoryA(m_program.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((m_program + "Skins").c_str(), nullptr));
        ASSERT_TRUE(orvtest::WriteTextFile(m_program + "Orvane.txt", "old program text\r\n"));
        ASSERT_TRUE(orvtest::WriteTextFile(m_program + "keep.dat", "untouched"));
        ASSERT_TRUE(orvtest::WriteTextFile(m_outer.Path() + "outside.txt", "outside the program folder"));
        m_before = FolderSnapshot(m_outer.Path());
    }

    UpdateWorker::Result Install(const std::string& cabinet) {
        UpdateWorker worker(TestCabinet(cabinet), m_program, m_log, m_progress, m_gate);
        return worker.Run();
    }

    std::string LogText() { return ReadTextFile(m_log.Path()); }

    TempFolder m_outer{"install"};
    std::string m_program;
    UpdateLog m_log{m_outer.Path() + "update.log"};
    ExtractionProgress m_progress;
    UpdateCancelGate m_gate;
    std::map<std::string, std::string> m_before;
};

TEST_F(InstallTest, GoodArchiveLandsInTheProgramFolderWithItsSubfolders) {
    ASSERT_TRUE(::SetFileAttributesA((m_program + "Orvane.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(Install("good.cab"), UpdateWorker::kInstalled) << LogText();
    EXPECT_EQ(ReadTextFile(m_program + "Orvane.txt"), "new program text\r\n") << "read-only files are replaced too";
    EXPECT_EQ(ReadTextFile(m_program + "Skins\\Default\\Skin.Ini"), "[Skin]\r\nName=Default\r\n");
    const std::string numbers = ReadTextFile(m_program + "data\\numbers.txt");
    EXPECT_EQ(numbers.substr(0, 6), "1\n2\n3\n");
    EXPECT_EQ(numbers.substr(numbers.size() - 6), "60000\n");
    EXPECT_TRUE(orvtest::FileExists(m_program + "changes.ini")) << "left for the dialog to apply";
    EXPECT_EQ(ReadTextFile(m_program + "keep.dat"), "untouched");
    EXPECT_FALSE(orvtest::FileExists(m_program + "OrvUpdate.stage"));
    EXPECT_FALSE(orvtest::FileExists(m_program + "OrvUpdate.backup"));

    const ExtractionProgress::Snapshot progress = m_progress.Read();
    const uint64_t total = numbers.size() + 18 + 22 + ReadTextFile(m_program + "changes.ini").size();
    EXPECT_EQ(progress.range, total + 100) << "range: total size + 100";
    EXPECT_EQ(progress.position, total) << "advanced by every block written";
}

TEST_F(InstallTest, StoredArchiveWithoutCompressionInstallsToo) {
    ASSERT_EQ(Install("plain.cab"), UpdateWorker::kInstalled) << LogText();
    EXPECT_EQ(ReadTextFile(m_program + "Orvane.txt"), "new program text\r\n");
}

TEST_F(InstallTest, MissingAndForeignFilesCannotBeOpened) {
    EXPECT_EQ(Install("no-such-archive.cab"), UpdateWorker::kArchiveUnreadable);
    EXPECT_EQ(Install("not-a-cabinet.cab"), UpdateWorker::kArchiveUnreadable);
    EXPECT_EQ(Install("header-only.cab"), UpdateWorker::kArchiveUnreadable);
    EXPECT_EQ(FolderSnapshot(m_outer.Path()).count("Program\\Orvane.txt"), 1u);
    const std::string log = LogText();
    EXPECT_NE(log.find("CCabDecompres::FDI_Open : Failed to open " + TestCabinet("not-a-cabinet.cab") + " file"),
              std::string::npos)
        << log;
    auto after = FolderSnapshot(m_outer.Path());
    after.erase("update.log");
    EXPECT_EQ(after, m_before);
}

TEST_F(InstallTest, DamagedOrTruncatedDataFailsAndChangesNothing) {
    for (const char* cabinet : {"damaged.cab", "truncated.cab"}) {
        EXPECT_EQ(Install(cabinet), UpdateWorker::kExtractionFailed) << cabinet;
        auto after = FolderSnapshot(m_outer.Path());
        after.erase("update.log");
        EXPECT_EQ(after, m_before) << cabinet << ": the program folder is as it was";
    }
    EXPECT_NE(LogText().find("nothing is installed"), std::string::npos);
}

TEST_F(InstallTest, HostileNamesFailBeforeAnythingIsWritten) {
    for (const char* cabinet :
         {"hostile-parent.cab", "hostile-parent-slash.cab", "hostile-nested-parent.cab", "hostile-absolute.cab",
          "hostile-drive.cab", "hostile-stream.cab", "hostile-device.cab", "hostile-nested-device.cab"}) {
        EXPECT_EQ(Install(cabinet), UpdateWorker::kExtractionFailed) << cabinet;
        auto after = FolderSnapshot(m_outer.Path());
        after.erase("update.log");
        EXPECT_EQ(after, m_before) << cabinet << ": nothing inside or outside the program folder changed";
    }
    EXPECT_FALSE(orvtest::FileExists("C:\\xxxxxxxxxxxxxxxxxxxx.txt"));
    EXPECT_FALSE(orvtest::FileExists("C:\\xxxxxxxxxxxxxxxxxxxxx.txt"));
    EXPECT_NE(LogText().find("Refused the archive's file name \"..\\"), std::string::npos) << LogText();
}

TEST_F(InstallTest, AFileThatCannotBePlacedUndoesTheFilesMovedBeforeIt) {
    // Orvane.txt is moved first; Skins\Default\Skin.Ini then meets a folder
    // of that name and cannot be placed.
    ASSERT_TRUE(::CreateDirectoryA((m_program + "Skins\\Default").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((m_program + "Skins\\Default\\Skin.Ini").c_str(), nullptr));
    const auto before = FolderSnapshot(m_outer.Path());
    EXPECT_EQ(Install("good.cab"), UpdateWorker::kExtractionFailed);
    auto after = FolderSnapshot(m_outer.Path());
    after.erase("update.log");
    EXPECT_EQ(after, before) << "the replaced Orvane.txt is back, the new files are gone";
    EXPECT_EQ(ReadTextFile(m_program + "Orvane.txt"), "old program text\r\n");
}

TEST_F(InstallTest, CancelledBeforeCommitInstallsNothing) {
    ASSERT_TRUE(m_gate.BeginAsking());
    m_gate.EndAsking(true);
    EXPECT_EQ(Install("good.cab"), UpdateWorker::kExtractionFailed);
    auto after = FolderSnapshot(m_outer.Path());
    after.erase("update.log");
    EXPECT_EQ(after, m_before);
}

TEST_F(InstallTest, LeftoverStagingFolderOfAnEarlierRunIsReplaced) {
    ASSERT_TRUE(::CreateDirectoryA((m_program + "OrvUpdate.stage").c_str(), nullptr));
    ASSERT_TRUE(orvtest::WriteTextFile(m_program + "OrvUpdate.stage\\stale.dll", "stale"));
    ASSERT_EQ(Install("plain.cab"), UpdateWorker::kInstalled) << LogText();
    EXPECT_FALSE(orvtest::FileExists(m_program + "stale.dll"));
    EXPECT_FALSE(orvtest::FileExists(m_program + "OrvUpdate.stage"));
}

// changes.ini against HKEY_LOCAL_MACHINE\SOFTWARE\Orvane of the prefix.
class ChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvtest::CreateProductKey();
        for (const char* name : {"Number", "Negative", "Text", "Single", "Count", "Limit", "OldValue", "version"})
            orvtest::DeleteProductValue(name);
        m_program = m_outer.Path() + "Program\\";
        ASSERT_TRUE(::CreateDirectoryA(m_program.c_str(), nullptr));
    }
    void TearDown() override {
        for (const char* name : {"Number", "Negative", "Text", "Single", "Count", "Limit", "OldValue", "version"})
            orvtest::DeleteProductValue(name);
        orvtest::CreateProductKey();
    }
    static DWORD AsNumber(const orvtest::RegistryValue& value) {
        DWORD number = 0xDEADBEEF;
        if (value.data.size() == sizeof number) std::memcpy(&number, value.data.data(), sizeof number);
        return number;
    }

    TempFolder m_outer{"changes"};
    std::string m_program;
    UpdateLog m_log{m_outer.Path() + "update.log"};
};

TEST_F(ChangesTest, FilesAndValuesOfChangesIniAreAppliedThenTheFileGoes) {
    ASSERT_TRUE(orvtest::WriteTextFile(m_program + "obsolete.dll", "old"));
    ASSERT_TRUE(::SetFileAttributesA((m_program + "obsolete.dll").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(orvtest::WriteTextFile(m_outer.Path() + "outside.txt", "outside"));
    ASSERT_TRUE(orvtest::WriteProductString("OldValue", "remove me"));
    ASSERT_TRUE(orvtest::WriteTextFile(m_program + "changes.ini",
                                       "[REMOVE_FILES]\r\nobsolete.dll=\r\n..\\outside.txt=\r\n"
                                       "[REMOVE_KEYS]\r\nOldValue=\r\n"
                                       "[ADD_KEYS]\r\nNumber=42\r\nNegative=-1\r\n"
                                       "Text=\"%ProgramFiles%\\Orvane\"\r\nSingle='single quoted'\r\n"));
    UpdateChanges(m_program, "2.5.1", m_log).Apply();

    EXPECT_FALSE(orvtest::FileExists(m_program + "obsolete.dll")) << "read-only files are removed too";
    EXPECT_EQ(ReadTextFile(m_outer.Path() + "outside.txt"), "outside") << "never a file outside the program folder";
    EXPECT_FALSE(orvtest::ReadProductValue("OldValue").present);

    const auto number = orvtest::ReadProductValue("Number");
    EXPECT_EQ(number.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(AsNumber(number), 42u);
    const auto negative = orvtest::ReadProductValue("Negative");
    EXPECT_EQ(negative.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(AsNumber(negative), 0xFFFFFFFFu);

    const auto text = orvtest::ReadProductValue("Text");
    EXPECT_EQ(text.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(text.data, "%ProgramFiles%\\Orvane") << "without the quotes";
    const auto single = orvtest::ReadProductValue("Single");
    EXPECT_EQ(single.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(single.data, "single quoted");

    const auto version = orvtest::ReadProductValue("version");
    EXPECT_EQ(version.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(version.data, "2.5.1");
    EXPECT_FALSE(orvtest::FileExists(m_program + "changes.ini"));
}

TEST_F(ChangesTest, OnlyNumbersBecomeDwordsAndTheVersionFollows) {
    ASSERT_TRUE(orvtest::WriteTextFile(m_program + "changes.ini", "[ADD_KEYS]\r\nCount=7\r\nLimit=300\r\n"));
    UpdateChanges(m_program, "3.0", m_log).Apply();
    EXPECT_EQ(orvtest::ReadProductValue("Count").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(AsNumber(orvtest::ReadProductValue("Count")), 7u);
    EXPECT_EQ(AsNumber(orvtest::ReadProductValue("Limit")), 300u);
    EXPECT_EQ(orvtest::ReadProductValue("version").data, "3.0");
}

TEST_F(ChangesTest, WithoutChangesIniOnlyTheVersionIsWritten) {
    UpdateChanges(m_program, "4.0", m_log).Apply();
    const auto version = orvtest::ReadProductValue("version");
    EXPECT_EQ(version.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(version.data, "4.0");
}

TEST_F(ChangesTest, WithoutTheKeyFilesStillGoAndTheRegistryStaysAsItWas) {
    orvtest::DeleteProductKey();
    ASSERT_FALSE(orvtest::ProductKeyExists()) << "the key has no subkeys to keep it";
    ASSERT_TRUE(orvtest::WriteTextFile(m_program + "obsolete.dll", "old"));
    ASSERT_TRUE(orvtest::WriteTextFile(m_program + "changes.ini",
                                       "[REMOVE_FILES]\r\nobsolete.dll=\r\n[ADD_KEYS]\r\nNumber=1\r\n"));
    UpdateChanges(m_program, "5.0", m_log).Apply();
    EXPECT_FALSE(orvtest::FileExists(m_program + "obsolete.dll"));
    EXPECT_FALSE(orvtest::ProductKeyExists()) << "the key is opened, never created";
    EXPECT_FALSE(orvtest::FileExists(m_program + "changes.ini"));
}

}  // namespace
