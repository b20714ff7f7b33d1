#include "CSWindow.h"

#include "CSkin.h"

#include <algorithm>
#include <vector>

namespace {
const UINT kKeepOrder = SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE;
}  // namespace

CSWindow::CSWindow() = default;

CSWindow::~CSWindow() { Uninstall(); }

CString CSWindow::GetComponentName() const { return m_theme; }

void CSWindow::OnGetSkinThema(CString* theme) {
    if (theme) *theme = m_theme;
}

bool CSWindow::Install(HWND window) {
    const CString theme = m_theme;
    return Install(window, theme);
}

bool CSWindow::Install(HWND window, const char* themeName) {
    Uninstall();
    m_theme = themeName ? themeName : "";
    CRect client;
    if (!window || !::IsWindow(window) || !GetClientOnScreen(window, &client)) return false;
    // First this component, so that the caption and the frame find the
    // theme when they look for their records.
    if (!CComponent::Install(window)) return false;
    m_border.SetCaption(&m_caption);
    if (!m_caption.Install(window) || !m_border.Install(window) || !HookWindow(window)) {
        Uninstall();
        return false;
    }
    OnHooked();
    RecomputeFrame(window, client);
    m_caption.UpdateShape();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return true;
}

void CSWindow::Uninstall() {
    HWND window = GetHookedWindow();
    CRect client;
    const bool keep = window && ::IsWindow(window) && GetClientOnScreen(window, &client);
    if (window) OnUnhooking();
    m_border.Uninstall();
    m_caption.Uninstall();
    CComponent::Uninstall();
    if (!keep) return;
    RecomputeFrame(window, client);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CSWindow::OnHooked() {}

void CSWindow::OnUnhooking() {}

LRESULT CSWindow::OnSkinChanged() {
    HWND window = GetHookedWindow();
    CRect client;
    const bool keep = window && GetClientOnScreen(window, &client);
    // The caption and the frame behind this component take their records.
    const LRESULT result = Default();
    window = GetHookedWindow();
    if (!window) return result;
    ::InvalidateRect(window, nullptr, TRUE);
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children)
        if (::IsWindow(child)) ::SendMessageA(child, CSkin::WM_SKIN_CHANGED, 0, 0);
    if (keep) RecomputeFrame(window, client);
    m_caption.UpdateShape();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return result;
}

LRESULT CSWindow::OnGetMinMaxInfo(MINMAXINFO* info) {
    const LRESULT result = Default();
    HWND window = GetHookedWindow();
    if (!info || !window || !m_caption.IsSkinned() || (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
        return result;
    RECT work{};
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return result;
    // Maximised, the caption lies along the work area's top; the side and
    // bottom frames lie beyond its edges.
    // Asked while still minimised too, when the window is maximised from there.
    const CRect frames = m_border.GetFrameWidths();
    const int left = frames.left, right = frames.right, bottom = frames.bottom;
    info->ptMaxPosition.x = work.left - left;
    info->ptMaxPosition.y = work.top;
    info->ptMaxSize.x = (work.right - work.left) + left + right;
    info->ptMaxSize.y = (work.bottom - work.top) + bottom;
    // Never smaller than its frames and the caption over the bottom frame.
    info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, left + right);
    info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, m_caption.GetHeight() + bottom);
    return result;
}

bool CSWindow::GetClientOnScreen(HWND window, CRect* client) {
    if (!window || !client || !::GetClientRect(window, client)) return false;
    POINT origin{0, 0};
    if (!::ClientToScreen(window, &origin)) return false;
    client->OffsetRect(origin.x, origin.y);
    return true;
}

void CSWindow::RecomputeFrame(HWND window, const CRect& clientOnScreen) {
    if (!window || !::IsWindow(window)) return;
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | kKeepOrder);
    // A maximised or minimised window keeps the place the system gives it.
    if (::IsZoomed(window) || ::IsIconic(window)) return;
    CRect bounds, client;
    if (!::GetWindowRect(window, &bounds) || !GetClientOnScreen(window, &client)) return;
    // The new frame's thickness on each side, put around the old client area.
    CRect wanted(clientOnScreen.left - (client.left - bounds.left), clientOnScreen.top - (client.top - bounds.top),
                 clientOnScreen.right + (bounds.right - client.right),
                 clientOnScreen.bottom + (bounds.bottom - client.bottom));
    if (wanted == bounds) return;
    if (HWND parent = ::GetParent(window); parent && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wanted), 2);
    ::SetWindowPos(window, nullptr, wanted.left, wanted.top, wanted.Width(), wanted.Height(), kKeepOrder);
}
