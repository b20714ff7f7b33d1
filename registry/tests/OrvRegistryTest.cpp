#include "OrvRegistry.h"
#include "RegistryTestSupport.h"
#include "Scrambler.h"

#include <cstring>
#include <string>

using RegistryValues = ProductKeyTest;
using AccountRecord = ProductKeyTest;

namespace {

// An independent copy of the generator: rotate the state left by 3 bits.
std::vector<uint8_t> Stream(uint8_t seed, size_t count) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count; ++i) {
        seed = static_cast<uint8_t>((seed << 3) | (seed >> 5));
        bytes.push_back(seed);
    }
    return bytes;
}

// The plain record behind the stored bytes, undone here without the library.
ORVREGISTRYDATA UnscrambleRaw(const RawValue& raw) {
    EXPECT_EQ(raw.bytes.size(), sizeof(ORVREGISTRYDATA));
    std::vector<uint8_t> bytes(raw.bytes.begin(), raw.bytes.end());
    bytes.resize(sizeof(ORVREGISTRYDATA));
    const auto whole = Stream(orvreg::kRecordSeed, 208);
    for (size_t i = 0; i < 208; ++i) bytes[i] ^= whole[i];
    const auto email = Stream(orvreg::kEmailSeed, 50);
    for (size_t i = 0; i < 50; ++i) bytes[66 + i] ^= email[i];
    const auto password = Stream(orvreg::kPasswordSeed, 20);
    for (size_t i = 0; i < 20; ++i) bytes[117 + i] ^= password[i];
    ORVREGISTRYDATA record;
    std::memcpy(&record, bytes.data(), sizeof record);
    return record;
}

}  // namespace

TEST_F(RegistryValues, MissingValuesReadAsDefaultsAndReadsCreateTheKey) {
    OrvRegistry registry;
    EXPECT_STREQ(registry.GetUrl(), "");
    EXPECT_EQ(registry.GetOrvStatus(), 0u);
    EXPECT_EQ(registry.GetUserColor(), '0');
    EXPECT_FALSE(registry.GetStatistic());
    EXPECT_FALSE(registry.GetNotifications());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryValues, TextsAreStoredAsStringsWithoutNul) {
    OrvRegistry registry;
    registry.SetUrl("http://127.0.0.1:8080/");
    registry.SetVersion("1.0.4");
    registry.SetSkinbase("C:\\Orvane\\Skins\\");
    registry.SetSkindir("Classic");
    registry.SetSoundbase("C:\\Orvane\\Sounds\\");
    registry.SetSounddir("Quiet");
    const RawValue raw = ReadRaw("url");
    ASSERT_TRUE(raw.found);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    // Written without a terminating NUL (Wine's registry adds one when it
    // converts the text; Windows keeps exactly what was written).
    EXPECT_LE(raw.bytes.size(), std::strlen("http://127.0.0.1:8080/") + 1);
    EXPECT_STREQ(registry.GetUrl(), "http://127.0.0.1:8080/");
    WriteRaw("nonul", REG_BINARY, "abc", 3);
    EXPECT_STREQ(registry.GetOrvString("nonul"), "");  // not a text value
    WriteRaw("nonul", REG_SZ, "abc", 3);
    EXPECT_STREQ(registry.GetOrvString("nonul"), "abc");
    EXPECT_STREQ(registry.GetVersion(), "1.0.4");
    EXPECT_STREQ(registry.GetSkinbase(), "C:\\Orvane\\Skins\\");
    EXPECT_STREQ(registry.GetSkindir(), "Classic");
    EXPECT_STREQ(registry.GetSoundbase(), "C:\\Orvane\\Sounds\\");
    EXPECT_STREQ(registry.GetSounddir(), "Quiet");
    // A shorter text replaces a longer one completely.
    registry.SetUrl("x");
    EXPECT_STREQ(registry.GetUrl(), "x");
    registry.SetUrl("");
    EXPECT_STREQ(registry.GetUrl(), "");
}

TEST_F(RegistryValues, LongTextsUpToTheLimitRoundTrip) {
    OrvRegistry registry;
    const std::string full(ORV_REGISTRY_MAX_TEXT, 'k');
    registry.SetOrvString("long", full.c_str());
    EXPECT_EQ(registry.GetOrvString("long").GetLength(), ORV_REGISTRY_MAX_TEXT);
    // A stored value longer than the limit is not read as a cut-off text.
    const std::string tooLong(ORV_REGISTRY_MAX_TEXT + 10, 'z');
    WriteRaw("toolong", REG_SZ, tooLong.data(), static_cast<DWORD>(tooLong.size()));
    EXPECT_STREQ(registry.GetOrvString("toolong"), "");
}

