#include "CSkinnedEdit.h"

#include "ClsBitMap.h"
#include "ClsFrameDrawer.h"
#include "CSkin.h"
#include "CScopedSelect.h"
#include "CWindowDC.h"
#include "OrvMessages.h"

#include <algorithm>

void IClsSkinnedEdit::OnEditKeyDown(CSkinnedEdit*, unsigned*, long*) {}
void IClsSkinnedEdit::OnEditKeyChar(CSkinnedEdit*, unsigned*) {}
void IClsSkinnedEdit::OnEditMouseUp(CSkinnedEdit*, int, int, unsigned) {}

CSkinnedEdit::CSkinnedEdit() = default;

CSkinnedEdit::CSkinnedEdit(CWnd* parent, UINT id, EditSkinInfo_t* skin) : m_skin(skin) { Create(parent, id); }

CSkinnedEdit::~CSkinnedEdit() {
    m_dropTarget.Revoke();
    DestroyWindow();
}

const char* CSkinnedEdit::GetRuntimeClassName() const { return "CSkinnedEdit"; }

DWORD CSkinnedEdit::WindowStyle() const { return WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL; }

bool CSkinnedEdit::Create(CWnd* parent, UINT id) {
    RECT place = {0, 0, 0, 0};
    if (m_skin) place = {m_skin->X, m_skin->Y, m_skin->X + m_skin->Width, m_skin->Y + m_skin->Height};
    if (!CEdit::Create(WindowStyle(), place, parent, id)) return false;
    ApplyFont();
    // Without OLE on this thread the edit simply takes no drops.
    m_dropTarget.Register(this);
    return true;
}

void CSkinnedEdit::SetSkinInfo(EditSkinInfo_t* skin) {
    m_skin = skin;
    ApplyFont();
    SetPos(nullptr);
    RePaint();
}

HDWP CSkinnedEdit::SetPos(HDWP batch) {
    if (!m_hWnd) return batch;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    int x = 0, y = 0, width = 0, height = 0;
    if (m_skin) {
        x = m_skin->X;
        y = m_skin->Y;
        width = m_skin->Width;
        height = m_skin->Height;
    } else {
        flags |= SWP_NOMOVE | SWP_NOSIZE;
    }
    if (batch) return ::DeferWindowPos(batch, m_hWnd, nullptr, x, y, width, height, flags);
    ::SetWindowPos(m_hWnd, nullptr, x, y, width, height, flags);
    return batch;
}

