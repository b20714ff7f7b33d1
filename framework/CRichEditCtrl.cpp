#include "CRichEditCtrl.h"

namespace {
// riched20.dll for the rest of the process, once loaded.
class RichEditLibrary {
public:
    static RichEditLibrary& Instance() {
        static RichEditLibrary library;
        return library;
    }
    bool Loaded() const { return m_module != nullptr; }

private:
    RichEditLibrary() : m_module(::LoadLibraryA("riched20.dll")) {}
    ~RichEditLibrary() {
        if (m_module) ::FreeLibrary(m_module);
    }
    HMODULE m_module;
};
}  // namespace

bool CRichEditCtrl::LoadRichEdit() { return RichEditLibrary::Instance().Loaded(); }

bool CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!LoadRichEdit()) return false;
    return CWnd::Create(RICHEDIT_CLASSA, "", style, rect, parent, id);
}

long CRichEditCtrl::GetTextLength() const {
    GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<long>(::SendMessageA(m_hWnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

std::wstring CRichEditCtrl::GetTextW() const {
    const long length = GetTextLength();
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX query{};
    query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    query.flags = GT_DEFAULT;
    query.codepage = 1200;  // UTF-16
    const LRESULT copied = ::SendMessageW(m_hWnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                          reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void CRichEditCtrl::GetSel(long& start, long& end) const {
    CHARRANGE range{};
    ::SendMessageA(m_hWnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    start = range.cpMin;
    end = range.cpMax;
}

void CRichEditCtrl::SetSel(long start, long end) {
    CHARRANGE range{start, end};
    ::SendMessageA(m_hWnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void CRichEditCtrl::ReplaceSel(const char* text, BOOL canUndo) {
    ::SendMessageA(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text ? text : ""));
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT2A& format) {
    format.cbSize = sizeof format;
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT2A& format) {
    format.cbSize = sizeof format;
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)));
}

BOOL CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT2A& format) const {
    format.cbSize = sizeof format;
    ::SendMessageA(m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return TRUE;
}

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL useSystemColor, COLORREF color) {
    return static_cast<COLORREF>(::SendMessageA(m_hWnd, EM_SETBKGNDCOLOR, static_cast<WPARAM>(useSystemColor), color));
}

DWORD CRichEditCtrl::SetEventMask(DWORD mask) {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, EM_SETEVENTMASK, 0, mask));
}

void CRichEditCtrl::LimitText(long maxCharacters) { ::SendMessageA(m_hWnd, EM_EXLIMITTEXT, 0, maxCharacters); }

long CRichEditCtrl::GetLimitText() const { return static_cast<long>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }

BOOL CRichEditCtrl::SetReadOnly(BOOL readOnly) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(readOnly), 0));
}

void CRichEditCtrl::HideSelection(BOOL hide, BOOL permanent) {
    ::SendMessageA(m_hWnd, EM_HIDESELECTION, static_cast<WPARAM>(hide), permanent);
}

int CRichEditCtrl::GetLineCount() const { return static_cast<int>(::SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0)); }

int CRichEditCtrl::GetFirstVisibleLine() const {
    return static_cast<int>(::SendMessageA(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0));
}

CComPtr<IRichEditOle> CRichEditCtrl::GetIRichEditOle() const {
    CComPtr<IRichEditOle> ole;
    ::SendMessageA(m_hWnd, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(ole.Receive()));
    return ole;
}

const char* CRichEditCtrl::GetRuntimeClassName() const { return "CRichEditCtrl"; }
