#pragma once
// The texts of the user interface by key, read once from the language file
// "<locale directory><language>.txt" (format: README.md). Never fails: a key
// the file lacks, or a missing or damaged file, answers "[KEY]", so what is
// missing shows on screen. Read-only after construction, so any thread may ask.
#include "CString.h"
#include "LocaleExport.h"

#include <memory>

class LocaleTable;

class LOCALE_API OrvLocaleManager {
public:
    // localeDirectory may end with a separator or not; language is a plain
    // name such as "EN" (letters, digits, '-' and '_').
    OrvLocaleManager(const char* localeDirectory, const char* language);
    ~OrvLocaleManager();
    OrvLocaleManager(const OrvLocaleManager&) = delete;
    OrvLocaleManager& operator=(const OrvLocaleManager&) = delete;

    // The text of key, or the placeholder "[key]".
    CString GetString(const char* key) const;
    // Whether the language file gave a text for key.
    bool HasString(const char* key) const;

private:
    std::unique_ptr<LocaleTable> m_table;
};
