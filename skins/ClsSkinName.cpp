#include "ClsSkinName.h"

namespace {
bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }
}  // namespace

ClsSkinName::ClsSkinName(const char* name, const char* directory, bool isBaseSkin)
    : m_name(name ? name : ""), m_directory(directory ? directory : ""), m_isBaseSkin(isBaseSkin) {}

const char* ClsSkinName::GetLastDirectory() const {
    const char* text = m_directory;
    int end = m_directory.GetLength();
    if (end > 0 && IsSeparator(text[end - 1])) --end;
    int start = end;
    while (start > 0 && !IsSeparator(text[start - 1])) --start;
    return text + start;
}
