// ClsFont (lazy handles, descriptions read back), the reference-counted skin
// records and their registry CSkin (also from several threads at once), the
// layouts other deliverables rely on, and the system version facts.
#include "CSkin.h"
#include "ClsBitMap.h"
#include "ClsFont.h"
#include "ClsSystemVersion.h"
#include "NodeSkinParam.h"
#include "S_STD_SKININFO.h"
#include "SkinBorderInfo.h"
#include "SkinnedMessages.h"

#include "OrvMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

namespace {
LOGFONTA DescriptionOf(HFONT font) {
    LOGFONTA description{};
    ::GetObjectA(font, sizeof description, &description);
    return description;
}

// A skin record that counts its destructions.
class CountedRecord : public S_STD_SKININFO {
public:
    explicit CountedRecord(std::atomic<int>& destroyed) : m_destroyed(destroyed) {}
    ~CountedRecord() override { ++m_destroyed; }

private:
    std::atomic<int>& m_destroyed;
};

// The registry is process-wide: every test starts and ends it empty.
class SkinRegistry : public ::testing::Test {
protected:
    void SetUp() override { CSkin::GetInstance()->Reset(); }
    void TearDown() override { CSkin::GetInstance()->Reset(); }
    CSkin& skin = *CSkin::GetInstance();
};
}  // namespace

TEST(Font, DefaultsAndALazyHandleDroppedByEveryChangeOfTheDescription) {
    ClsFont font;
    EXPECT_STREQ(font.GetName(), "Arial");
    EXPECT_EQ(font.GetHeight(), 14);
    EXPECT_EQ(font.GetStyle(), 0u);
    EXPECT_EQ(font.GetColor(), 0u);
    EXPECT_FALSE(font.GetIsValid()) << "no handle before it is asked for";

    HFONT handle = font.GetHandle();
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(font.GetIsValid());
    EXPECT_EQ(font.GetHandle(), handle) << "made once";
    LOGFONTA description = DescriptionOf(handle);
    EXPECT_EQ(description.lfHeight, 14);
    EXPECT_EQ(description.lfWeight, FW_NORMAL);
    EXPECT_STREQ(description.lfFaceName, "Arial");
    EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);

    font.SetHeight(-20);
    EXPECT_FALSE(font.GetIsValid()) << "SetHeight drops the handle";
    EXPECT_EQ(::GetObjectType(handle), 0u) << "and deletes it";
    font.SetBold(true);
    font.SetItalic(true);
    font.SetUnderline(true);
    font.SetStrikeOut(true);
    EXPECT_EQ(font.GetStyle(), fsBold | fsItalic | fsUnderline | fsStrikeOut);
    font.SetItalic(false);
    EXPECT_EQ(font.GetStyle(), fsBold | fsUnderline | fsStrikeOut);
    font.SetName("Times New Roman");
    description = DescriptionOf(static_cast<HFONT>(font));
    EXPECT_EQ(description.lfHeight, -20) << "the height goes to the system unchanged";
    EXPECT_EQ(description.lfWeight, FW_BOLD);
    EXPECT_FALSE(description.lfItalic);
    EXPECT_TRUE(description.lfUnderline);
    EXPECT_TRUE(description.lfStrikeOut);
    EXPECT_STREQ(description.lfFaceName, "Times New Roman");

    font.SetColor(RGB(1, 2, 3));
    EXPECT_TRUE(font.GetIsValid()) << "the colour is no part of the handle";
    EXPECT_EQ(static_cast<uint32_t>(font), RGB(1, 2, 3));
    font.SetStyle(0);
    EXPECT_FALSE(font.GetIsValid());
    font.SetName(nullptr);
    EXPECT_STREQ(font.GetName(), "");
}

TEST(Font, SetHandleAdoptsADescriptionOrResetsToWhiteArial) {
    ClsFont font;
    font.SetColor(RGB(9, 9, 9));
    LOGFONTA wanted{};
    wanted.lfHeight = -17;
    wanted.lfWeight = 800;
    wanted.lfItalic = TRUE;
    lstrcpyA(wanted.lfFaceName, "Times New Roman");
    HFONT given = ::CreateFontIndirectA(&wanted);
    font.SetHandle(given);
    EXPECT_EQ(font.GetHandle(), given) << "the handle is adopted";
    EXPECT_EQ(font.GetHeight(), -17);
    EXPECT_STREQ(font.GetName(), "Times New Roman");
    EXPECT_EQ(font.GetStyle(), fsBold | fsItalic) << "weight 800 counts as bold";
    EXPECT_EQ(font.GetColor(), RGB(9, 9, 9));

    font.SetHandle(nullptr);
    EXPECT_EQ(::GetObjectType(given), 0u) << "the adopted handle is deleted";
    EXPECT_FALSE(font.GetIsValid());
    EXPECT_STREQ(font.GetName(), "Arial");
    EXPECT_EQ(font.GetHeight(), 14);
    EXPECT_EQ(font.GetColor(), RGB(255, 255, 255));
    EXPECT_EQ(font.GetStyle(), 0u);

    HBRUSH notAFont = ::CreateSolidBrush(0);
    font.SetColor(0);
    font.SetHandle(reinterpret_cast<HFONT>(notAFont));
    EXPECT_FALSE(font.GetIsValid()) << "a brush is not adopted as a font";
    EXPECT_EQ(font.GetColor(), RGB(255, 255, 255));
    ::DeleteObject(notAFont);
}

