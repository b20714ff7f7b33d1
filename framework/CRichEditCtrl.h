#pragma once
#include "CComPtr.h"
#include "CString.h"
#include "CWnd.h"
#include "FrameworkExport.h"

#include <windows.h>
#include <richedit.h>
#include <richole.h>

#include <string>

// A Rich Edit 2.0 control ("RichEdit20A" of riched20.dll, loaded once per
// process and kept until it ends). Positions are character positions; an
// embedded object counts as one character.
class FW_API CRichEditCtrl : public CWnd {
public:
    using CWnd::Create;
    // Loads riched20.dll when it is not loaded yet; false when the system
    // has none (Create fails then).
    static bool LoadRichEdit();
    // A child rich edit (WS_CHILD is added).
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    long GetTextLength() const;
    // The text as UTF-16, embedded objects as WCH_EMBEDDING, paragraph
    // ends as CR: one character per position.
    std::wstring GetTextW() const;
    void GetSel(long& start, long& end) const;
    void SetSel(long start, long end);
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    BOOL SetSelectionCharFormat(CHARFORMAT2A& format);
    BOOL SetDefaultCharFormat(CHARFORMAT2A& format);
    BOOL GetSelectionCharFormat(CHARFORMAT2A& format) const;
    // The previous background colour.
    COLORREF SetBackgroundColor(BOOL useSystemColor, COLORREF color);
    DWORD SetEventMask(DWORD mask);
    void LimitText(long maxCharacters);
    long GetLimitText() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void HideSelection(BOOL hide, BOOL permanent);
    int GetLineCount() const;
    int GetFirstVisibleLine() const;
    // The control's OLE side (objects embedded in the text).
    CComPtr<IRichEditOle> GetIRichEditOle() const;

    const char* GetRuntimeClassName() const override;
};
