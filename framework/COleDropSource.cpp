#include "COleDropSource.h"

#include "AfxTrace.h"
#include "CWnd.h"

namespace {
UINT g_dragStartDistance = 4;
UINT g_dragDelay = 200;
const UINT_PTR kDelayTimer = 0x7E5D;
}  // namespace

COleDropSource::COleDropSource() : m_sink(*this) {}
COleDropSource::~COleDropSource() = default;

UINT COleDropSource::GetDragStartDistance() { return g_dragStartDistance; }
void COleDropSource::SetDragStartDistance(UINT pixels) { g_dragStartDistance = pixels; }
UINT COleDropSource::GetDragDelay() { return g_dragDelay; }
void COleDropSource::SetDragDelay(UINT milliseconds) { g_dragDelay = milliseconds; }

const char* COleDropSource::GetRuntimeClassName() const { return "COleDropSource"; }

BOOL COleDropSource::OnBeginDrag(CWnd* window, const RECT* startRect) {
    HWND hwnd = window ? window->GetSafeHwnd() : nullptr;
    if (!hwnd) return FALSE;
    RECT area{};
    if (startRect) {
        area = *startRect;
    } else {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const int d = static_cast<int>(g_dragStartDistance);
        area = {cursor.x - d, cursor.y - d, cursor.x + d + 1, cursor.y + d + 1};
    }
    ::SetCapture(hwnd);
    if (::GetCapture() != hwnd) return FALSE;
    const UINT_PTR timer = ::SetTimer(hwnd, kDelayTimer, g_dragDelay, nullptr);
    BOOL drag = FALSE;
    bool deciding = true;
    MSG msg{};
    while (deciding && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (::GetCapture() != hwnd) break;
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            POINT at = msg.pt;
            if (!::PtInRect(&area, at)) {
                drag = TRUE;
                deciding = false;
            }
            continue;
        }
        case WM_TIMER:
            if (msg.hwnd == hwnd && msg.wParam == kDelayTimer) {
                drag = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
                deciding = false;
                continue;
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            deciding = false;
            continue;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) deciding = false;
            continue;
        default:
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
    if (timer) ::KillTimer(hwnd, kDelayTimer);
    if (::GetCapture() == hwnd) ::ReleaseCapture();
    return drag;
}

DROPEFFECT COleDropSource::DoDragDrop(IDataObject* data, DWORD allowedEffects) {
    if (!data) return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = ::DoDragDrop(data, &m_sink, allowedEffects, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

HRESULT STDMETHODCALLTYPE COleDropSource::Sink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
        *object = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE COleDropSource::Sink::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    try {
        return m_source.QueryContinueDrag(escapePressed, keyState);
    } catch (...) {
        AfxTraceCaughtException("framework: drop source, continue drag");
        return DRAGDROP_S_CANCEL;
    }
}

HRESULT STDMETHODCALLTYPE COleDropSource::Sink::GiveFeedback(DWORD effect) {
    try {
        return m_source.GiveFeedback(effect);
    } catch (...) {
        AfxTraceCaughtException("framework: drop source, feedback");
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
}
