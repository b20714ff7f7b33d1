#pragma once
// One installed skin: the name shown to the user, the skin's directory (with
// its trailing separator) and whether it is a base skin. Owned by the skin
// reader's list.
#include "SkinsExport.h"

#include "CString.h"

class SKINS_API ClsSkinName {
public:
    ClsSkinName(const char* name, const char* directory, bool isBaseSkin);
    ClsSkinName(const ClsSkinName&) = delete;
    ClsSkinName& operator=(const ClsSkinName&) = delete;

    const char* GetName() const { return m_name; }
    const char* GetDirectory() const { return m_directory; }
    bool GetIsBaseSkin() const { return m_isBaseSkin; }
    // The directory's last component, still with its trailing separator
    // ("Blue\" for "...\Skins\Blue\"): a pointer into the stored directory.
    // This is the text callers keep as the chosen skin and hand to
    // OrvSkinReader::SetSkinByDirectory.
    const char* GetLastDirectory() const;

private:
    CString m_name;
    CString m_directory;
    bool m_isBaseSkin;
};
