#pragma once
#include "CString.h"
#include "CWnd.h"
#include "FrameworkExport.h"

#include <windows.h>

// An edit control of the system's "EDIT" class.
class FW_API CEdit : public CWnd {
public:
    using CWnd::Create;
    // A child edit (WS_CHILD is added).
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetLimitText(UINT maxCharacters);
    UINT GetLimitText() const;
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL Undo();
    BOOL CanUndo() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    int GetLineCount() const;
    int GetFirstVisibleLine() const;
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);

    const char* GetRuntimeClassName() const override;
};
