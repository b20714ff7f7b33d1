#include "OrvToolTip.h"

#include "ClsSystemVersion.h"

#include <commctrl.h>

OrvToolTip::OrvToolTip() = default;
OrvToolTip::~OrvToolTip() = default;

bool OrvToolTip::Create(HWND owner, bool balloon) {
    if (m_window.GetSafeHwnd() || !owner) return false;
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
    m_owner = owner;
    m_balloon = balloon && ClsSystemVersion::GetInstance()->GetIsBalloonToolTips();
    DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (m_balloon) style |= TTS_BALLOON;
    if (!m_window.CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr))
        return false;
    m_window.SendMessage(TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    if (m_balloon) {
        RECT margins{-5, -5, -5, -5};
        m_window.SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    }
    m_active = false;
    m_window.SendMessage(TTM_ACTIVATE, FALSE, 0);
    return true;
}

namespace {

TOOLINFOA ToolInfo(HWND owner, UINT_PTR id, bool isWindow) {
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.uId = id;
    if (isWindow) info.uFlags = TTF_IDISHWND;
    return info;
}

}  // namespace

bool OrvToolTip::AddTool(HWND tool, const CString& text) {
    if (!m_window.GetSafeHwnd() || !tool || text.IsEmpty()) return false;
    CString copy = text;
    TOOLINFOA info = ToolInfo(m_owner, reinterpret_cast<UINT_PTR>(tool), true);
    info.lpszText = copy.GetBuffer(copy.GetLength());
    const bool added = m_window.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
    copy.ReleaseBuffer();
    return added;
}

bool OrvToolTip::AddRectTool(UINT id, const RECT& rect, const CString& text) {
    if (!m_window.GetSafeHwnd() || text.IsEmpty()) return false;
    CString copy = text;
    TOOLINFOA info = ToolInfo(m_owner, id, false);
    info.rect = rect;
    info.lpszText = copy.GetBuffer(copy.GetLength());
    const bool added = m_window.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
    copy.ReleaseBuffer();
    return added;
}

void OrvToolTip::MoveRectTool(UINT id, const RECT& rect) {
    if (!m_window.GetSafeHwnd()) return;
    TOOLINFOA info = ToolInfo(m_owner, id, false);
    info.rect = rect;
    m_window.SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

void OrvToolTip::Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_window.GetSafeHwnd()) return;
    MSG relayed{};
    relayed.hwnd = window;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = static_cast<DWORD>(::GetMessageTime());
    ::GetCursorPos(&relayed.pt);
    m_window.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

CString OrvToolTip::GetToolText(HWND tool) const { return GetText(reinterpret_cast<UINT_PTR>(tool), true); }

CString OrvToolTip::GetRectToolText(UINT id) const { return GetText(id, false); }

CString OrvToolTip::GetText(UINT_PTR id, bool isWindow) const {
    if (!m_window.GetSafeHwnd()) return CString();
    TOOLINFOA info = ToolInfo(m_owner, id, isWindow);
    char buffer[512] = {};
    info.lpszText = buffer;
    // The control copies the text into the buffer, which must hold 80
    // characters at least; ours are shorter than the buffer.
    ::SendMessageA(m_window.GetSafeHwnd(), TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&info));
    buffer[sizeof buffer - 1] = '\0';
    return CString(buffer);
}

int OrvToolTip::GetToolCount() const {
    if (!m_window.GetSafeHwnd()) return 0;
    return static_cast<int>(::SendMessageA(m_window.GetSafeHwnd(), TTM_GETTOOLCOUNT, 0, 0));
}

void OrvToolTip::Activate(bool active) {
    m_active = active;
    if (m_window.GetSafeHwnd()) m_window.SendMessage(TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}
