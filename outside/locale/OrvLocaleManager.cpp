#include "OrvLocaleManager.h"

#include "LocaleTable.h"

#include <cstring>
#include <string>

namespace {

constexpr size_t kMaxLanguageLength = 16;

// A plain name keeps the file inside the locale directory.
bool IsLanguageName(const char* language) {
    if (!language) return false;
    const size_t length = std::strlen(language);
    if (length == 0 || length > kMaxLanguageLength) return false;
    for (size_t i = 0; i < length; ++i) {
        const char ch = language[i];
        const bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                           (ch >= '0' && ch <= '9') || ch == '-' || ch == '_';
        if (!plain) return false;
    }
    return true;
}

}  // namespace

OrvLocaleManager::OrvLocaleManager(const char* localeDirectory, const char* language)
    : m_table(std::make_unique<LocaleTable>()) {
    if (!localeDirectory || !*localeDirectory || !IsLanguageName(language)) return;
    std::string path = localeDirectory;
    if (path.back() != '\\' && path.back() != '/') path += '\\';
    path += language;
    path += ".txt";
    m_table->LoadFile(path);
}

OrvLocaleManager::~OrvLocaleManager() = default;

CString OrvLocaleManager::GetString(const char* key) const {
    if (const std::string* text = m_table->Find(key))
        return CString(text->c_str(), static_cast<int>(text->size()));
    // Visible on screen, and bounded whatever the caller passed.
    const size_t keyLength = key ? strnlen(key, LocaleTable::kMaxKeyLength) : 0;
    return "[" + CString(key ? key : "", static_cast<int>(keyLength)) + "]";
}

bool OrvLocaleManager::HasString(const char* key) const { return m_table->Find(key) != nullptr; }
