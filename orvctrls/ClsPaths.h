#pragma once
// The found paths as plain text lines, for printing and saving: the
// display names of each path joined by " -> ".
#include "OrvCtrlsExport.h"

#include "CObject.h"
#include "CString.h"

#include <vector>

class ClsPath;

class ORVCTRLS_API ClsPaths : public CObject {
public:
    static constexpr const char* kSeparator = " -> ";

    ClsPaths();
    ~ClsPaths() override;
    ClsPaths(const ClsPaths&) = delete;
    ClsPaths& operator=(const ClsPaths&) = delete;

    // Adds the text of path (null is ignored).
    void Add(const ClsPath* path);
    void Clear();
    int GetCount() const { return static_cast<int>(m_lines.size()); }
    // The text of one path; empty outside 0 .. GetCount() - 1.
    CString GetPaths(int index) const;

    const char* GetRuntimeClassName() const override;

private:
    std::vector<CString> m_lines;
};