TEST_F(RegistryValues, NumbersAndFlagsAreDwords) {
    OrvRegistry registry;
    registry.SetOrvStatus(4);
    registry.SetStatistic(true);
    registry.SetNotifications(true);
    EXPECT_EQ(registry.GetOrvStatus(), 4u);
    EXPECT_TRUE(registry.GetStatistic());
    EXPECT_TRUE(registry.GetNotifications());
    const RawValue status = ReadRaw("Last Status");
    ASSERT_TRUE(status.found);
    EXPECT_EQ(status.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(ReadRaw("Enable Statistic").bytes, (std::vector<BYTE>{1, 0, 0, 0}));
    registry.SetNotifications(false);
    EXPECT_EQ(ReadRaw("Disable Notification").bytes, (std::vector<BYTE>{0, 0, 0, 0}));
    EXPECT_FALSE(registry.GetNotifications());
    // A value of the wrong type is not a number.
    WriteRaw("Last Status", REG_SZ, "4", 1);
    EXPECT_EQ(registry.GetOrvStatus(), 0u);
}

TEST_F(RegistryValues, UserColorLivesInBits16To23) {
    OrvRegistry registry;
    registry.SetUserColor('B');
    const RawValue raw = ReadRaw("User Color");
    ASSERT_EQ(raw.bytes.size(), 4u);
    EXPECT_EQ(raw.bytes[2], 'B');
    EXPECT_EQ(raw.bytes[0] | raw.bytes[1] | raw.bytes[3], 0);
    EXPECT_EQ(registry.GetUserColor(), 'B');

    const DWORD g = static_cast<DWORD>('G') << 16;
    WriteRaw("User Color", REG_DWORD, &g, sizeof g);
    EXPECT_EQ(registry.GetUserColor(), '0');
    const DWORD zero = 0x00FF00FF;  // bits 16-23 clear, others set
    WriteRaw("User Color", REG_DWORD, &zero, sizeof zero);
    EXPECT_EQ(registry.GetUserColor(), '0');
    const DWORD seven = (static_cast<DWORD>('7') << 16) | 0xFF0000FF;
    WriteRaw("User Color", REG_DWORD, &seven, sizeof seven);
    EXPECT_EQ(registry.GetUserColor(), '7');
}

TEST_F(RegistryValues, GenericBinaryLeavesBufferWhenMissing) {
    OrvRegistry registry;
    BYTE buffer[4] = {9, 9, 9, 9};
    registry.GetBinary(HKEY_LOCAL_MACHINE, OrvRegistry::kProductKey, "nothing", buffer, 4);
    EXPECT_EQ(buffer[0], 9);
    const BYTE data[6] = {1, 2, 3, 4, 5, 6};
    registry.SetBinary(HKEY_LOCAL_MACHINE, OrvRegistry::kProductKey, "blob", data, 6);
    EXPECT_EQ(ReadRaw("blob").type, static_cast<DWORD>(REG_BINARY));
    // A value longer than the buffer yields its first bytes, no more.
    registry.GetBinary(HKEY_LOCAL_MACHINE, OrvRegistry::kProductKey, "blob", buffer, 4);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[3], 4);
    registry.SetDWord(HKEY_CURRENT_USER, "Software\\OrvaneTest", "n", 77);
    EXPECT_EQ(registry.GetDWord(HKEY_CURRENT_USER, "Software\\OrvaneTest", "n"), 77u);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrvaneTest");
}

TEST_F(AccountRecord, EmptyWithoutParams) {
    OrvRegistry registry;
    EXPECT_STREQ(registry.GetFName(), "");
    EXPECT_STREQ(registry.GetLName(), "");
    EXPECT_STREQ(registry.GetEmail(), "");
    EXPECT_STREQ(registry.GetSerkey(), "");
    EXPECT_EQ(registry.GetVersionCheck(), 0u);
    EXPECT_EQ(registry.IsLogon(), 0);
    EXPECT_EQ(registry.IsRegister(), 0);
    EXPECT_EQ(registry.IsEmailHidden(), 0);
    EXPECT_EQ(registry.IsChatHidden(), 0);
    EXPECT_FALSE(ReadRaw("params").found);
}

TEST_F(AccountRecord, StoredScrambledAtFixedOffsets) {
    OrvRegistry registry;
    registry.SetFName("Anna");
    registry.SetLName("Lindqvist");
    registry.SetEmail("anna@example.org");
    registry.SetSerkey("secret-pass-12");
    registry.SetVersionCheck(0x01020304);
    registry.Register();
    registry.HiddenChat();
    const RawValue raw = ReadRaw("params");
    ASSERT_TRUE(raw.found);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(raw.bytes.size(), 208u);
    // Neither the address nor the password appears in the stored bytes.
    const std::string stored(raw.bytes.begin(), raw.bytes.end());
    EXPECT_EQ(stored.find("anna@example.org"), std::string::npos);
    EXPECT_EQ(stored.find("secret-pass"), std::string::npos);

    const ORVREGISTRYDATA plain = UnscrambleRaw(raw);
    EXPECT_EQ(plain.versionCheck, 0x01020304u);
    EXPECT_STREQ(plain.firstName, "Anna");
    EXPECT_STREQ(plain.lastName, "Lindqvist");
    EXPECT_STREQ(plain.email, "anna@example.org");
    EXPECT_STREQ(plain.serkey, "secret-pass-12");
    EXPECT_EQ(plain.registered, 1u);
    EXPECT_EQ(plain.logon, 0u);
    EXPECT_EQ(plain.hiddenChat, 1u);
    EXPECT_EQ(plain.reserved[0] | plain.reserved[1], 0);
}