void CSkinnedEdit::RePaint(CDC* dc) {
    if (!m_hWnd) return;
    if (dc) {
        PaintFrame(dc->GetSafeHdc());
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CSkinnedEdit::ApplyFont() {
    const SkinBorderInfo_t* cells = Cells();
    if (!m_hWnd || !cells) return;
    CFont font;
    if (!font.CreateFont(cells->TextSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         cells->TextFont.IsEmpty() ? nullptr : static_cast<const char*>(cells->TextFont)))
        return;
    SetFont(&font, FALSE);
    // The window uses the new font now: the old one may go.
    m_font = std::move(font);
}

void CSkinnedEdit::ShrinkByBorders(RECT& rect) const {
    const SkinBorderInfo_t* cells = Cells();
    if (!cells) return;
    rect.left += std::max(cells->LeftBorderWidth, 0);
    rect.top += std::max(cells->TopBorderWidth, 0);
    rect.right -= std::max(cells->RightBorderWidth, 0);
    rect.bottom -= std::max(cells->BottomBorderWidth, 0);
    // Never an inside-out client area, however small the window.
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
}

void CSkinnedEdit::PaintFrame(HDC dc) {
    const SkinBorderInfo_t* cells = Cells();
    if (!dc || !cells || !cells->MainImage || !cells->MainImage->GetIsValid()) return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const RECT area = {0, 0, window.right - window.left, window.bottom - window.top};
    ClsFrameDrawer::DrawEdgesAndCorners(dc, *cells, *cells->MainImage, area);
}

void CSkinnedEdit::PaintDisabled(HDC dc) {
    const SkinBorderInfo_t* cells = Cells();
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    CBrush ground;
    ground.CreateSolidBrush(cells->BgColor);
    ::FillRect(dc, &client, static_cast<HBRUSH>(ground.GetSafeHandle()));

    const bool multiLine = (::GetWindowLongA(m_hWnd, GWL_STYLE) & ES_MULTILINE) != 0;
    CString text = GetWindowText();
    if (multiLine) {
        // From the first line in view, as the enabled memo showed it.
        const LRESULT first = ::SendMessageA(m_hWnd, EM_LINEINDEX, GetFirstVisibleLine(), 0);
        if (first > 0) text = text.Mid(static_cast<int>(first));
    }
    const LRESULT margins = ::SendMessageA(m_hWnd, EM_GETMARGINS, 0, 0);
    RECT area = client;
    area.left += LOWORD(margins);
    area.right -= HIWORD(margins);
    CScopedSaveDC saved(dc);
    CScopedSelect font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, cells->DisabledTextColor);
    ::DrawTextA(dc, text, text.GetLength(), &area,
                DT_NOPREFIX | DT_EDITCONTROL | DT_TOP | (multiLine ? DT_WORDBREAK : DT_SINGLELINE));
}

BOOL CSkinnedEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const SkinBorderInfo_t* cells = Cells();
    if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) && cells && result) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const bool enabled = ::IsWindowEnabled(m_hWnd) != 0;
        ::SetTextColor(dc, enabled ? cells->TextColor : cells->DisabledTextColor);
        ::SetBkColor(dc, cells->BgColor);
        m_background.DeleteObject();
        m_background.CreateSolidBrush(cells->BgColor);
        *result = reinterpret_cast<LRESULT>(m_background.GetSafeHandle());
        return TRUE;
    }
    return CEdit::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CSkinnedEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CSkin::WM_SKIN_CHANGED && message == CSkin::WM_SKIN_CHANGED) {
        ApplyFont();
        SetPos(nullptr);
        RePaint();
        return 0;
    }
    HWND parent = ::GetParent(m_hWnd);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (Cells() && !::IsWindowEnabled(m_hWnd)) {
            PAINTSTRUCT paint{};
            HDC dc = ::BeginPaint(m_hWnd, &paint);
            PaintDisabled(dc);
            ::EndPaint(m_hWnd, &paint);
            return 0;
        }
        break;
    case WM_NCCALCSIZE:
        if (Cells()) {
            RECT& proposed = *reinterpret_cast<RECT*>(lParam);  // first rectangle in both forms
            ShrinkByBorders(proposed);
            // Scroll bars (of the memo) come off what is left.
            return CEdit::WindowProc(message, wParam, lParam);
        }
        break;
    case WM_NCPAINT:
        if (Cells()) {
            if (::GetWindowLongA(m_hWnd, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL))
                CEdit::WindowProc(message, wParam, lParam);
            CWindowDC dc(m_hWnd);
            PaintFrame(dc.GetSafeHdc());
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && ForwardsEnter()) return parent ? ::SendMessageA(parent, message, wParam, lParam) : 0;
        if (m_callBack) {
            unsigned key = static_cast<unsigned>(wParam);
            long flags = static_cast<long>(lParam);
            m_callBack->OnEditKeyDown(this, &key, &flags);
            wParam = key;
            lParam = flags;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_RETURN && ForwardsEnter()) return parent ? ::SendMessageA(parent, message, wParam, lParam) : 0;
        break;
    case WM_CHAR:
        if (wParam == VK_RETURN && ForwardsEnter()) return parent ? ::SendMessageA(parent, message, wParam, lParam) : 0;
        if (m_callBack) {
            unsigned key = static_cast<unsigned>(wParam);
            m_callBack->OnEditKeyChar(this, &key);
            wParam = key;
        }
        break;
    case WM_LBUTTONUP:
        if (m_callBack)
            m_callBack->OnEditMouseUp(this, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                                      static_cast<unsigned>(wParam));
        break;
    case ORV_WM_QUERY_DROP:
        return parent ? ::SendMessageA(parent, ORV_WM_QUERY_DROP, 0, reinterpret_cast<LPARAM>(this)) : 0;
    case ORV_WM_CONTACT_DROPPED:
        return parent ? ::SendMessageA(parent, ORV_WM_CONTACT_DROPPED, reinterpret_cast<WPARAM>(this), lParam) : 0;
    default:
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
