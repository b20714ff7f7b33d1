#include "OrvRegistry.h"

#include "FixedText.h"
#include "RegKey.h"
#include "Scrambler.h"

#include <algorithm>
#include <cstring>
#include <vector>

using orvreg::LoadFixedText;
using orvreg::RegKey;
using orvreg::StoreFixedText;

const char* const OrvRegistry::kProductKey = "SOFTWARE\\Orvane";

namespace {

const char kParams[] = "params";

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

void OrvRegistry::SetString(HKEY root, const CString& path, const CString& name,
                            const CString& value) {
    RegKey key(root, path);
    if (!key.IsOpen()) return;
    // The stored size is the text's length: no terminating NUL is written.
    RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()),
                   static_cast<DWORD>(value.GetLength()));
    RegFlushKey(key.Get());
}

CString OrvRegistry::GetString(HKEY root, const CString& path, const CString& name) {
    RegKey key(root, path);
    if (!key.IsOpen()) return CString();
    // Room for the longest text and a NUL the registry may keep after it,
    // plus one byte that always stays zero.
    std::vector<char> buffer(ORV_REGISTRY_MAX_TEXT + 2, 0);
    DWORD type = 0;
    DWORD size = ORV_REGISTRY_MAX_TEXT + 1;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS ||
        !IsStringType(type))
        return CString();
    return CString(buffer.data(), static_cast<int>(std::min<DWORD>(size, ORV_REGISTRY_MAX_TEXT)));
}

void OrvRegistry::SetDWord(HKEY root, const CString& path, const CString& name,
                           unsigned long value) {
    RegKey key(root, path);
    if (!key.IsOpen()) return;
    const DWORD number = static_cast<DWORD>(value);
    RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegFlushKey(key.Get());
}

unsigned long OrvRegistry::GetDWord(HKEY root, const CString& path, const CString& name) {
    RegKey key(root, path);
    if (!key.IsOpen()) return 0;
    DWORD number = 0;
    DWORD type = 0;
    DWORD size = sizeof number;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof number)
        return 0;
    return number;
}

void OrvRegistry::SetBinary(HKEY root, const CString& path, const CString& name,
                            const BYTE* data, unsigned long size) {
    RegKey key(root, path);
    if (!key.IsOpen() || (!data && size != 0)) return;
    RegSetValueExA(key.Get(), name, 0, REG_BINARY, data, static_cast<DWORD>(size));
    RegFlushKey(key.Get());
}

void OrvRegistry::GetBinary(HKEY root, const CString& path, const CString& name, BYTE* buffer,
                            unsigned long size) {
    ReadBinary(root, path, name, buffer, size);
}

bool OrvRegistry::ReadBinary(HKEY root, const CString& path, const CString& name, BYTE* buffer,
                             unsigned long size) {
    if (!buffer) return false;
    RegKey key(root, path);
    if (!key.IsOpen()) return false;
    DWORD stored = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, &stored) != ERROR_SUCCESS)
        return false;
    // Read the whole value, then hand over what fits: a value longer than
    // the caller's buffer still yields its first bytes.
    std::vector<BYTE> data(std::max<DWORD>(stored, 1));
    DWORD read = stored;
    if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, data.data(), &read) != ERROR_SUCCESS)
        return false;
    std::memcpy(buffer, data.data(), std::min<unsigned long>(read, size));
    return true;
}

void OrvRegistry::SetOrvString(const CString& name, const CString& value) {
    SetString(HKEY_LOCAL_MACHINE, kProductKey, name, value);
}
CString OrvRegistry::GetOrvString(const CString& name) {
    return GetString(HKEY_LOCAL_MACHINE, kProductKey, name);
}
void OrvRegistry::SetOrvDWord(const CString& name, unsigned long value) {
    SetDWord(HKEY_LOCAL_MACHINE, kProductKey, name, value);
}
unsigned long OrvRegistry::GetOrvDWord(const CString& name) {
    return GetDWord(HKEY_LOCAL_MACHINE, kProductKey, name);
}

void OrvRegistry::SetVersion(const CString& value) { SetOrvString("version", value); }
CString OrvRegistry::GetVersion() { return GetOrvString("version"); }
void OrvRegistry::SetUrl(const CString& value) { SetOrvString("url", value); }
CString OrvRegistry::GetUrl() { return GetOrvString("url"); }
void OrvRegistry::SetSkinbase(const CString& value) { SetOrvString("skinbase", value); }
CString OrvRegistry::GetSkinbase() { return GetOrvString("skinbase"); }
void OrvRegistry::SetSkindir(const CString& value) { SetOrvString("skindir", value); }
CString OrvRegistry::GetSkindir() { return GetOrvString("skindir"); }
void OrvRegistry::SetSoundbase(const CString& value) { SetOrvString("soundbase", value); }
CString OrvRegistry::GetSoundbase() { return GetOrvString("soundbase"); }
void OrvRegistry::SetSounddir(const CString& value) { SetOrvString("sounddir", value); }
CString OrvRegistry::GetSounddir() { return GetOrvString("sounddir"); }

void OrvRegistry::SetOrvStatus(unsigned status) { SetOrvDWord("Last Status", status); }
unsigned OrvRegistry::GetOrvStatus() { return static_cast<unsigned>(GetOrvDWord("Last Status")); }

