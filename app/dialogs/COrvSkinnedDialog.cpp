#include "COrvSkinnedDialog.h"

#include "CSMessageBox.h"

#include <algorithm>

const char* const COrvSkinnedDialog::kThemeName = "dialog";

namespace {
const COLORREF kLinkColor = RGB(0, 0, 255);
}

UINT COrvSkinnedDialog::GetCloseMessage() {
    static const UINT message = ::RegisterWindowMessageA("WM_OrvCloseDialog");
    return message;
}

COrvSkinnedDialog::COrvSkinnedDialog(UINT templateId) : CDialog(templateId), m_templateId(templateId) {}

COrvSkinnedDialog::~COrvSkinnedDialog() {
    // The skin hooks the window: it leaves before the window goes.
    if (IsWindow()) DestroyWindow();
}

bool COrvSkinnedDialog::Create(CWnd* parent) {
    m_notify = parent ? parent->GetSafeHwnd() : nullptr;
    return CDialog::Create(m_templateId, parent);
}

BOOL COrvSkinnedDialog::OnInitDialog() {
    m_skin.Install(m_hWnd, kThemeName);
    return TRUE;
}

HBRUSH COrvSkinnedDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
    HBRUSH brush = CDialog::OnCtlColor(dc, wnd, kind);
    if (!dc || !wnd || kind != CTLCOLOR_STATIC) return brush;
    const int id = wnd->GetDlgCtrlID();
    if (IsLink(wnd->GetSafeHwnd())) ::SetTextColor(dc->GetSafeHdc(), ReadableInk(kLinkColor, m_skin.GetBackgroundColor()));
    for (const ItemColor& item : m_colors)
        if (item.id == id) ::SetTextColor(dc->GetSafeHdc(), ReadableInk(item.color, m_skin.GetBackgroundColor()));
    return brush;
}

void COrvSkinnedDialog::OnOK() {}

void COrvSkinnedDialog::OnCancel() { PostResult(kQuit); }

void COrvSkinnedDialog::PostResult(int result) {
    m_lastResult = result;
    ::PostMessageA(GetNotifyWindow(), GetCloseMessage(), static_cast<WPARAM>(result), 0);
}

int COrvSkinnedDialog::ShowMessage(const char* text, const char* caption, UINT type) {
    return CSMessageBox::MessageBoxA(m_hWnd, text, caption, type);
}

void COrvSkinnedDialog::ShowProblem(const OrvEntryProblem& problem) {
    if (!problem.IsProblem()) return;
    ShowMessage(problem.text, problem.caption, MB_OK | MB_ICONEXCLAMATION);
    if (HWND field = ::GetDlgItem(m_hWnd, problem.field)) {
        ::SetFocus(field);
        ::SendMessageA(field, EM_SETSEL, 0, -1);
    }
}

CString COrvSkinnedDialog::GetItemText(int id) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) return CString();
    const int length = ::GetWindowTextLengthA(item);
    CString text;
    char* buffer = text.GetBuffer(length + 1);
    const int copied = ::GetWindowTextA(item, buffer, length + 1);
    text.ReleaseBuffer(copied < 0 ? 0 : copied);
    return text;
}

void COrvSkinnedDialog::SetItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text ? text : ""); }

bool COrvSkinnedDialog::IsItemChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }

void COrvSkinnedDialog::SetItemChecked(int id, bool checked) {
    ::CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void COrvSkinnedDialog::SetItemColor(int id, COLORREF color) {
    m_colors.erase(std::remove_if(m_colors.begin(), m_colors.end(), [id](const ItemColor& c) { return c.id == id; }),
                   m_colors.end());
    if (color != CLR_INVALID) m_colors.push_back({id, color});
}

void COrvSkinnedDialog::MakeLink(int id) {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) return;
    if (!m_linkFont.GetSafeHandle()) {
        LOGFONTA face{};
        HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(item, WM_GETFONT, 0, 0));
        if (!dialogFont || !::GetObjectA(dialogFont, sizeof face, &face))
            ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
        face.lfUnderline = TRUE;
        m_linkFont.CreateFontIndirect(&face);
    }
    ::SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.GetSafeHandle()), TRUE);
    ::SetWindowLongA(item, GWL_STYLE, ::GetWindowLongA(item, GWL_STYLE) | SS_NOTIFY);
    if (std::find(m_links.begin(), m_links.end(), id) == m_links.end()) m_links.push_back(id);
}

void COrvSkinnedDialog::MakeBold(int id) {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) return;
    if (!m_boldFont.GetSafeHandle()) {
        LOGFONTA face{};
        HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(item, WM_GETFONT, 0, 0));
        if (!dialogFont || !::GetObjectA(dialogFont, sizeof face, &face))
            ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
        face.lfWeight = FW_BOLD;
        m_boldFont.CreateFontIndirect(&face);
    }
    ::SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.GetSafeHandle()), TRUE);
}

COLORREF COrvSkinnedDialog::ReadableInk(COLORREF ink, COLORREF background) {
    const auto luma = [](COLORREF c) { return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100; };
    if (luma(background) >= 110 || luma(ink) >= 110) return ink;
    // Three fifths of the way to white.
    const auto lighten = [](int channel) { return channel + (255 - channel) * 3 / 5; };
    return RGB(lighten(GetRValue(ink)), lighten(GetGValue(ink)), lighten(GetBValue(ink)));
}

bool COrvSkinnedDialog::IsLink(HWND control) const {
    const int id = ::GetDlgCtrlID(control);
    return std::find(m_links.begin(), m_links.end(), id) != m_links.end();
}

bool COrvSkinnedDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_SETCURSOR && IsLink(reinterpret_cast<HWND>(wParam))) {
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        *result = TRUE;
        return true;
    }
    return CDialog::OnWndMsg(message, wParam, lParam, result);
}
