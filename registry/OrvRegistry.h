#pragma once
#include "OrvRegistryTypes.h"
#include "RegistryExport.h"

#include "CString.h"

#include <windows.h>

// Longest text value the store reads, in bytes.
constexpr int ORV_REGISTRY_MAX_TEXT = 64000;

// The settings store: every persistent setting under HKEY_LOCAL_MACHINE
// "SOFTWARE\Orvane". No data members and no cache: each call opens the key,
// reads or writes one value, flushes and closes, so every call sees what any
// process wrote last. Failures are silent: reads give the default (empty
// text, 0, false), writes are lost.
class ORVREG_API OrvRegistry {
public:
    static const char* const kProductKey;  // "SOFTWARE\Orvane"


    // Generic operations on any key; the key is created when missing.
    void SetString(HKEY root, const CString& path, const CString& name, const CString& value);
    CString GetString(HKEY root, const CString& path, const CString& name);
    void SetDWord(HKEY root, const CString& path, const CString& name, unsigned long value);
    unsigned long GetDWord(HKEY root, const CString& path, const CString& name);
    void SetBinary(HKEY root, const CString& path, const CString& name, const BYTE* data,
                   unsigned long size);
    // Fills at most size bytes; leaves the buffer as it was when the value is missing.
    void GetBinary(HKEY root, const CString& path, const CString& name, BYTE* buffer,
                   unsigned long size);

    // The same on the product key.
    void SetOrvString(const CString& name, const CString& value);
    CString GetOrvString(const CString& name);
    void SetOrvDWord(const CString& name, unsigned long value);
    unsigned long GetOrvDWord(const CString& name);

    // Named values.
    void SetVersion(const CString& value);
    CString GetVersion();
    void SetUrl(const CString& value);
    CString GetUrl();
    void SetSkinbase(const CString& value);
    CString GetSkinbase();
    void SetSkindir(const CString& value);
    CString GetSkindir();
    void SetSoundbase(const CString& value);
    CString GetSoundbase();
    void SetSounddir(const CString& value);
    CString GetSounddir();
    void SetOrvStatus(unsigned status);
    unsigned GetOrvStatus();
    // The chat colour code, one character kept in bits 16 to 23.
    void SetUserColor(char code);
    char GetUserColor();
    void SetStatistic(bool enabled);
    bool GetStatistic();
    void SetNotifications(bool disabled);
    bool GetNotifications();

    // Fields of the scrambled account record ("params"). Texts longer than
    // their field are cut: first and last name 30, e-mail 50, password 20.
    void SetVersionCheck(unsigned long value);
    unsigned long GetVersionCheck();
    void SetFName(const CString& value);
    CString GetFName();
    void SetLName(const CString& value);
    CString GetLName();
    void SetEmail(const CString& value);
    CString GetEmail();
    void SetSerkey(const CString& value);
    CString GetSerkey();

    void SetRegister(unsigned long value);
    unsigned long GetRegister();
    int IsRegister();
    void Register();
    void UnRegister();

    void SetLogon(unsigned long value);
    unsigned long GetLogon();
    int IsLogon();
    void Logon();
    void UnLogon();

    void SetHiddenEmail(unsigned long value);
    unsigned long GetHiddenEmail();
    int IsEmailHidden();
    void HiddenEmail();
    void UnHiddenEmail();

    void SetHiddenChat(unsigned long value);
    unsigned long GetHiddenChat();
    int IsChatHidden();
    void HiddenChat();
    void UnHiddenChat();

    // The saved window state inside the account record.
    void SetState(ORVSTATEDATA state);
    ORVSTATEDATA GetState();

private:
    // Reads a binary value; false when it is missing or unreadable.
    bool ReadBinary(HKEY root, const CString& path, const CString& name, BYTE* buffer,
                    unsigned long size);
    ORVREGISTRYDATA ReadAccount();
    void WriteAccount(ORVREGISTRYDATA record);
};
