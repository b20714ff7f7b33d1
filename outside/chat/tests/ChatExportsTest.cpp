// chat.dll exports its interface and nothing of its protocol core: read
// from the export directory of the loaded DLL itself.
#include "COrvChat.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ExportedNames(HMODULE module) {
    std::vector<std::string> names;
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!directory.VirtualAddress) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* nameTable = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.push_back(reinterpret_cast<const char*>(base + nameTable[i]));
    return names;
}

}  // namespace

TEST(ChatExports, OnlyTheInterfaceIsExported) {
    // This program links chat.dll, so it is loaded.
    const HMODULE chat = GetModuleHandleA("chat.dll");
    ASSERT_NE(chat, nullptr);
    const std::vector<std::string> names = ExportedNames(chat);
    ASSERT_FALSE(names.empty());
    bool engine = false, rooms = false, equal = false;
    for (const std::string& name : names) {
        const bool allowed = name.find("COrvChat") != std::string::npos ||
                             name.find("OrvChatRoom") != std::string::npos ||
                             name.find("OrvChatUser") != std::string::npos || name.find("IsEqualID") != std::string::npos;
        EXPECT_TRUE(allowed) << name;
        for (const char* inner : {"ChatSession", "IrcConnection", "IrcMessage", "ChatCodec", "PartnerWatch"})
            EXPECT_EQ(name.find(inner), std::string::npos) << name;
        engine |= name.find("COrvChat7Connect") != std::string::npos;
        rooms |= name.find("OrvChatRoom11IsValidRoom") != std::string::npos;
        equal |= name.find("IsEqualID") != std::string::npos;
    }
    EXPECT_TRUE(engine && rooms && equal);
    // And the interface works through it.
    EXPECT_TRUE(IsEqualID("O12", "r12"));
}
