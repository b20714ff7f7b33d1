// Sound bases written by the test: the description format, folders and
// files that are missing or damaged, names that try to leave the theme's
// folder, and themes changing while the reader is in use. Nothing may crash
// the reader, and no answer may name a file outside its theme's folder.
#include "OrvSoundReader.h"
#include "SoundBaseFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>

namespace {

bool StartsWithNoCase(const CString& text, const CString& prefix) {
    return text.GetLength() >= prefix.GetLength() && text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

bool IsFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What every answer of every theme must keep to: an existing file directly
// in the theme's folder.
void ExpectOnlyFilesInsideTheirThemes(const OrvSoundReader& reader) {
    for (int t = 0; t < reader.GetThemaCount(); ++t) {
        const OrvSoundThema* thema = reader.GetThemaByDir(reader.GetThemaDir(t));
        ASSERT_NE(thema, nullptr);
        for (int e = 0; e < thema->GetEventCount(); ++e) {
            const CString file = thema->GetSoundFile(thema->GetEventName(e));
            ASSERT_TRUE(StartsWithNoCase(file, thema->GetFolder())) << file;
            const CString name = file.Mid(thema->GetFolder().GetLength());
            EXPECT_EQ(name.FindOneOf("\\/:*?\"<>|"), -1) << file;
            EXPECT_NE(name[0], '.') << file;
            EXPECT_TRUE(IsFile(file)) << file;
        }
    }
}

std::string RandomBytes(std::mt19937& random, size_t count) {
    std::string bytes(count, '\0');
    std::uniform_int_distribution<int> byte(0, 255);
    for (char& ch : bytes) ch = static_cast<char>(byte(random));
    return bytes;
}

class ThemeFolder : public ::testing::Test {
protected:
    SoundBaseFolder m_base;
};

using DescriptionFormat = ThemeFolder;
using MissingFiles = ThemeFolder;
using DamagedDescriptions = ThemeFolder;
using HostileNames = ThemeFolder;
using ChangingThemes = ThemeFolder;

}  // namespace

TEST_F(DescriptionFormat, SectionsCommentsLineEndsAndCase) {
    m_base.MakeThema("Soft",
                     "\xEF\xBB\xBF"
                     "; a comment\r\n"
                     "Before=Sections.wav\r\n"
                     "  [ theme ]  \n"
                     "# another comment\r"
                     "  name =  Soft and Round  \r\n"
                     "Name=Second Name\r\n"
                     "Other=ignored\r\n"
                     "[EVENTS]\r\n"
                     "PageSelect = Page.wav\r\n"
                     "pageselect=Second.wav\r\n"
                     "Action.Select-2=Select.wav\n"
                     "[Later]\r\n"
                     "ActionSqueeze=Squeeze.wav\r\n"
                     "[Events]\r\n"
                     "ChatInvitation=Page.wav",
                     {"Page.wav", "Second.wav", "Select.wav", "Squeeze.wav", "Sections.wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    const OrvSoundThema* thema = reader.GetThemaByDir("Soft");
    ASSERT_NE(thema, nullptr);
    EXPECT_STREQ(thema->GetName(), "Soft and Round");
    ASSERT_EQ(thema->GetEventCount(), 3);
    EXPECT_STREQ(thema->GetEventName(0), "PageSelect");
    EXPECT_STREQ(thema->GetEventName(1), "Action.Select-2");
    EXPECT_STREQ(thema->GetEventName(2), "ChatInvitation");
    EXPECT_STREQ(thema->GetEventName(3), "");
    EXPECT_STREQ(thema->GetEventName(-1), "");
    const CString folder = CString(m_base.Path().c_str()) + "Soft\\";
    EXPECT_EQ(reader.GetSoundFile("PageSelect"), folder + "Page.wav");
    EXPECT_EQ(reader.GetSoundFile("PAGESELECT"), folder + "Page.wav");
    EXPECT_EQ(reader.GetSoundFile("action.select-2"), folder + "Select.wav");
    EXPECT_EQ(reader.GetSoundFile("ChatInvitation"), folder + "Page.wav");
    EXPECT_STREQ(reader.GetSoundFile("ActionSqueeze"), "");
    EXPECT_STREQ(reader.GetSoundFile("Before"), "");
}

TEST_F(DescriptionFormat, WithoutANameTheDirectoryIsShown) {
    m_base.MakeThema("Plain", "[Theme]\r\n[Events]\r\nPageSelect=a.wav\r\n", {"a.wav"});
    m_base.MakeThema("Blank", "[Theme]\r\nName=   \r\n", {});
    m_base.MakeThema("Long", "[Theme]\r\nName=" + std::string(65, 'n') + "\r\n", {});
    m_base.MakeThema("Fits", "[Theme]\r\nName=" + std::string(64, 'n') + "\r\n", {});
    OrvSoundReader reader(m_base.Path().c_str());
    EXPECT_STREQ(reader.GetThemaByDir("Plain")->GetName(), "Plain");
    EXPECT_STREQ(reader.GetThemaByDir("Blank")->GetName(), "Blank");
    EXPECT_STREQ(reader.GetThemaByDir("Long")->GetName(), "Long");
    EXPECT_STREQ(reader.GetThemaByDir("Fits")->GetName(), std::string(64, 'n').c_str());
}

TEST_F(DescriptionFormat, ThemesAreOrderedIgnoringCaseAndTheFirstIsCurrent) {
    for (const char* dir : {"gamma", "Beta", "alpha", "Delta"})
        m_base.MakeThema(dir, Description(dir, {"PageSelect=p.wav"}), {"p.wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    ASSERT_EQ(reader.GetThemaCount(), 4);
    EXPECT_STREQ(reader.GetThemaDir(0), "alpha");
    EXPECT_STREQ(reader.GetThemaDir(1), "Beta");
    EXPECT_STREQ(reader.GetThemaDir(2), "Delta");
    EXPECT_STREQ(reader.GetThemaDir(3), "gamma");
    EXPECT_STREQ(reader.GetThemaDir(4), "");
    EXPECT_STREQ(reader.GetThemaDir(-1), "");
    EXPECT_STREQ(reader.GetSoundDir(), "alpha");
    EXPECT_EQ(reader.GetSoundFile("PageSelect"), CString(m_base.Path().c_str()) + "alpha\\p.wav");
}

TEST_F(DescriptionFormat, TheBaseMayEndWithASeparatorOrNot) {
    m_base.MakeThema("Soft", Description("Soft", {"PageSelect=p.wav"}), {"p.wav"});
    std::string bare = m_base.Path();
    bare.pop_back();
    std::string forward = m_base.Path();
    for (char& ch : forward)
        if (ch == '\\') ch = '/';
    for (const std::string& base : {bare, forward, m_base.Path()}) {
        OrvSoundReader reader(base.c_str());
        ASSERT_EQ(reader.GetThemaCount(), 1) << base;
        EXPECT_TRUE(IsFile(reader.GetSoundFile("PageSelect"))) << base;
        // The full path of the theme folder, spelled like the base.
        EXPECT_TRUE(reader.SetSoundDir((reader.GetSoundBase() + "Soft").GetString())) << base;
        EXPECT_TRUE(reader.SetSoundDir((m_base.Path() + "soft\\").c_str())) << base;
    }
}

TEST_F(MissingFiles, NoBaseMeansNoThemesAndNoSounds) {
    SoundBaseFolder empty;
    const std::string missing = m_base.Path() + "no\\such\\folder\\";
    for (const char* base : {static_cast<const char*>(nullptr), "", missing.c_str(), empty.Path().c_str()}) {
        OrvSoundReader reader(base);
        EXPECT_EQ(reader.GetThemaCount(), 0);
        EXPECT_EQ(reader.ReadThemas(), 0);
        EXPECT_STREQ(reader.GetSoundDir(), "");
        EXPECT_STREQ(reader.GetThemaDir(0), "");
        EXPECT_STREQ(reader.GetSoundFile("PageSelect"), "");
        EXPECT_STREQ(reader.GetSoundThema("PageSelect"), "");
        EXPECT_FALSE(reader.SetSoundDir("Calm"));
        EXPECT_FALSE(reader.SetSoundDir(""));
        EXPECT_EQ(reader.GetThemaByDir("Calm"), nullptr);
    }
}

// Without a base the reader must not fall back to the current folder,
// where a theme might happen to lie.
TEST_F(MissingFiles, AnEmptyBaseDoesNotReadTheCurrentFolder) {
    m_base.MakeThema("Here", Description("Here", {"PageSelect=p.wav"}), {"p.wav"});
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(m_base.Path().c_str()));
    OrvSoundReader reader("");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(reader.GetThemaCount(), 0);
}

TEST_F(MissingFiles, AFolderWithoutADescriptionIsNoTheme) {
    m_base.MakeFolder("Empty");
    m_base.WriteWave("Wavy\\p.wav");
    m_base.WriteFile("Misnamed\\Themes.txt", Description("Misnamed", {}));
    m_base.WriteFile("Loose.txt", Description("Loose", {}));
    m_base.MakeFolder("Folder\\Theme.txt");  // a folder where the description should be
    m_base.MakeThema("Real", Description("Real", {}));
    OrvSoundReader reader(m_base.Path().c_str());
    ASSERT_EQ(reader.GetThemaCount(), 1);
    EXPECT_STREQ(reader.GetThemaDir(0), "Real");
    for (const char* dir : {"Empty", "Wavy", "Misnamed", "Loose.txt", "Loose", "Folder"})
        EXPECT_EQ(reader.GetThemaByDir(dir), nullptr) << dir;
}

TEST_F(MissingFiles, AnEventWhoseWaveIsMissingIsLeftOut) {
    m_base.MakeThema("Soft",
                     Description("Soft", {"PageSelect=Page.wav", "ActionSqueeze=Gone.wav",
                                          "ActionSelect=Folder.wav", "ChatInvitation=Invite.wav"}),
                     {"Page.wav", "Invite.wav"});
    m_base.MakeFolder("Soft\\Folder.wav");
    OrvSoundReader reader(m_base.Path().c_str());
    const OrvSoundThema* thema = reader.GetThemaByDir("Soft");
    ASSERT_NE(thema, nullptr);
    ASSERT_EQ(thema->GetEventCount(), 2);
    EXPECT_STREQ(thema->GetEventName(0), "PageSelect");
    EXPECT_STREQ(thema->GetEventName(1), "ChatInvitation");
    EXPECT_STREQ(reader.GetSoundFile("ActionSqueeze"), "");
    EXPECT_STREQ(reader.GetSoundFile("ActionSelect"), "");
    ExpectOnlyFilesInsideTheirThemes(reader);
}

TEST_F(MissingFiles, AThemeWithoutEventsIsListedAndSilent) {
    m_base.MakeThema("Silent", "[Theme]\r\nName=Silence\r\n");
    OrvSoundReader reader(m_base.Path().c_str());
    ASSERT_NE(reader.GetThemaByDir("Silent"), nullptr);
    EXPECT_EQ(reader.GetThemaByDir("Silent")->GetEventCount(), 0);
    EXPECT_STREQ(reader.GetSoundDir(), "Silent");
    EXPECT_STREQ(reader.GetSoundFile("PageSelect"), "");
}

TEST_F(DamagedDescriptions, EmptyBinaryAndHeaderlessFilesAreNoThemes) {
    std::mt19937 random(7);
    m_base.MakeThema("Empty", "");
    m_base.MakeThema("Binary", RandomBytes(random, 4096));
    m_base.MakeThema("Headless", "Name=Headless\r\n[Events]\r\nPageSelect=p.wav\r\n", {"p.wav"});
    m_base.MakeThema("Broken", "[Theme\r\nName=Broken\r\n", {});
    m_base.MakeThema("Nul", std::string("[The\0me]\r\n", 10), {});
    OrvSoundReader reader(m_base.Path().c_str());
    EXPECT_EQ(reader.GetThemaCount(), 0);
    EXPECT_STREQ(reader.GetSoundFile("PageSelect"), "");
}

TEST_F(DamagedDescriptions, BadLinesAreDroppedOneByOne) {
    m_base.MakeThema("Soft",
                     Description("Soft", {"NoEquals.wav", "=Nameless.wav", "PageSelect=", "Page Select=p.wav",
                                          "Page/Select=p.wav", std::string("Control\x07=p.wav").c_str(),
                                          "ActionSelect=s\x01.wav", "ActionSqueeze=q.wav"}),
                     {"p.wav", "q.wav", "Nameless.wav", "NoEquals.wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    const OrvSoundThema* thema = reader.GetThemaByDir("Soft");
    ASSERT_NE(thema, nullptr);
    ASSERT_EQ(thema->GetEventCount(), 1);
    EXPECT_STREQ(thema->GetEventName(0), "ActionSqueeze");
}

TEST_F(DamagedDescriptions, LongNamesAndTooManyEventsAreCut) {
    std::string description = "[Theme]\r\nName=Many\r\n[Events]\r\n";
    description += std::string(65, 'E') + "=p.wav\r\n";
    description += std::string(64, 'F') + "=p.wav\r\n";
    description += "LongFile=" + std::string(125, 'l') + ".wav\r\n";
    description += "FitsFile=" + std::string(124, 'f') + ".wav\r\n";
    for (int i = 0; i < 100; ++i) description += "Event" + std::to_string(i) + "=p.wav\r\n";
    m_base.MakeThema("Many", description, {"p.wav"});
    m_base.WriteWave("Many\\" + std::string(124, 'f') + ".wav");
    OrvSoundReader reader(m_base.Path().c_str());
    const OrvSoundThema* thema = reader.GetThemaByDir("Many");
    ASSERT_NE(thema, nullptr);
    EXPECT_EQ(thema->GetEventCount(), 64);
    EXPECT_STREQ(thema->GetEventName(0), std::string(64, 'F').c_str());
    EXPECT_STREQ(thema->GetEventName(1), "FitsFile");
    EXPECT_STREQ(thema->GetEventName(63), "Event61");
    EXPECT_STREQ(reader.GetSoundFile("LongFile"), "");
    EXPECT_STREQ(reader.GetSoundFile("Event62"), "");
}

TEST_F(DamagedDescriptions, OnlyTheStartOfAHugeDescriptionIsRead) {
    // The read ends right after "ActionSelect=p.wav" of a line that goes on
    // with "|": that cut line is dropped, not taken as a shorter file name.
    // Whatever lies further on is not read at all.
    const size_t limit = 64 * 1024;
    const std::string head = "[Theme]\r\nName=Huge\r\n[Events]\r\nPageSelect=p.wav\r\n";
    const std::string cut = "ActionSelect=p.wav";
    std::string description = head + ";" + std::string(limit - head.size() - 3 - cut.size(), 'x') + "\r\n";
    description += cut + "|\r\n";
    ASSERT_EQ(description.size(), limit + 3);
    description += std::string(200000, ';') + "\r\nActionSqueeze=p.wav\r\n";
    m_base.MakeThema("Huge", description, {"p.wav"});
    // The same description ending at the limit is read whole.
    m_base.MakeThema("Fits", description.substr(0, limit), {"p.wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    const OrvSoundThema* huge = reader.GetThemaByDir("Huge");
    ASSERT_NE(huge, nullptr);
    ASSERT_EQ(huge->GetEventCount(), 1);
    EXPECT_STREQ(huge->GetEventName(0), "PageSelect");
    const OrvSoundThema* fits = reader.GetThemaByDir("Fits");
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->GetEventCount(), 2);
}

// Random damage to a good description: whatever survives keeps to the rules.
TEST_F(DamagedDescriptions, RandomDamageNeverLeavesTheFolder) {
    const std::string good = Description("Good", {"PageSelect=Page.wav", "ActionSqueeze=..\\Squeeze.wav",
                                                  "ActionSelect=Select.wav", "ChatInvitation=C:Invite.wav"});
    std::mt19937 random(2024);
    for (int round = 0; round < 60; ++round) {
        std::string damaged = good;
        std::uniform_int_distribution<size_t> position(0, damaged.size() - 1);
        const int changes = 1 + round % 6;
        for (int i = 0; i < changes; ++i) {
            const char replacements[] = {'\\', '/', '.', ':', '=', '\0', '\n', '[', ']', '*', char(0xFF)};
            damaged[position(random)] = replacements[random() % sizeof replacements];
        }
        const std::string dir = "Round" + std::to_string(round);
        m_base.MakeThema(dir, damaged, {"Page.wav", "Select.wav", "Invite.wav"});
        m_base.WriteWave(dir + "\\..\\Squeeze.wav");
    }
    OrvSoundReader reader(m_base.Path().c_str());
    EXPECT_GT(reader.GetThemaCount(), 0);
    ExpectOnlyFilesInsideTheirThemes(reader);
}

TEST_F(HostileNames, FileNamesThatLeaveTheFolderAreRefused) {
    // Files that the hostile names would reach, so only the rules keep them out.
    m_base.WriteWave("Outside.wav");
    m_base.WriteWave("Soft\\Sub\\Inner.wav");
    const std::string absolute = m_base.Path() + "Outside.wav";
    const std::string description = Description(
        "Soft", {"Up=..\\Outside.wav", "UpSlash=../Outside.wav", "Deep=..\\..\\..\\..\\Windows\\win.ini.wav",
                 ("Absolute=" + absolute).c_str(), "Root=\\Outside.wav", "Drive=C:Outside.wav",
                 "Unc=\\\\server\\share\\x.wav", "Sub=Sub\\Inner.wav", "SubSlash=Sub/Inner.wav",
                 "Stream=Good.wav:hidden.wav", "Console=CON.wav", "Null=nul.wav", "Port=com1.wav",
                 "Printer=LPT9 .wav", "Aux=aux.Good.wav", "Star=*.wav", "Question=?ood.wav", "Dot=.wav",
                 "DotDot=..wav", "Hidden=.Good.wav", "Quote=\"Good.wav\"", "Pipe=Good|x.wav",
                 "NotWave=Good.txt", "TrailingDot=Good.wav.", "Good=Good.wav"});
    m_base.MakeThema("Soft", description, {"Good.wav", "Good.txt", ".Good.wav", "..wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    const OrvSoundThema* thema = reader.GetThemaByDir("Soft");
    ASSERT_NE(thema, nullptr);
    ASSERT_EQ(thema->GetEventCount(), 1);
    EXPECT_STREQ(thema->GetEventName(0), "Good");
    EXPECT_EQ(reader.GetSoundFile("Good"), thema->GetFolder() + "Good.wav");
    for (const char* event : {"Up", "Deep", "Absolute", "Unc", "Sub", "Stream", "Console", "Null", "Aux"})
        EXPECT_STREQ(reader.GetSoundFile(event), "") << event;
    ExpectOnlyFilesInsideTheirThemes(reader);
}

TEST_F(HostileNames, DirectoriesOutsideTheBaseAreNoThemes) {
    m_base.MakeThema("Calm", Description("Calm", {"PageSelect=p.wav"}), {"p.wav"});
    m_base.MakeThema("Crisp", Description("Crisp", {"PageSelect=p.wav"}), {"p.wav"});
    // Another base beside this one, with a theme of the same name.
    SoundBaseFolder other;
    other.MakeThema("Calm", Description("Other", {"PageSelect=p.wav"}), {"p.wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    ASSERT_TRUE(reader.SetSoundDir("Crisp"));
    const std::string base = m_base.Path();
    for (const std::string& dir :
         {std::string(".."), std::string("."), std::string(""), std::string("\\"), std::string("\\Calm"),
          std::string("Crisp\\..\\Calm"), std::string("..\\Calm"), base + "Crisp\\..\\Calm", base + "x\\Calm",
          base + "..\\Calm", other.Path() + "Calm", std::string("C:Calm"), std::string("Calm*"),
          std::string("Cal?"), base}) {
        EXPECT_FALSE(reader.SetSoundDir(dir.c_str())) << dir;
        EXPECT_EQ(reader.GetThemaByDir(dir.c_str()), nullptr) << dir;
        EXPECT_STREQ(reader.GetSoundDir(), "Crisp") << dir;
    }
    EXPECT_FALSE(reader.SetSoundDir(nullptr));
    EXPECT_EQ(reader.GetThemaByDir(nullptr), nullptr);
    EXPECT_TRUE(reader.SetSoundDir("Calm\\"));
    EXPECT_TRUE(reader.SetSoundDir((base + "CRISP").c_str()));
    EXPECT_STREQ(reader.GetSoundDir(), "Crisp");
}

TEST_F(ChangingThemes, ReadingAgainKeepsTheCurrentThemeWhileItIsInstalled) {
    m_base.MakeThema("Alpha", Description("Alpha", {"PageSelect=p.wav"}), {"p.wav"});
    m_base.MakeThema("Beta", Description("Beta", {"PageSelect=p.wav"}), {"p.wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    ASSERT_TRUE(reader.SetSoundDir("Beta"));

    m_base.MakeThema("Aardvark", Description("Aardvark", {"PageSelect=p.wav"}), {"p.wav"});
    EXPECT_EQ(reader.ReadThemas(), 3);
    EXPECT_STREQ(reader.GetThemaDir(0), "Aardvark");
    EXPECT_STREQ(reader.GetSoundDir(), "Beta");

    // The current theme gone: the first theme takes its place.
    m_base.Remove("Beta");
    EXPECT_EQ(reader.ReadThemas(), 2);
    EXPECT_STREQ(reader.GetSoundDir(), "Aardvark");
    EXPECT_TRUE(StartsWithNoCase(reader.GetSoundFile("PageSelect"), reader.GetThemaByDir("Aardvark")->GetFolder()));

    // A wave removed: its event goes at the next reading.
    m_base.Remove("Aardvark\\p.wav");
    reader.ReadThemas();
    EXPECT_STREQ(reader.GetSoundFile("PageSelect"), "");

    m_base.Remove("Aardvark");
    m_base.Remove("Alpha");
    EXPECT_EQ(reader.ReadThemas(), 0);
    EXPECT_STREQ(reader.GetSoundDir(), "");
    EXPECT_STREQ(reader.GetSoundFile("PageSelect"), "");
}

// The tree may ask for sounds on its own thread while the sounds dialog
// switches themes and the themes are read again: every answer is the file
// of one theme or the other, never anything else.
TEST_F(ChangingThemes, AskingFromAnotherThreadWhileSwitching) {
    m_base.MakeThema("One", Description("One", {"PageSelect=one.wav"}), {"one.wav"});
    m_base.MakeThema("Two", Description("Two", {"PageSelect=two.wav"}), {"two.wav"});
    OrvSoundReader reader(m_base.Path().c_str());
    const CString one = CString(m_base.Path().c_str()) + "One\\one.wav";
    const CString two = CString(m_base.Path().c_str()) + "Two\\two.wav";
    std::atomic<bool> done{false};
    std::atomic<int> strange{0};
    std::atomic<int> asked{0};
    std::thread tree([&] {
        while (!done) {
            const CString file = static_cast<const OrvSoundSource&>(reader).GetSoundFile("PageSelect");
            if (file != one && file != two) ++strange;
            ++asked;
        }
    });
    for (int i = 0; i < 300; ++i) {
        reader.SetSoundDir(i % 2 ? "One" : "Two");
        if (i % 10 == 0) reader.ReadThemas();
    }
    while (asked < 1000) std::this_thread::yield();
    done = true;
    tree.join();
    EXPECT_EQ(strange, 0);
}
