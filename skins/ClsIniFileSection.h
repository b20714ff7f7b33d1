#pragma once
// One "[name]" block of a skin description: its entries in file order.
#include "ClsIniFileToken.h"

#include <cstdint>
#include <memory>
#include <vector>

class ClsIniFileSection {
public:
    // Copies the name as it stands (case and inner blanks kept).
    ClsIniFileSection(const char* name, uint32_t nameLength);
    ClsIniFileSection(const ClsIniFileSection&) = delete;
    ClsIniFileSection& operator=(const ClsIniFileSection&) = delete;

    const char* GetName() const { return m_name.get(); }
    // The first entry of that exact (case-sensitive) name; null when none.
    ClsIniFileToken* FindToken(const char* name) const;
    void AddToken(std::unique_ptr<ClsIniFileToken> token);

private:
    std::unique_ptr<char[]> m_name;
    std::vector<std::unique_ptr<ClsIniFileToken>> m_tokens;
};
