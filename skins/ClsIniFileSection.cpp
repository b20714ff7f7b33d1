#include "ClsIniFileSection.h"

#include <cstring>

ClsIniFileSection::ClsIniFileSection(const char* name, uint32_t nameLength)
    : m_name(new char[static_cast<size_t>(nameLength) + 1]()) {
    if (nameLength) std::memcpy(m_name.get(), name, nameLength);
}

ClsIniFileToken* ClsIniFileSection::FindToken(const char* name) const {
    if (!name) return nullptr;
    for (const auto& token : m_tokens) {
        if (std::strcmp(token->GetName(), name) == 0) return token.get();
    }
    return nullptr;
}

void ClsIniFileSection::AddToken(std::unique_ptr<ClsIniFileToken> token) {
    m_tokens.push_back(std::move(token));
}
