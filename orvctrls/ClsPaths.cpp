#include "ClsPaths.h"

#include "ClsPath.h"

ClsPaths::ClsPaths() = default;
ClsPaths::~ClsPaths() = default;

void ClsPaths::Add(const ClsPath* path) {
    if (path) m_lines.push_back(path->Join(kSeparator));
}

void ClsPaths::Clear() { m_lines.clear(); }

CString ClsPaths::GetPaths(int index) const {
    return index >= 0 && index < GetCount() ? m_lines[static_cast<size_t>(index)] : CString();
}

const char* ClsPaths::GetRuntimeClassName() const { return "ClsPaths"; }