TEST(Font, CopiesTakeTheDescriptionNeverTheHandle) {
    ClsFont original;
    original.SetName("Times New Roman");
    original.SetHeight(22);
    original.SetBold(true);
    original.SetColor(RGB(10, 20, 30));
    HFONT handle = original.GetHandle();

    ClsFont copy(original);
    EXPECT_FALSE(copy.GetIsValid());
    EXPECT_STREQ(copy.GetName(), "Times New Roman");
    EXPECT_EQ(copy.GetHeight(), 22);
    EXPECT_TRUE(copy.GetBold());
    EXPECT_EQ(copy.GetColor(), RGB(10, 20, 30));
    EXPECT_NE(copy.GetHandle(), handle);

    ClsFont assigned;
    HFONT old = assigned.GetHandle();
    assigned = original;
    EXPECT_FALSE(assigned.GetIsValid()) << "the old handle no longer matches";
    EXPECT_EQ(::GetObjectType(old), 0u);
    EXPECT_EQ(assigned.GetHeight(), 22);
    assigned = assigned;
    EXPECT_EQ(assigned.GetHeight(), 22);
    EXPECT_EQ(original.GetHandle(), handle) << "the original keeps its own";
}

TEST_F(SkinRegistry, ARecordUnderFourNamesLivesUntilEveryNameAndHolderLetsGo) {
    std::atomic<int> destroyed{0};
    auto* record = new CountedRecord(destroyed);
    EXPECT_EQ(record->GetRef(), 0);
    const char* names[] = {"MainFrame\\button", "ChatDialog\\button", "dialog\\button", "msbdialog\\button"};
    for (const char* name : names) EXPECT_TRUE(skin.AddComponent(name, record));
    EXPECT_EQ(record->GetRef(), 4);
    EXPECT_EQ(skin.GetCount(), 4);

    CSkinRecordRef<S_STD_SKININFO> held(skin.GetComponent("dialog\\button"));
    ASSERT_EQ(held.Get(), record);
    EXPECT_EQ(record->GetRef(), 5) << "GetComponent adds the caller's reference";

    EXPECT_TRUE(skin.DeleteComponent("MainFrame\\button"));
    EXPECT_FALSE(skin.DeleteComponent("MainFrame\\button")) << "already gone";
    auto* other = new CountedRecord(destroyed);
    EXPECT_TRUE(skin.AddComponent("ChatDialog\\button", other)) << "replaced by another record";
    EXPECT_TRUE(skin.DeleteComponent("dialog\\button"));
    EXPECT_TRUE(skin.DeleteComponent("msbdialog\\button"));
    EXPECT_EQ(destroyed, 0) << "the holder still has it";
    EXPECT_EQ(record->GetRef(), 1);
    held.Reset();
    EXPECT_EQ(destroyed, 1) << "gone with the last reference";

    EXPECT_EQ(skin.GetCount(), 1);
    skin.Reset();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(skin.GetCount(), 0);
}

TEST_F(SkinRegistry, AddingUnderANameTwiceKeepsTheSecondAndNamesMatchExactly) {
    std::atomic<int> destroyed{0};
    auto* first = new CountedRecord(destroyed);
    auto* second = new CountedRecord(destroyed);
    skin.AddComponent("MainFrame\\caption", first);
    skin.AddComponent("MainFrame\\caption", second);
    EXPECT_EQ(destroyed, 1) << "the first is released";
    EXPECT_EQ(skin.GetCount(), 1);
    {
        CSkinRecordRef<S_STD_SKININFO> found(skin.GetComponent("MainFrame\\caption"));
        EXPECT_EQ(found.Get(), second);
    }
    EXPECT_EQ(skin.GetComponent("mainframe\\caption"), nullptr) << "names compare exactly";
    EXPECT_EQ(skin.GetComponent("MainFrame\\caption "), nullptr);

    // Adding the stored record again under its own name keeps it alive.
    skin.AddComponent("MainFrame\\caption", second);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(second->GetRef(), 1);

    EXPECT_FALSE(skin.AddComponent(nullptr, second));
    EXPECT_FALSE(skin.AddComponent("x", nullptr));
    EXPECT_EQ(skin.GetComponent(nullptr), nullptr);
    EXPECT_FALSE(skin.DeleteComponent(nullptr));
    EXPECT_FALSE(skin.DeleteComponent("nothing"));
}

