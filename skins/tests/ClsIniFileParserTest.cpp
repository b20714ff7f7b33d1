// Sections, line ends, comments and the file itself.
#include "FileHandle.h"
#include "IniFileTest.h"

#include <windows.h>

using IniStructure = IniFileTest;
using IniLineEnds = IniFileTest;
using IniFiles = IniFileTest;

TEST_F(IniStructure, AHeaderTakesItsLineAndOnlyTheFirstColumnCounts) {
    const auto ini = Parse(
        "[Main] SkinName = x\r\n"
        "Width = 1\r\n"
        "  [Indented]\r\n"
        "Height = 2\r\n"
        "[Main Window]\r\n"
        "a = 3\r\n");
    ClsIniFileSection* main = ini->FindSection("Main");
    ASSERT_NE(main, nullptr);
    EXPECT_STREQ(main->GetName(), "Main");
    EXPECT_EQ(main->FindToken("SkinName"), nullptr);
    ASSERT_NE(main->FindToken("Width"), nullptr);
    // An indented header is no header: what follows stays in Main.
    EXPECT_EQ(ini->FindSection("Indented"), nullptr);
    EXPECT_EQ(ini->FindSection("  [Indented]"), nullptr);
    ASSERT_NE(main->FindToken("Height"), nullptr);
    EXPECT_EQ(main->FindToken("Height")->GetNumber(), 2);
    // Inner blanks belong to the name.
    ASSERT_NE(Token(*ini, "Main Window", "a"), nullptr);
    EXPECT_EQ(ini->FindSection("Main Window")->FindToken("Height"), nullptr);
}

TEST_F(IniStructure, EntriesBeforeTheFirstHeaderAreIgnored) {
    const auto ini = Parse(
        "Lost = 1\r\n"
        "  [NotAHeader]\r\n"
        "AlsoLost = 2\r\n"
        "[First]\r\n"
        "Kept = 3\r\n");
    EXPECT_EQ(ini->FindSection("NotAHeader"), nullptr);
    ClsIniFileSection* first = ini->FindSection("First");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->FindToken("Lost"), nullptr);
    EXPECT_EQ(first->FindToken("AlsoLost"), nullptr);
    EXPECT_NE(first->FindToken("Kept"), nullptr);
}

TEST_F(IniStructure, BrokenHeadersAreSkippedAndKeepTheCurrentSection) {
    const auto ini = Parse(
        "[Good]\r\n"
        "[Unclosed\r\n"
        "a = 1\r\n"
        "[]\r\n"
        "b = 2\r\n"
        "[Ends at the file end");
    ASSERT_NE(ini->FindSection("Good"), nullptr);
    EXPECT_EQ(ini->FindSection("Unclosed"), nullptr);
    EXPECT_EQ(ini->FindSection(""), nullptr);
    EXPECT_NE(Token(*ini, "Good", "a"), nullptr);
    EXPECT_NE(Token(*ini, "Good", "b"), nullptr);
}

TEST_F(IniStructure, TheFirstSectionAndTheFirstEntryOfANameWin) {
    const auto ini = Parse(
        "[Main]\r\n"
        "Width = 1\r\n"
        "Width = 2\r\n"
        "[Other]\r\n"
        "[Main]\r\n"
        "Width = 3\r\n"
        "OnlyInSecond = 4\r\n");
    ClsIniFileSection* main = ini->FindSection("Main");
    ASSERT_NE(main, nullptr);
    ASSERT_NE(main->FindToken("Width"), nullptr);
    EXPECT_EQ(main->FindToken("Width")->GetNumber(), 1);
    // The second [Main] exists but cannot be reached.
    EXPECT_EQ(main->FindToken("OnlyInSecond"), nullptr);
    EXPECT_NE(ini->FindSection("Other"), nullptr);
}

TEST_F(IniStructure, NamesAreCaseSensitive) {
    const auto ini = Parse("[Main]\r\nSkinName = Blue\r\n");
    EXPECT_EQ(ini->FindSection("main"), nullptr);
    EXPECT_EQ(ini->FindSection("MAIN"), nullptr);
    ASSERT_NE(ini->FindSection("Main"), nullptr);
    EXPECT_EQ(Token(*ini, "Main", "skinname"), nullptr);
    EXPECT_NE(Token(*ini, "Main", "SkinName"), nullptr);
    EXPECT_EQ(ini->FindSection(nullptr), nullptr);
    EXPECT_EQ(ini->FindSection("Main")->FindToken(nullptr), nullptr);
}

TEST_F(IniStructure, MalformedEntryLinesAreSkippedWhole) {
    const auto ini = Parse(
        "[S]\r\n"
        "Font Name = Arial\r\n"
        "NoEquals\r\n"
        "= 5\r\n"
        "Trailing \r\n"
        "a b = 1\r\n"
        "Good = 2\r\n"
        "\t Indented\t=\t3\r\n");
    EXPECT_EQ(Token(*ini, "S", "Font"), nullptr);
    EXPECT_EQ(Token(*ini, "S", "Name"), nullptr);
    EXPECT_EQ(Token(*ini, "S", "NoEquals"), nullptr);
    EXPECT_EQ(Token(*ini, "S", ""), nullptr);
    EXPECT_EQ(Token(*ini, "S", "Trailing"), nullptr);
    EXPECT_EQ(Token(*ini, "S", "a"), nullptr);
    EXPECT_EQ(Token(*ini, "S", "b"), nullptr);
    ASSERT_NE(Token(*ini, "S", "Good"), nullptr);
    ASSERT_NE(Token(*ini, "S", "Indented"), nullptr);
    EXPECT_EQ(Token(*ini, "S", "Indented")->GetNumber(), 3);
}