TEST_F(AccountRecord, TextsAreCutToTheirFields) {
    OrvRegistry registry;
    const std::string name35(35, 'n');
    registry.SetFName(name35.c_str());
    EXPECT_STREQ(registry.GetFName(), std::string(30, 'n').c_str());
    registry.SetLName(std::string(31, 'l').c_str());
    EXPECT_EQ(registry.GetLName().GetLength(), 30);
    registry.SetEmail(std::string(60, 'e').c_str());
    EXPECT_EQ(registry.GetEmail().GetLength(), 50);
    registry.SetSerkey(std::string(25, 'p').c_str());
    EXPECT_EQ(registry.GetSerkey().GetLength(), 20);
    // The cut first name did not run into the last name.
    EXPECT_EQ(registry.GetLName(), CString(std::string(30, 'l').c_str()));
}

TEST_F(AccountRecord, ShorterTextOverLongerKeepsTheTail) {
    OrvRegistry registry;
    registry.SetEmail("longer.address@example.org");
    registry.SetEmail("a@b.c");
    EXPECT_STREQ(registry.GetEmail(), "a@b.c");
    const ORVREGISTRYDATA plain = UnscrambleRaw(ReadRaw("params"));
    EXPECT_EQ(plain.email[5], 0);
    // Behind the new NUL the field keeps what the longer text left there.
    EXPECT_EQ(std::string(plain.email + 6), ".address@example.org");
}

TEST_F(AccountRecord, OneFieldChangesNothingElse) {
    OrvRegistry registry;
    registry.SetFName("Bo");
    registry.SetLName("Ek");
    registry.SetSerkey("pw");
    registry.Logon();
    registry.HiddenEmail();
    ORVSTATEDATA state{};
    state.splitterPos = 240;
    registry.SetState(state);
    const ORVREGISTRYDATA before = UnscrambleRaw(ReadRaw("params"));
    registry.SetEmail("bo@ek.se");
    EXPECT_STREQ(registry.GetEmail(), "bo@ek.se");
    ORVREGISTRYDATA after = UnscrambleRaw(ReadRaw("params"));
    std::memcpy(after.email, before.email, sizeof after.email);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(registry.IsLogon(), 1);
    registry.UnLogon();
    EXPECT_EQ(registry.IsLogon(), 0);
    EXPECT_EQ(registry.IsEmailHidden(), 1);
    EXPECT_STREQ(registry.GetSerkey(), "pw");
}

TEST_F(AccountRecord, FlagsKeepTheirValueAndIsTestsNormalise) {
    OrvRegistry registry;
    registry.SetRegister(7);
    EXPECT_EQ(registry.GetRegister(), 7u);
    EXPECT_EQ(registry.IsRegister(), 1);
    registry.UnRegister();
    EXPECT_EQ(registry.GetRegister(), 0u);
    registry.SetHiddenChat(2);
    EXPECT_EQ(registry.IsChatHidden(), 1);
    registry.UnHiddenChat();
    EXPECT_EQ(registry.IsChatHidden(), 0);
}

TEST_F(AccountRecord, DamagedRecordsReadAsEmpty) {
    OrvRegistry registry;
    const BYTE shortRecord[100] = {1, 2, 3};
    WriteRaw("params", REG_BINARY, shortRecord, sizeof shortRecord);
    EXPECT_EQ(registry.IsRegister(), 0);
    EXPECT_STREQ(registry.GetEmail(), "");
    // A full-size record of garbage: texts still end inside their fields.
    std::vector<BYTE> garbage(208, 0xEE);
    WriteRaw("params", REG_BINARY, garbage.data(), 208);
    EXPECT_LE(registry.GetFName().GetLength(), 31);
    EXPECT_LE(registry.GetEmail().GetLength(), 51);
}

TEST_F(AccountRecord, StateBeforeAnySetStateIsAllZero) {
    OrvRegistry registry;
    ORVSTATEDATA state = registry.GetState();
    const ORVSTATEDATA zero{};
    EXPECT_EQ(std::memcmp(&state, &zero, sizeof state), 0);
    state.value = 5;
    state.windowMode = 2;
    state.left = -1200;
    state.top = 40;
    state.right = -100;
    state.bottom = 700;
    std::strcpy(state.text, "main");
    registry.SetState(state);
    const ORVSTATEDATA back = registry.GetState();
    EXPECT_EQ(std::memcmp(&state, &back, sizeof state), 0);
    const ORVREGISTRYDATA plain = UnscrambleRaw(ReadRaw("params"));
    EXPECT_EQ(plain.state.left, -1200);
    EXPECT_STREQ(plain.state.text, "main");
}
