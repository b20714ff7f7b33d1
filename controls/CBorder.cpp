#include "CBorder.h"

#include "CCaption.h"
#include "CSkin.h"

#include "CDC.h"
#include "CScopedSelect.h"
#include "CWindowDC.h"

#include <algorithm>
#include <initializer_list>

namespace {
bool IsShown(HWND window) { return (::GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }
}  // namespace

CBorder::CBorder() = default;

CBorder::~CBorder() { Uninstall(); }

CString CBorder::GetComponentName() const { return "border"; }

bool CBorder::Install(HWND window) {
    Uninstall();
    if (!CComponent::Install(window)) return false;
    m_active = ::GetActiveWindow() == window;
    LoadSkin();
    return true;
}

void CBorder::Uninstall() {
    CComponent::Uninstall();
    m_skin.Reset();
}

void CBorder::LoadSkin() {
    S_STD_SKININFO* record = CSkin::GetInstance()->GetComponent(GetOwnerSkinName());
    auto* frame = dynamic_cast<FrameSkin*>(record);
    if (!frame && record) record->Release();
    m_skin.Reset(frame);
}

bool CBorder::HasFrameStyle() const {
    HWND window = GetHookedWindow();
    if (!window || !IsSkinned()) return false;
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    return (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) || (exStyle & WS_EX_DLGMODALFRAME);
}

bool CBorder::HasFrames() const { return HasFrameStyle() && !::IsIconic(GetHookedWindow()); }

CRect CBorder::GetFrameWidths() const {
    if (!HasFrameStyle()) return CRect();
    const BorderGeometry_t& cells = m_skin->Border;
    return CRect(std::max(0, cells.LeftBorderWidth), 0, std::max(0, cells.RightBorderWidth),
                 std::max(0, cells.BottomBorderWidth));
}

CSize CBorder::WindowSize() const {
    CRect bounds;
    if (HWND window = GetHookedWindow()) ::GetWindowRect(window, &bounds);
    return bounds.Size();
}

int CBorder::CaptionHeight(int windowHeight) const {
    const int height = m_caption && m_caption->GetHookedWindow() ? m_caption->GetHeight() : 0;
    return std::clamp(height, 0, std::max(windowHeight, 0));
}

int CBorder::GetLeftWidth() const { return HasFrames() ? std::max(0, m_skin->Border.LeftBorderWidth) : 0; }

int CBorder::GetRightWidth() const { return HasFrames() ? std::max(0, m_skin->Border.RightBorderWidth) : 0; }

int CBorder::GetBottomWidth() const { return HasFrames() ? std::max(0, m_skin->Border.BottomBorderWidth) : 0; }

CRect CBorder::GetLeftRect() const {
    if (!HasFrames()) return CRect();
    const CSize size = WindowSize();
    return CRect(0, CaptionHeight(size.cy), GetLeftWidth(), size.cy);
}

CRect CBorder::GetRightRect() const {
    if (!HasFrames()) return CRect();
    const CSize size = WindowSize();
    return CRect(size.cx - GetRightWidth(), CaptionHeight(size.cy), size.cx, size.cy);
}

CRect CBorder::GetBottomRect() const {
    if (!HasFrames()) return CRect();
    const CSize size = WindowSize();
    return CRect(0, size.cy - GetBottomWidth(), size.cx, size.cy);
}

bool CBorder::GetFrameRegion(CRgn* region) const {
    if (!region) return false;
    region->DeleteObject();
    region->CreateRectRgn(0, 0, 0, 0);
    bool any = false;
    for (const CRect& frame : {GetLeftRect(), GetRightRect(), GetBottomRect()}) {
        if (frame.IsRectEmpty()) continue;
        CRgn piece;
        piece.CreateRectRgnIndirect(&frame);
        region->CombineRgn(region, &piece, RGN_OR);
        any = true;
    }
    return any;
}

UINT CBorder::HitTest(POINT point) const {
    if (!HasFrames()) return HTNOWHERE;
    const CRect left = GetLeftRect(), right = GetRightRect(), bottom = GetBottomRect();
    const bool inBottom = bottom.PtInRect(point);
    if (!inBottom && !left.PtInRect(point) && !right.PtInRect(point)) return HTNOWHERE;
    HWND window = GetHookedWindow();
    if (!(::GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME) || ::IsZoomed(window)) return HTBORDER;
    // The corners reach as far along the frames as the caption's do.
    const CSize size = WindowSize();
    const int cornerX = ::GetSystemMetrics(SM_CXICON), cornerY = ::GetSystemMetrics(SM_CYICON);
    if (inBottom) {
        if (point.x < std::max(cornerX, left.Width())) return HTBOTTOMLEFT;
        if (point.x >= size.cx - std::max(cornerX, right.Width())) return HTBOTTOMRIGHT;
        return HTBOTTOM;
    }
    const bool nearBottom = point.y >= size.cy - std::max(cornerY, bottom.Height());
    if (left.PtInRect(point)) return nearBottom ? HTBOTTOMLEFT : HTLEFT;
    return nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
}

void CBorder::Redraw() {
    HWND window = GetHookedWindow();
    if (!HasFrames() || !IsShown(window)) return;
    CWindowDC dc(window);
    Draw(dc);
}

void CBorder::Draw(HDC dc) {
    CRgn clip;
    if (!dc || !HasFrames() || !GetFrameRegion(&clip)) return;
    const FrameSkin& skin = *m_skin.Get();
    const BorderGeometry_t& cells = skin.Border;
    const CSize size = WindowSize();
    const int top = CaptionHeight(size.cy);
    const int left = GetLeftWidth(), right = GetRightWidth(), bottom = GetBottomWidth();
    // The inactive cells lie one cell below the active ones.
    const bool inactive = !m_active;
    const int leftDy = inactive ? cells.LeftBorderLength : 0;
    const int rightDy = inactive ? cells.RightBorderLength : 0;
    const int bottomDy = inactive ? cells.BottomBorderWidth : 0;

    CScopedSaveDC save(dc);
    ::SelectClipRgn(dc, clip);
    // A frame whose image is missing still covers the system's.
    CDC target = CDC::Borrow(dc);
    target.FillSolidRect(0, 0, size.cx, size.cy, m_skin->Border.BgColor);
    skin.LeftFrameImage.Draw(dc, 0, top, left, size.cy - top, cells.LeftBorderX, cells.LeftBorderY + leftDy, left,
                             cells.LeftBorderLength);
    skin.RightFrameImage.Draw(dc, size.cx - right, top, right, size.cy - top, cells.RightBorderX,
                              cells.RightBorderY + rightDy, right, cells.RightBorderLength);
    skin.BottomFrameImage.Draw(dc, 0, size.cy - bottom, size.cx, bottom, cells.BottomBorderX,
                               cells.BottomBorderY + bottomDy, cells.BottomBorderLength, bottom);
    skin.BottomFrameImage.Draw(dc, 0, size.cy - bottom, left, bottom, cells.LeftBottomCornerX,
                               cells.LeftBottomCornerY + bottomDy, left, bottom);
    skin.BottomFrameImage.Draw(dc, size.cx - right, size.cy - bottom, right, bottom, cells.RightBottomCornerX,
                               cells.RightBottomCornerY + bottomDy, right, bottom);
}

LRESULT CBorder::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_SETTEXT || message == WM_SETICON) && HasFrames()) {
        // A caption left to the system repaints the system's frame with it.
        const LRESULT result = CallNext(message, wParam, lParam);
        if (!m_caption || !m_caption->IsSkinned()) Redraw();
        return result;
    }
    return CComponent::WindowProc(message, wParam, lParam);
}