TEST_F(IniStructure, CommentsOnlyInTheFirstColumn) {
    const auto ini = Parse(
        "[S]\r\n"
        "# Hash = 1\r\n"
        "; Semicolon = 2\r\n"
        "// Slashes = 3\r\n"
        "#Glued=4\r\n"
        "  # Indented = 5\r\n"
        "  #IndentedGlued = 6\r\n"
        "/Single = 7\r\n"
        "[# not a comment]\r\n"
        "x = 8\r\n");
    for (const char* name : {"Hash", "Semicolon", "Slashes", "Glued", "#Glued", "Indented"})
        EXPECT_EQ(Token(*ini, "S", name), nullptr) << name;
    // An indented '#' starts an entry line, whose name then begins with '#'.
    ASSERT_NE(Token(*ini, "S", "#IndentedGlued"), nullptr);
    // One slash is no comment.
    ASSERT_NE(Token(*ini, "S", "/Single"), nullptr);
    EXPECT_NE(Token(*ini, "# not a comment", "x"), nullptr);
}

TEST_F(IniLineEnds, CarriageReturnsEndLinesAndOneLineFeedAfterThemIsSkipped) {
    const auto ini = Parse(
        "[CrOnly]\r"
        "a = 1\r"
        "[CrLf]\r\n"
        "b = 2\r\n"
        "\r\n\r\r\n"
        "c = 3\r\n\n"
        "d = 4\r\n");
    EXPECT_NE(Token(*ini, "CrOnly", "a"), nullptr);
    EXPECT_NE(Token(*ini, "CrLf", "b"), nullptr);
    EXPECT_NE(Token(*ini, "CrLf", "c"), nullptr);
    // The second LF begins the next line: it is part of the name.
    EXPECT_EQ(Token(*ini, "CrLf", "d"), nullptr);
    ASSERT_NE(Token(*ini, "CrLf", "\nd"), nullptr);
    EXPECT_EQ(Token(*ini, "CrLf", "\nd")->GetNumber(), 4);
}

TEST_F(IniLineEnds, ALoneLineFeedIsAnOrdinaryByte) {
    const auto ini = Parse(
        "[Main]\n"
        "SkinName = Blue\n"
        "[Buttons]\n"
        "Width = 5\n");
    // The header's line runs to the end of the file: one empty section.
    ASSERT_NE(ini->FindSection("Main"), nullptr);
    EXPECT_EQ(Token(*ini, "Main", "SkinName"), nullptr);
    EXPECT_EQ(ini->FindSection("Buttons"), nullptr);

    const auto values = Parse("[S]\r\nName = Blue\nWidth = 5\r\n");
    // The value ends at the blank, after "Blue\nWidth".
    ASSERT_NE(Token(*values, "S", "Name"), nullptr);
    EXPECT_STREQ(Token(*values, "S", "Name")->GetText(), "Blue\nWidth");
    EXPECT_EQ(Token(*values, "S", "Width"), nullptr);
}

TEST_F(IniFiles, AMissingOrEmptyFileGivesNoSections) {
    ClsIniFileParser missing((m_folder.Path() + "\\NoSuchFile.Ini").c_str());
    EXPECT_EQ(missing.FindSection("Main"), nullptr);
    ClsIniFileParser missingFolder("Z:\\no\\such\\folder\\Skin.Ini");
    EXPECT_EQ(missingFolder.FindSection("Main"), nullptr);
    ClsIniFileParser null(nullptr);
    EXPECT_EQ(null.FindSection("Main"), nullptr);
    ClsIniFileParser empty(m_folder.Write("Empty.Ini", "").c_str());
    EXPECT_EQ(empty.FindSection("Main"), nullptr);
    ClsIniFileParser folder(m_folder.Path().c_str());
    EXPECT_EQ(folder.FindSection("Main"), nullptr);
    ClsIniFileParser blank("");
    EXPECT_EQ(blank.FindSection("Main"), nullptr);
}

TEST_F(IniFiles, AFileAnotherProgramHasOpenForWritingIsRead) {
    const std::string path = m_folder.Write("Open.Ini", "[Main]\r\nSkinName = Blue\r\n");
    FileHandle writer(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(static_cast<bool>(writer));
    ClsIniFileParser ini(path.c_str());
    EXPECT_NE(Token(ini, "Main", "SkinName"), nullptr);
}

TEST_F(IniFiles, AFileLockedAgainstReadersGivesNoSections) {
    const std::string path = m_folder.Write("Locked.Ini", "[Main]\r\nSkinName = Blue\r\n");
    FileHandle locker(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(static_cast<bool>(locker));
    ClsIniFileParser ini(path.c_str());
    EXPECT_EQ(ini.FindSection("Main"), nullptr);
}

TEST_F(IniFiles, TheFileIsNeverWritten) {
    const std::string text = "[Main]\r\nSkinName = Blue\r\nBroken\r\n[";
    const std::string path = m_folder.Write("ReadOnly.Ini", text);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        ClsIniFileParser ini(path.c_str());
        EXPECT_NE(Token(ini, "Main", "SkinName"), nullptr);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    FileHandle reader(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(static_cast<bool>(reader));
    char bytes[64] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(reader.Get(), bytes, sizeof bytes, &read, nullptr));
    EXPECT_EQ(std::string(bytes, read), text);
}
