// Start-up's small operations against the real file system and the real
// registry of the project's prefix: the switches, the pending updater, the
// program directory, the run-at-start-up value and the browser opener.
#include "AppTestSupport.h"

#include "OrvApp.h"
#include "OrvBrowser.h"
#include "OrvRegisteredMessages.h"
#include "OrvStartupSetting.h"

#include "OrvMessages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

TEST(Startup, SwitchesArePlainSubstringTests) {
    EXPECT_TRUE(OrvApp::HasSwitch("-notifier", "-notifier"));
    EXPECT_TRUE(OrvApp::HasSwitch("x-notifierx", "-notifier")) << "inside another word still counts";
    EXPECT_TRUE(OrvApp::HasSwitch("/a -remove -log", "-remove"));
    EXPECT_TRUE(OrvApp::HasSwitch("/a -remove -log", "-log"));
    EXPECT_FALSE(OrvApp::HasSwitch("-Notifier", "-notifier")) << "the test is exact";
    EXPECT_FALSE(OrvApp::HasSwitch("", "-log"));
    EXPECT_FALSE(OrvApp::HasSwitch(nullptr, "-log"));
}

TEST(Startup, TheProgramDirectoryEndsWithItsSeparator) {
    EXPECT_STREQ(OrvApp::DirectoryOf("C:\\Program Files\\Orvane\\Orvane.exe"), "C:\\Program Files\\Orvane\\");
    EXPECT_STREQ(OrvApp::DirectoryOf("Z:/build/bin/Orvane.exe"), "Z:/build/bin/");
    EXPECT_STREQ(OrvApp::DirectoryOf("Orvane.exe"), "");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Startup, APendingUpdaterReplacesAReadOnlyOneAndLeavesNoPendingFile) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string directory = std::string(temp) + "orv-updater-" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(directory.c_str(), nullptr);
    const std::string updater = directory + "OrvUpdate.exe", pending = directory + "OrvUpdate.ex_";
    std::ofstream(updater, std::ios::binary) << "old updater";
    std::ofstream(pending, std::ios::binary) << "new updater";
    ASSERT_TRUE(::SetFileAttributesA(updater.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(OrvApp::InstallPendingUpdater(directory.c_str()));
    EXPECT_EQ(ReadFile(updater), "new updater");
    EXPECT_EQ(::GetFileAttributesA(pending.c_str()), INVALID_FILE_ATTRIBUTES);
    // Nothing pending: nothing moves.
    EXPECT_FALSE(OrvApp::InstallPendingUpdater(directory.c_str()));
    EXPECT_EQ(ReadFile(updater), "new updater");
    ::DeleteFileA(updater.c_str());
    ::RemoveDirectoryA(directory.c_str());
}

TEST(Startup, TheRunValueIsWrittenReadAndDeletedInTheRealRegistry) {
    OrvStartupSetting::Remove();
    EXPECT_FALSE(OrvStartupSetting::IsSet());
    ASSERT_TRUE(OrvStartupSetting::Write());
    EXPECT_TRUE(OrvStartupSetting::IsSet());
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, OrvStartupSetting::kRunKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    char value[1200] = {};
    DWORD size = sizeof value - 1, type = 0;
    ASSERT_EQ(::RegQueryValueExA(key, "Orvane", nullptr, &type, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    char program[1000] = {};
    ::GetModuleFileNameA(nullptr, program, sizeof program - 1);
    EXPECT_EQ(std::string(value), "\"" + std::string(program) + "\" -notifier");
    EXPECT_TRUE(OrvStartupSetting::Remove());
    EXPECT_FALSE(OrvStartupSetting::IsSet());
    EXPECT_TRUE(OrvStartupSetting::Remove()) << "removing twice: the key still opens";
    CString shortcut;
    if (OrvStartupSetting::GetShortcutPath(&shortcut)) {
        EXPECT_EQ(shortcut.Right(20), CString("\\Orvane Notifier.lnk"));
    }
}

TEST(Startup, AnEmptyAddressCannotBeOpenedInTheBrowser) {
    apptest::RecordingMessenger messenger;
    EXPECT_FALSE(OrvBrowser::Open(nullptr, "", &messenger));
    EXPECT_FALSE(OrvBrowser::Open(nullptr, nullptr, &messenger));
    ASSERT_EQ(messenger.shown.size(), 2u);
    EXPECT_EQ(messenger.shown[0].text, "Can't open default web browser.");
    EXPECT_EQ(messenger.shown[0].caption, "Orvane");
    EXPECT_EQ(messenger.shown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

TEST(Startup, TheSevenMessagesAreRegisteredBeforeMainRuns) {
    const OrvRegisteredMessages& messages = OrvMessages();
    EXPECT_EQ(messages.restoreWindow, ::RegisterWindowMessageA(ORV_MSGNAME_RESTORE_WINDOW));
    EXPECT_EQ(messages.closeDialog, ::RegisterWindowMessageA(ORV_MSGNAME_CLOSE_DIALOG));
    EXPECT_EQ(messages.tray, ::RegisterWindowMessageA(ORV_MSGNAME_TRAY));
    for (UINT message : {messages.showDemoDialog, messages.errorNotify, messages.tray, messages.changeBanner,
                         messages.restoreWindow, messages.startUpgrade, messages.closeDialog})
        EXPECT_GE(message, 0xC000u);
}

}  // namespace