LRESULT CBorder::OnSkinChanged() {
    const LRESULT result = Default();
    if (GetHookedWindow()) LoadSkin();
    return result;
}

void CBorder::OnNcCalcSize(WMNCCalcSize_t& m) {
    RECT* proposed = m.ProposedRect();
    if (!proposed || !HasFrames()) {
        m.Result = Default();
        return;
    }
    const RECT window = *proposed;
    // The caption (or the system) decides the top; the sides and the bottom
    // are this frame's instead of the system's.
    m.Result = Default();
    proposed->left = window.left + GetLeftWidth();
    proposed->right = std::max<LONG>(proposed->left, window.right - GetRightWidth());
    proposed->bottom = std::max<LONG>(proposed->top, window.bottom - GetBottomWidth());
}

void CBorder::OnNcHitTest(WMNCHitTest_t& m) {
    if (HWND window = GetHookedWindow(); window && HasFrames()) {
        CRect bounds;
        ::GetWindowRect(window, &bounds);
        const UINT hit = HitTest(CPoint(m.XPos() - bounds.left, m.YPos() - bounds.top));
        if (hit != HTNOWHERE) {
            m.Result = hit;
            return;
        }
    }
    m.Result = Default();
}

void CBorder::OnNcPaint(WMNCPaint_t& m) {
    m.Result = Default();
    Redraw();
}

void CBorder::OnNcActivate(WMNCActivate_t& m) {
    m_active = m.Active();
    m.Result = Default();
    if (m.LParam != -1) Redraw();
}
