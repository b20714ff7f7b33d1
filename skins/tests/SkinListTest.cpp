// Listing the skins of a root: which folders are skins, the base flag, the
// sort order, the default skin, ClsSkinName's last directory, and choosing a
// skin by that text.
#include "OrvSkinReader.h"
#include "SkinRoot.h"

#include "FindHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string MainSection(const std::string& name, const std::string& base) {
    return "[Main]\nSkinName = " + name + "\n" + (base.empty() ? "" : "BaseSkin = " + base + "\n");
}

std::vector<std::string> Names(const OrvSkinReader& reader) {
    std::vector<std::string> names;
    for (int i = 0; i < reader.GetCount(); ++i) names.push_back(reader.GetSkin(i)->GetName());
    return names;
}

// The skin folders in the order the file system enumerates them.
std::vector<std::string> EnumerationOrder(const std::string& root) {
    std::vector<std::string> folders;
    WIN32_FIND_DATAA entry{};
    FindHandle find(::FindFirstFileA((root + "\\*.*").c_str(), &entry));
    if (!find) return folders;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.')
            folders.push_back(entry.cFileName);
    } while (::FindNextFileA(find.Get(), &entry));
    return folders;
}

class SkinList : public ::testing::Test {
protected:
    SkinRoot m_root;
};

}  // namespace

TEST(SkinName, LastDirectoryKeepsTheTrailingSeparator) {
    EXPECT_STREQ(ClsSkinName("Blue", "C:\\Orvane\\Skins\\Blue\\", false).GetLastDirectory(), "Blue\\");
    EXPECT_STREQ(ClsSkinName("Blue", "C:/Orvane/Skins/Blue/", false).GetLastDirectory(), "Blue/");
    EXPECT_STREQ(ClsSkinName("Mixed", "Z:\\skins/Mixed\\", false).GetLastDirectory(), "Mixed\\");
    EXPECT_STREQ(ClsSkinName("Alone", "Alone\\", false).GetLastDirectory(), "Alone\\");
    // Only one trailing separator is skipped.
    EXPECT_STREQ(ClsSkinName("Odd", "C:\\Skins\\Odd\\\\", false).GetLastDirectory(), "\\");
    EXPECT_STREQ(ClsSkinName("None", "", false).GetLastDirectory(), "");
    EXPECT_STREQ(ClsSkinName(nullptr, nullptr, true).GetName(), "");
    // It is the tail of the stored directory, not a copy.
    ClsSkinName skin("Blue", "C:\\Skins\\Blue\\", true);
    EXPECT_EQ(skin.GetLastDirectory(), skin.GetDirectory() + 9);
    EXPECT_TRUE(skin.GetIsBaseSkin());
}

TEST_F(SkinList, OnlyFoldersWithANamedMainSectionAreSkins) {
    m_root.WriteIni("Plain", MainSection("\"Plain\"", ""));
    m_root.WriteIni("Quoted", MainSection("\"Two Words\"", "1"));
    m_root.WriteIni(".Hidden", MainSection("Hidden", "1"));
    m_root.MakeFolder("NoDescription");
    m_root.WriteIni("NoMain", "[Buttons]\nSkinName = Lost\n");
    m_root.WriteIni("NumberName", MainSection("5", "1"));
    m_root.WriteIni("ColourName", MainSection("#FF0000", ""));
    m_root.WriteIni("LowerKey", "[Main]\nskinname = lower\n");
    m_root.WriteIni("EmptyName", "[Main]\nSkinName =\n");
    m_root.WriteFile("Loose.Ini", WithCrLf(MainSection("Loose", "1")));
    m_root.WriteFile("LfOnly\\Skin.Ini", "[Main]\nSkinName = LfOnly\n");

    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    // An empty SkinName is still a text entry: a skin without a name.
    EXPECT_EQ(Names(reader), (std::vector<std::string>{"Two Words", "", "Plain"}));
    EXPECT_EQ(reader.GetDefaultSkin(), reader.GetSkin(0));
    EXPECT_EQ(reader.GetCurrentSkin(), nullptr);
    EXPECT_EQ(reader.GetSkin(-1), nullptr);
    EXPECT_EQ(reader.GetSkin(3), nullptr);
}

TEST_F(SkinList, BaseFlagIsTheNumberOneOnly) {
    m_root.WriteIni("One", MainSection("One", "1"));
    m_root.WriteIni("Two", MainSection("Two", "2"));
    m_root.WriteIni("Text", MainSection("Text", "\"1\""));
    m_root.WriteIni("Zero", MainSection("Zero", "0"));
    m_root.WriteIni("Plus", MainSection("Plus", "+1"));
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    ASSERT_EQ(reader.GetCount(), 5);
    for (int i = 0; i < reader.GetCount(); ++i) {
        const std::string name = reader.GetSkin(i)->GetName();
        EXPECT_EQ(reader.GetSkin(i)->GetIsBaseSkin(), name == "One" || name == "Plus") << name;
    }
}