void OrvRegistry::SetUserColor(char code) {
    SetOrvDWord("User Color", static_cast<unsigned long>(static_cast<unsigned char>(code)) << 16);
}

char OrvRegistry::GetUserColor() {
    const char code = static_cast<char>((GetOrvDWord("User Color") >> 16) & 0xFF);
    static const char kCodes[] = "01234567890ABCDEF";
    if (code == 0 || !std::strchr(kCodes, code)) return '0';
    return code;
}

void OrvRegistry::SetStatistic(bool enabled) { SetOrvDWord("Enable Statistic", enabled ? 1 : 0); }
bool OrvRegistry::GetStatistic() { return GetOrvDWord("Enable Statistic") != 0; }
void OrvRegistry::SetNotifications(bool disabled) {
    SetOrvDWord("Disable Notification", disabled ? 1 : 0);
}
bool OrvRegistry::GetNotifications() { return GetOrvDWord("Disable Notification") != 0; }

ORVREGISTRYDATA OrvRegistry::ReadAccount() {
    ORVREGISTRYDATA record;
    std::memset(&record, 0, sizeof record);
    RegKey key(HKEY_LOCAL_MACHINE, kProductKey);
    if (!key.IsOpen()) return record;
    DWORD size = sizeof record;
    const LONG result = RegQueryValueExA(key.Get(), kParams, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&record), &size);
    // A value of any other size is not an account record: unscrambling it
    // would turn garbage into flags, so it counts as missing.
    if (result == ERROR_SUCCESS && size == sizeof record)
        orvreg::UnscrambleRecord(record);
    else
        std::memset(&record, 0, sizeof record);
    return record;
}

void OrvRegistry::WriteAccount(ORVREGISTRYDATA record) {
    orvreg::ScrambleRecord(record);
    SetBinary(HKEY_LOCAL_MACHINE, kProductKey, kParams, reinterpret_cast<const BYTE*>(&record),
              sizeof record);
}

void OrvRegistry::SetVersionCheck(unsigned long value) {
    ORVREGISTRYDATA record = ReadAccount();
    record.versionCheck = static_cast<uint32_t>(value);
    WriteAccount(record);
}
unsigned long OrvRegistry::GetVersionCheck() { return ReadAccount().versionCheck; }

void OrvRegistry::SetFName(const CString& value) {
    ORVREGISTRYDATA record = ReadAccount();
    StoreFixedText(record.firstName, value);
    WriteAccount(record);
}
CString OrvRegistry::GetFName() { return LoadFixedText(ReadAccount().firstName); }

void OrvRegistry::SetLName(const CString& value) {
    ORVREGISTRYDATA record = ReadAccount();
    StoreFixedText(record.lastName, value);
    WriteAccount(record);
}
CString OrvRegistry::GetLName() { return LoadFixedText(ReadAccount().lastName); }

void OrvRegistry::SetEmail(const CString& value) {
    ORVREGISTRYDATA record = ReadAccount();
    StoreFixedText(record.email, value);
    WriteAccount(record);
}
CString OrvRegistry::GetEmail() { return LoadFixedText(ReadAccount().email); }

void OrvRegistry::SetSerkey(const CString& value) {
    ORVREGISTRYDATA record = ReadAccount();
    StoreFixedText(record.serkey, value);
    WriteAccount(record);
}
CString OrvRegistry::GetSerkey() { return LoadFixedText(ReadAccount().serkey); }

// The four flags share one shape: a field of the record, its Is-test, and
// the shortcuts that store 1 or 0.
#define ORV_ACCOUNT_FLAG(Field, Set, Get, Is, On, Off)                 \
    void OrvRegistry::Set(unsigned long value) {                       \
        ORVREGISTRYDATA record = ReadAccount();                        \
        record.Field = static_cast<uint32_t>(value);                   \
        WriteAccount(record);                                          \
    }                                                                  \
    unsigned long OrvRegistry::Get() { return ReadAccount().Field; }   \
    int OrvRegistry::Is() { return Get() != 0 ? 1 : 0; }               \
    void OrvRegistry::On() { Set(1); }                                 \
    void OrvRegistry::Off() { Set(0); }

ORV_ACCOUNT_FLAG(registered, SetRegister, GetRegister, IsRegister, Register, UnRegister)
ORV_ACCOUNT_FLAG(logon, SetLogon, GetLogon, IsLogon, Logon, UnLogon)
ORV_ACCOUNT_FLAG(hiddenEmail, SetHiddenEmail, GetHiddenEmail, IsEmailHidden, HiddenEmail,
                 UnHiddenEmail)
ORV_ACCOUNT_FLAG(hiddenChat, SetHiddenChat, GetHiddenChat, IsChatHidden, HiddenChat,
                 UnHiddenChat)
#undef ORV_ACCOUNT_FLAG

void OrvRegistry::SetState(ORVSTATEDATA state) {
    ORVREGISTRYDATA record = ReadAccount();
    record.state = state;
    WriteAccount(record);
}

ORVSTATEDATA OrvRegistry::GetState() { return ReadAccount().state; }