TEST_F(SkinRegistry, ThreadsAddingLookingUpAndReleasingNeverLoseOrDoubleFreeARecord) {
    std::atomic<int> destroyed{0};
    std::atomic<int> made{0};
    const int kThreads = 4, kRounds = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                const std::string name = "shared" + std::to_string(i % 7);
                if ((i + t) % 3 == 0) {
                    skin.AddComponent(name.c_str(), new CountedRecord(destroyed));
                    ++made;
                }
                if (S_STD_SKININFO* record = skin.GetComponent(name.c_str())) {
                    record->AddRef();
                    record->Release();
                    record->Release();
                }
                if (i % 11 == 0) skin.DeleteComponent(name.c_str());
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    skin.Reset();
    EXPECT_EQ(destroyed.load(), made.load()) << "every record destroyed exactly once";
}

TEST(SkinRecord, ReferenceCountStartsAtZeroAndTheLastReleaseDestroys) {
    std::atomic<int> destroyed{0};
    auto* record = new CountedRecord(destroyed);
    EXPECT_EQ(record->AddRef(), 1);
    EXPECT_EQ(record->AddRef(), 2);
    EXPECT_EQ(record->Release(), 1);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(record->Release(), 0);
    EXPECT_EQ(destroyed, 1);
}

TEST(SkinRecordLayout, BorderRecordsShareTheirGeometryAndOwnTheirImagesThroughTheirHolders) {
    ControlBorderInfoPtr frame = NewControlBorderInfo();
    EXPECT_EQ(frame->LeftBorderWidth, 0);
    EXPECT_EQ(frame->ContentHeight, 0);
    EXPECT_EQ(frame->BgColor, 0u);
    EXPECT_EQ(frame->MainImage, nullptr);
    frame->MainImage = new ClsBitMap;
    ASSERT_TRUE(frame->MainImage->AllocateBitMap(2, 2, pf32bit));
    const HGDIOBJ image = frame->MainImage->GetHandle();
    // A plain copy borrows the image (the caption record keeps such a copy).
    ControlBorderInfo_t copy = *frame;
    EXPECT_EQ(copy.MainImage, frame->MainImage);
    frame.reset();
    EXPECT_EQ(::GetObjectType(image), 0u) << "the holder deleted the image with the record";

    SkinBorderInfoPtr cells = NewSkinBorderInfo();
    cells->TextFont = "Arial";
    EXPECT_EQ(cells->Reserved1, 0);
    EXPECT_EQ(cells->TextSize, 0);
    SkinBorderInfo_t borrowed = *cells;
    EXPECT_STREQ(borrowed.TextFont, "Arial");

    // Both start with the same 28 numbers.
    EXPECT_EQ(sizeof(BorderGeometry_t), 28 * sizeof(int32_t));
    const BorderGeometry_t& shared = *cells;
    EXPECT_EQ(reinterpret_cast<const void*>(&shared), reinterpret_cast<const void*>(cells.get()));
    // Beyond the geometry: 32-bit words and pointers, whatever the width.
    EXPECT_EQ(sizeof(SkinBorderInfo_t), 112 + 7 * 4 + 2 * sizeof(void*) + (sizeof(void*) == 8 ? 4 : 0));
    EXPECT_EQ(sizeof(_NODESKINPARAM), 6 * 4 + sizeof(void*));
    EXPECT_EQ(offsetof(WMMessage_t, Msg), 0u);
}

TEST(SystemVersion, TheSystemAndItsLibrariesReportPackedVersions) {
    ClsSystemVersion* version = ClsSystemVersion::GetInstance();
    ASSERT_EQ(version, ClsSystemVersion::GetInstance()) << "one instance";
    EXPECT_GT(version->GetWindows_Version(), 0u);
    EXPECT_EQ(version->GetWindows_Version(),
              PACKVERSION(version->GetVersionInfo().dwMajorVersion, version->GetVersionInfo().dwMinorVersion));
    EXPECT_TRUE(version->GetIsWindowsNT());
    EXPECT_GE(version->GetComctl32_Version(), PACKVERSION(5, 0));
    EXPECT_GT(version->GetShell32_Version(), 0u);
    EXPECT_GT(version->GetShlwapi_Version(), 0u);
    EXPECT_EQ(version->GetIsBalloonToolTips(), version->GetComctl32_Version() > 327759u);
    EXPECT_TRUE(version->GetIsHandCursor()) << "NT 5.0 and later";
    EXPECT_EQ(ClsSystemVersion::GetDllVersion("no-such-library.dll"), 0u);
    EXPECT_EQ(ClsSystemVersion::GetDllVersion("kernel32.dll"), 0u) << "no version query";
    EXPECT_EQ(ClsSystemVersion::GetDllVersion(nullptr), 0u);
    const DWORD before = version->GetComctl32_Version();
    version->ReTest();
    EXPECT_EQ(version->GetComctl32_Version(), before);
}

TEST(RegisteredMessages, SkinChangedIsRegisteredUnderItsNameWhenTheLibraryLoads) {
    EXPECT_NE(CSkin::WM_SKIN_CHANGED, 0u);
    EXPECT_EQ(CSkin::WM_SKIN_CHANGED, ::RegisterWindowMessageA("wmSkinChanged"));
    EXPECT_EQ(CSkin::WM_SKIN_CHANGED, ::RegisterWindowMessageA(ORV_MSGNAME_SKIN_CHANGED));
}