TEST_F(SkinList, BaseSkinsFirstThenByNameThenByDirectoryIgnoringCase) {
    m_root.WriteIni("z1", MainSection("zebra", ""));
    m_root.WriteIni("Zeta", MainSection("Zeta", "1"));
    m_root.WriteIni("b2", MainSection("Apple", ""));
    m_root.WriteIni("B1", MainSection("apple", ""));
    m_root.WriteIni("Beta", MainSection("beta", "1"));
    m_root.WriteIni("Mid", MainSection("Mango", ""));
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    ASSERT_EQ(reader.GetCount(), 6);
    EXPECT_EQ(Names(reader), (std::vector<std::string>{"beta", "Zeta", "apple", "Apple", "Mango", "zebra"}));
    // The two "apple" skins differ only by directory: B1 before b2.
    EXPECT_STREQ(reader.GetSkin(2)->GetLastDirectory(), "B1\\");
    EXPECT_STREQ(reader.GetSkin(3)->GetLastDirectory(), "b2\\");
}

TEST_F(SkinList, DefaultIsTheFirstBaseSkinMetWhileScanning) {
    m_root.WriteIni("Alpha", MainSection("Zulu", "1"));
    m_root.WriteIni("Omega", MainSection("Able", "1"));
    m_root.WriteIni("Plain", MainSection("Aardvark", ""));
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    // Both base skins sort to the top by name, whatever the default.
    EXPECT_EQ(Names(reader), (std::vector<std::string>{"Able", "Zulu", "Aardvark"}));
    std::string firstBase;
    for (const std::string& folder : EnumerationOrder(m_root.Path())) {
        if (folder != "Plain") {
            firstBase = folder;
            break;
        }
    }
    ASSERT_NE(reader.GetDefaultSkin(), nullptr);
    EXPECT_EQ(reader.GetDefaultSkin()->GetLastDirectory(), firstBase + "\\");
}

TEST_F(SkinList, DirectoriesAreRootNameAndSeparatorWhateverTheRootEndsWith) {
    m_root.WriteIni("Blue", MainSection("Blue", ""));
    const std::string expected = m_root.Path() + "\\Blue\\";
    for (const std::string& root : {m_root.Path(), m_root.Path() + "\\", m_root.Path() + "/"}) {
        OrvSkinReader reader(root.c_str(), nullptr);
        ASSERT_EQ(reader.GetCount(), 1) << root;
        const std::string directory = reader.GetSkin(0)->GetDirectory();
        if (root.back() == '/')
            EXPECT_EQ(directory, m_root.Path() + "/Blue\\");
        else
            EXPECT_EQ(directory, expected);
        EXPECT_STREQ(reader.GetSkin(0)->GetLastDirectory(), "Blue\\");
    }
}

TEST_F(SkinList, NoRootNoSkins) {
    for (const char* root : {static_cast<const char*>(nullptr), "", "Z:\\no\\such\\folder"}) {
        OrvSkinReader reader(root, nullptr);
        EXPECT_EQ(reader.GetCount(), 0);
        EXPECT_EQ(reader.GetDefaultSkin(), nullptr);
        reader.SetDefaultSkin();
        reader.SetSkinByDirectory("Blue\\");
        reader.ChangeSkin(nullptr);
        EXPECT_EQ(reader.GetCurrentSkin(), nullptr);
        EXPECT_EQ(reader.GetSkinBorderInfo(srButtons), nullptr);
    }
}

TEST_F(SkinList, SetSkinByDirectoryWantsTheTrailingSeparator) {
    m_root.WriteIni("Base", MainSection("Base", "1"));
    m_root.WriteIni("Blue", MainSection("Blue", ""));
    m_root.WriteIni("Green", MainSection("Green", ""));
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    ASSERT_EQ(reader.GetCount(), 3);
    const ClsSkinName* base = reader.GetDefaultSkin();
    ASSERT_NE(base, nullptr);

    reader.SetSkinByDirectory("Blue\\");
    ASSERT_NE(reader.GetCurrentSkin(), nullptr);
    EXPECT_STREQ(reader.GetCurrentSkin()->GetName(), "Blue");
    reader.SetSkinByDirectory("gREEN\\");
    EXPECT_STREQ(reader.GetCurrentSkin()->GetName(), "Green");
    // What GetLastDirectory returns is what matches; anything else falls
    // back to the default skin.
    for (const char* other : {"Blue", "Blue/", "\\Blue\\", "Skins\\Blue\\", "", static_cast<const char*>(nullptr)}) {
        reader.SetSkinByDirectory("Green\\");
        reader.SetSkinByDirectory(other);
        EXPECT_EQ(reader.GetCurrentSkin(), base) << (other ? other : "(null)");
    }
    reader.SetSkinByDirectory(reader.GetSkin(2)->GetLastDirectory());
    EXPECT_EQ(reader.GetCurrentSkin(), reader.GetSkin(2));
}

TEST_F(SkinList, WithoutABaseSkinAnUnknownDirectoryAppliesNothing) {
    m_root.WriteIni("Blue", MainSection("Blue", ""));
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    EXPECT_EQ(reader.GetDefaultSkin(), nullptr);
    reader.SetSkinByDirectory("Red\\");
    EXPECT_EQ(reader.GetCurrentSkin(), nullptr);
    EXPECT_EQ(reader.GetSkinBorderInfo(srButtons), nullptr);
    reader.SetSkinByDirectory("Blue\\");
    EXPECT_EQ(reader.GetCurrentSkin(), reader.GetSkin(0));
    // A failed choice later keeps the skin applied before.
    reader.SetSkinByDirectory("Red\\");
    EXPECT_EQ(reader.GetCurrentSkin(), reader.GetSkin(0));
}
