#include "CCaption.h"

#include "CSkin.h"

#include "CScopedSelect.h"
#include "CWindowDC.h"

#include <algorithm>
#include <initializer_list>

namespace {
bool IsShown(HWND window) { return (::GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

CRect WindowRect(HWND window) {
    CRect rect;
    ::GetWindowRect(window, &rect);
    return rect;
}

// A screen point relative to the window's top left corner, as the caption
// places its parts.
CPoint WindowPoint(HWND window, POINT screen) {
    const CRect bounds = WindowRect(window);
    return CPoint(screen.x - bounds.left, screen.y - bounds.top);
}

// The close item of the window's system menu decides the close button.
bool CanClose(HWND window) {
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (!menu) return false;
    const UINT state = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

CPoint LParamPoint(LPARAM lParam) { return CPoint(LParamX(lParam), LParamY(lParam)); }
}  // namespace

CCaption::CCaption()
    : m_close(this, CCaptionButton::kColumnClose, HTCLOSE),
      m_maximize(this, CCaptionButton::kColumnRestore, HTMAXBUTTON),
      m_minimize(this, CCaptionButton::kColumnMinimize, HTMINBUTTON) {}

CCaption::~CCaption() { Uninstall(); }

CString CCaption::GetComponentName() const { return "caption"; }

bool CCaption::Install(HWND window) {
    Uninstall();
    if (!CComponent::Install(window)) return false;
    ReadWindowState();
    LoadSkin();
    UpdateShape();
    return true;
}

void CCaption::Uninstall() {
    if (HWND window = GetHookedWindow()) {
        ::KillTimer(window, kHoverTimerId);
        m_tracking = nullptr;
        if (::GetCapture() == window) ::ReleaseCapture();
        if (m_shaped && ::IsWindow(window)) ::SetWindowRgn(window, nullptr, IsShown(window));
    }
    m_tracking = nullptr;
    m_rightPressed = false;
    m_shaped = false;
    for (CCaptionButton* button : {&m_close, &m_maximize, &m_minimize}) {
        button->SetHover(false);
        button->SetPressed(false);
    }
    CComponent::Uninstall();
    m_skin.Reset();
    Invalidate();
}

void CCaption::Invalidate() {
    m_images[0].DeleteObject();
    m_images[1].DeleteObject();
    m_region.DeleteObject();
    m_regionWidth = -1;
    m_shapeSize = CSize(-1, -1);
}

void CCaption::LoadSkin() {
    S_STD_SKININFO* record = CSkin::GetInstance()->GetComponent(GetOwnerSkinName());
    auto* caption = dynamic_cast<CaptionSkin*>(record);
    // A record without a height cannot make a caption: the system keeps its own.
    if (caption && caption->Border.InterationStep <= 0) caption = nullptr;
    if (!caption && record) record->Release();
    m_skin.Reset(caption);
}

void CCaption::ReadWindowState() {
    HWND window = GetHookedWindow();
    // The window's text so far: a dialog's title or a message box's caption
    // was set before any component was there to see it.
    const int length = ::GetWindowTextLengthA(window);
    m_text.Empty();
    if (length > 0) {
        char* buffer = m_text.GetBuffer(length + 1);
        const int copied = ::GetWindowTextA(window, buffer, length + 1);
        m_text.ReleaseBuffer(std::max(0, std::min(copied, length)));
    }
    m_active = ::GetActiveWindow() == window;
    ReadStyle();
}

void CCaption::ReadStyle() {
    HWND window = GetHookedWindow();
    if (m_styleSet || !window) return;
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    m_style = (exStyle & WS_EX_TOOLWINDOW) || !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) ? csCloseOnly : csNormal;
}

int CCaption::GetHeight() const {
    if (const CaptionSkin* skin = m_skin.Get()) return skin->Border.InterationStep;
    return ::GetSystemMetrics(SM_CYCAPTION);
}

CSize CCaption::WindowSize() const {
    HWND window = GetHookedWindow();
    return window ? WindowRect(window).Size() : CSize(0, 0);
}

bool CCaption::GetCaptionRegion(CRgn* region) {
    if (!region || !IsSkinned() || !GetHookedWindow()) return false;
    EnsureRegion(WindowSize().cx);
    return m_region.GetSafeHandle() && region->CopyRgn(&m_region) != ERROR;
}

void CCaption::SetCaptionStyle(CaptionStyle_e style) {
    m_style = style;
    m_styleSet = true;
    m_images[0].DeleteObject();
    m_images[1].DeleteObject();
    Redraw();
}

CCaptionButton* CCaption::GetButton(int index) {
    switch (index) {
    case 0: return &m_close;
    case 1: return &m_maximize;
    case 2: return &m_minimize;
    default: return nullptr;
    }
}

void CCaption::LayoutButtons(int width) {
    const CaptionSkin* skin = m_skin.Get();
    HWND window = GetHookedWindow();
    const LONG_PTR style = window ? ::GetWindowLongPtrA(window, GWL_STYLE) : 0;
    // Without a system menu a window has no caption buttons.
    const bool withButtons = skin && window && (style & WS_SYSMENU) && skin->ButtonWidth > 0 &&
                             skin->ButtonHeight > 0;
    int right = skin ? width - skin->ButtonsX : 0;
    const int top = skin ? skin->ButtonsY + (GetHeight() - skin->ButtonsY - skin->ButtonHeight) / 2 : 0;
    for (CCaptionButton* button : {&m_close, &m_maximize, &m_minimize}) {
        const bool shown = withButtons && (button == &m_close || m_style != csCloseOnly);
        button->SetVisible(shown);
        if (!shown) {
            button->SetRect(CRect());
            continue;
        }
        // Each button ends where the one before it begins, never left of 0.
        const int left = std::max(0, right - skin->ButtonWidth);
        button->SetRect(CRect(left, top, std::max(left, right), top + skin->ButtonHeight));
        right = left;
    }
    if (!window) return;
    m_close.SetEnabled(CanClose(window));
    m_maximize.SetEnabled((style & WS_MAXIMIZEBOX) != 0);
    m_maximize.SetColumn(::IsZoomed(window) ? CCaptionButton::kColumnRestore : CCaptionButton::kColumnMaximize);
    m_minimize.SetEnabled((style & WS_MINIMIZEBOX) != 0);
}

void CCaption::EnsureImages(int width) {
    const int height = GetHeight();
    for (int state = 0; state < 2; ++state) {
        ClsBitMap& image = m_images[state];
        if (image.GetIsValid() && image.GetWidth() == width && image.GetHeight() == height) continue;
        BuildImage(image, width, state == 1);
    }
}

bool CCaption::BuildImage(ClsBitMap& image, int width, bool active) {
    const CaptionSkin* skin = m_skin.Get();
    const int height = GetHeight();
    if (!skin || width <= 0 || height <= 0 || !image.AllocateBitMap(width, height, pf32bit)) {
        image.DeleteObject();
        return false;
    }
    CDC* dc = image.Lock();
    if (!dc) {
        image.DeleteObject();
        return false;
    }
    const BorderGeometry_t& cells = skin->Border;
    const ClsBitMap& source = skin->CaptionImage;
    const bool drawable = source.GetIsValid() && cells.ContentWidth > 0 && cells.ContentHeight > 0;
    if (drawable) {
        // The inactive caption lies one caption height below the active one.
        const int dy = active ? 0 : height;
        dc->FillSolidRect(0, 0, width, height, ClsBitMap::kTransparentKey);
        source.Draw(*dc, 0, 0, width, height, cells.ContentX, cells.ContentY + dy, cells.ContentWidth,
                    cells.ContentHeight);
        source.Draw(*dc, 0, 0, cells.LeftBorderWidth, cells.LeftBorderLength, cells.LeftBorderX,
                    cells.LeftBorderY + dy, cells.LeftBorderWidth, cells.LeftBorderLength);
        source.Draw(*dc, width - cells.RightBorderWidth, height - cells.RightBorderLength, cells.RightBorderWidth,
                    cells.RightBorderLength, cells.RightBorderX, cells.RightBorderY + dy, cells.RightBorderWidth,
                    cells.RightBorderLength);

        LayoutButtons(width);
        CRect text(DrawIcon(*dc, height) + skin->TextX, skin->TextY, width - cells.RightBorderWidth, height);
        for (CCaptionButton* button : {&m_close, &m_maximize, &m_minimize})
            if (button->GetVisible()) text.right = std::min(text.right, button->GetRect().left);
        if (!m_text.IsEmpty() && text.right > text.left) {
            ClsFont& font = m_skin->Font;
            HFONT handle = font.GetHandle();
            CScopedSelect selectFont(*dc, handle);
            const int oldMode = ::SetBkMode(*dc, TRANSPARENT);
            const COLORREF oldColor = ::SetTextColor(*dc, font.GetColor());
            ::DrawTextA(*dc, m_text, m_text.GetLength(), &text,
                        DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            ::SetTextColor(*dc, oldColor);
            ::SetBkMode(*dc, oldMode);
        }
    } else {
        dc->FillSolidRect(0, 0, width, height, kFailureColor);
    }
    image.Unlock();
    return drawable;
}

int CCaption::DrawIcon(HDC dc, int height) {
    const CaptionSkin& skin = *m_skin.Get();
    HWND window = GetHookedWindow();
    auto icon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_SMALL2, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(window, GCLP_HICON));
    if (!icon) return skin.IconX;
    const int width = ::GetSystemMetrics(SM_CXSMICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYSMICON);
    const int y = skin.IconY + (height - skin.IconY - iconHeight) / 2;
    ::DrawIconEx(dc, skin.IconX, y, icon, width, iconHeight, 0, nullptr, DI_NORMAL);
    return skin.IconX + width;
}

void CCaption::EnsureRegion(int width) {
    if (m_regionWidth == width && m_region.GetSafeHandle()) return;
    m_region.DeleteObject();
    m_regionWidth = width;
    const CaptionSkin* skin = m_skin.Get();
    if (!skin) return;
    const int height = GetHeight();
    const BorderGeometry_t& cells = skin->Border;
    const ClsBitMap& source = skin->CaptionImage;
    const CRect caption(0, 0, std::max(width, 0), height);
    if (!source.GetIsValid()) {
        // Nothing to cut the ends from: the caption is the whole strip.
        m_region.CreateRectRgnIndirect(&caption);
        return;
    }
    // The solid pixels of the two end cells and everything between them.
    const int middleLeft = cells.LeftBorderWidth;
    const int middleRight = width - cells.RightBorderWidth;
    if (middleRight > middleLeft)
        m_region.CreateRectRgn(middleLeft, 0, middleRight, height);
    else
        m_region.CreateRectRgn(0, 0, 0, 0);
    const CRect leftCell(cells.LeftBorderX, cells.LeftBorderY, cells.LeftBorderX + cells.LeftBorderWidth,
                         cells.LeftBorderY + cells.LeftBorderLength);
    CRgn left = source.CreateRgn(ClsBitMap::kTransparentKey, &leftCell);
    if (left.GetSafeHandle()) m_region.CombineRgn(&m_region, &left, RGN_OR);
    const CRect rightCell(cells.RightBorderX, cells.RightBorderY, cells.RightBorderX + cells.RightBorderWidth,
                          cells.RightBorderY + cells.RightBorderLength);
    CRgn right = source.CreateRgn(ClsBitMap::kTransparentKey, &rightCell);
    if (right.GetSafeHandle()) {
        right.OffsetRgn(width - cells.RightBorderWidth, height - cells.RightBorderLength);
        m_region.CombineRgn(&m_region, &right, RGN_OR);
    }
    CRgn strip;
    strip.CreateRectRgnIndirect(&caption);
    m_region.CombineRgn(&m_region, &strip, RGN_AND);
}

void CCaption::UpdateShape() {
    HWND window = GetHookedWindow();
    if (!window) return;
    if (!IsSkinned()) {
        if (m_shaped) ::SetWindowRgn(window, nullptr, IsShown(window));
        m_shaped = false;
        m_shapeSize = CSize(-1, -1);
        return;
    }
    const CSize size = WindowSize();
    if (m_shaped && size == m_shapeSize) return;
    EnsureRegion(size.cx);
    CRgn shape;
    if (m_region.GetSafeHandle())
        shape.CopyRgn(&m_region);
    else
        shape.CreateRectRgn(0, 0, 0, 0);
    // Below the caption the window keeps its whole rectangle.
    const int height = GetHeight();
    if (size.cy > height) {
        CRgn body;
        body.CreateRectRgn(0, height, size.cx, size.cy);
        shape.CombineRgn(&shape, &body, RGN_OR);
    }
    // Set first: the system's frame change for the new shape comes back here.
    m_shapeSize = size;
    m_shaped = true;
    if (!::SetWindowRgn(window, static_cast<HRGN>(shape.GetSafeHandle()), IsShown(window))) return;
    shape.Detach();  // the system owns it now
}

UINT CCaption::HitTest(POINT point) {
    HWND window = GetHookedWindow();
    if (!IsSkinned() || !window) return HTNOWHERE;
    const CSize size = WindowSize();
    EnsureRegion(size.cx);
    if (!m_region.GetSafeHandle() || !m_region.PtInRegion(point)) return HTNOWHERE;
    LayoutButtons(size.cx);
    if (CCaptionButton* button = ButtonAt(point)) return button->GetHitTest();
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    if ((style & WS_THICKFRAME) && !::IsZoomed(window) && !::IsIconic(window)) {
        const CaptionSkin& skin = *m_skin.Get();
        const int corner = ::GetSystemMetrics(SM_CXICON);
        if (point.y < skin.FrameHeight) {
            if (point.x < corner) return HTTOPLEFT;
            if (point.x >= size.cx - corner) return HTTOPRIGHT;
            return HTTOP;
        }
        if (point.x < skin.FrameWidth) return HTTOPLEFT;
        if (point.x >= size.cx - skin.FrameWidth) return HTTOPRIGHT;
    }
    return HTCAPTION;
}

CCaptionButton* CCaption::ButtonAt(POINT point) {
    for (CCaptionButton* button : {&m_close, &m_maximize, &m_minimize})
        if (button->GetVisible() && button->GetRect().PtInRect(point)) return button;
    return nullptr;
}

CCaptionButton* CCaption::ButtonWithHitTest(UINT hitTest) {
    if (!IsSkinned()) return nullptr;
    LayoutButtons(WindowSize().cx);
    for (CCaptionButton* button : {&m_close, &m_maximize, &m_minimize})
        if (button->GetVisible() && button->GetHitTest() == hitTest) return button;
    return nullptr;
}

void CCaption::Redraw() {
    HWND window = GetHookedWindow();
    if (!IsSkinned() || !window || !IsShown(window)) return;
    CWindowDC dc(window);
    Draw(dc);
}

void CCaption::Draw(HDC dc) {
    if (!IsSkinned() || !dc || !GetHookedWindow()) return;
    const CSize size = WindowSize();
    const int height = GetHeight();
    if (size.cx <= 0) return;
    EnsureImages(size.cx);
    LayoutButtons(size.cx);
    // Composed off the screen and copied once: no button ever flickers.
    ClsBitMap frame;
    CDC* canvas = frame.AllocateBitMap(size.cx, height, pf32bit) ? frame.Lock() : nullptr;
    if (!canvas) {
        CDC target = CDC::Borrow(dc);
        target.FillSolidRect(0, 0, size.cx, height, kFailureColor);
        return;
    }
    const ClsBitMap& image = m_images[m_active ? 1 : 0];
    if (image.GetIsValid())
        image.Draw(*canvas, 0, 0);
    else
        canvas->FillSolidRect(0, 0, size.cx, height, kFailureColor);
    const CaptionSkin& skin = *m_skin.Get();
    for (CCaptionButton* button : {&m_minimize, &m_maximize, &m_close})
        button->Draw(canvas, skin.ButtonsImage, skin.ButtonWidth, skin.ButtonHeight);
    frame.Unlock();
    frame.Draw(dc, 0, 0);
}

void CCaption::SetHoverButton(CCaptionButton* hovered) {
    bool changed = false;
    for (CCaptionButton* button : {&m_close, &m_maximize, &m_minimize}) {
        if (button->GetHover() == (button == hovered)) continue;
        button->SetHover(button == hovered);
        changed = true;
    }
    HWND window = GetHookedWindow();
    if (window) {
        if (hovered)
            ::SetTimer(window, kHoverTimerId, kHoverTimerMs, nullptr);
        else
            ::KillTimer(window, kHoverTimerId);
    }
    if (changed) Redraw();
}

void CCaption::CheckHover() {
    HWND window = GetHookedWindow();
    if (!window || m_tracking) return;
    CCaptionButton* over = nullptr;
    POINT cursor{};
    if (::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == window) over = ButtonAt(WindowPoint(window, cursor));
    CCaptionButton* hovered = nullptr;
    for (CCaptionButton* button : {&m_close, &m_maximize, &m_minimize})
        if (button->GetHover()) hovered = button;
    if (!hovered || over != hovered) SetHoverButton(nullptr);
}

void CCaption::PressButton(CCaptionButton* button) {
    HWND window = GetHookedWindow();
    m_tracking = button;
    ::KillTimer(window, kHoverTimerId);
    for (CCaptionButton* other : {&m_close, &m_maximize, &m_minimize}) other->SetHover(other == button);
    button->SetPressed(true);
    ::SetCapture(window);
    Redraw();
}

UINT CCaption::EndTracking(bool act) {
    CCaptionButton* button = m_tracking;
    m_tracking = nullptr;
    if (!button) return 0;
    button->SetPressed(false);
    HWND window = GetHookedWindow();
    if (window && ::GetCapture() == window) ::ReleaseCapture();
    // Released over the button, the mouse is still on it.
    button->SetHover(false);
    SetHoverButton(act ? button : nullptr);
    Redraw();
    if (!act || !window) return 0;
    if (button == &m_close) return SC_CLOSE;
    if (button == &m_maximize) return ::IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE;
    return ::IsIconic(window) ? SC_RESTORE : SC_MINIMIZE;
}

bool CCaption::InCaption(UINT hitTest) const {
    return hitTest == HTCAPTION || hitTest == HTCLOSE || hitTest == HTMAXBUTTON || hitTest == HTMINBUTTON;
}

void CCaption::ShowSystemMenu(POINT at) {
    HWND window = GetHookedWindow();
    HMENU menu = window ? ::GetSystemMenu(window, FALSE) : nullptr;
    if (!menu) return;
    // The items follow the window's state, as the system's own menu does.
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const bool zoomed = ::IsZoomed(window) != 0;
    const bool iconic = ::IsIconic(window) != 0;
    const auto enable = [menu](UINT id, bool on) {
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(SC_RESTORE, zoomed || iconic);
    enable(SC_MOVE, !zoomed);
    enable(SC_SIZE, (style & WS_THICKFRAME) && !zoomed && !iconic);
    enable(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
    enable(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
    const UINT command = static_cast<UINT>(::TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0,
        window, nullptr));
    if (command) ::PostMessageA(window, WM_SYSCOMMAND, command, MAKELPARAM(at.x, at.y));
}

LRESULT CCaption::CallWithoutSystemCaption(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = GetHookedWindow();
    // The system repaints its own caption after a new text or icon, but only
    // on a visible window: for the call the window is not visible to it.
    const bool visible = IsShown(window);
    if (visible) ::DefWindowProcA(window, WM_SETREDRAW, FALSE, 0);
    const LRESULT result = CallNext(message, wParam, lParam);
    if (visible && ::IsWindow(window)) {
        ::DefWindowProcA(window, WM_SETREDRAW, TRUE, 0);
        // Turning drawing off dropped what was waiting to be painted.
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return result;
}

LRESULT CCaption::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsSkinned()) {
        switch (message) {
        case WM_SETTEXT: {
            m_text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            const LRESULT result = CallWithoutSystemCaption(message, wParam, lParam);
            m_images[0].DeleteObject();
            m_images[1].DeleteObject();
            Redraw();
            return result;
        }
        case WM_SETICON: {
            const LRESULT result = CallWithoutSystemCaption(message, wParam, lParam);
            m_images[0].DeleteObject();
            m_images[1].DeleteObject();
            Redraw();
            return result;
        }
        case WM_TIMER:
            if (wParam != kHoverTimerId) break;
            CheckHover();
            return 0;
        case WM_CAPTURECHANGED:
            if (m_tracking && reinterpret_cast<HWND>(lParam) != GetHookedWindow()) EndTracking(false);
            break;
        case WM_NCRBUTTONUP:
            if (!m_rightPressed) break;
            m_rightPressed = false;
            if (!InCaption(static_cast<UINT>(wParam))) break;
            ShowSystemMenu(LParamPoint(lParam));
            return 0;
        case WM_CONTEXTMENU:
            if (lParam != -1) {
                const CPoint at = LParamPoint(lParam);
                if (InCaption(HitTest(WindowPoint(GetHookedWindow(), at)))) {
                    ShowSystemMenu(at);
                    return 0;
                }
            }
            break;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
        case WM_STYLECHANGED: {
            const LRESULT result = CallNext(message, wParam, lParam);
            if (message == WM_STYLECHANGED) ReadStyle();
            m_images[0].DeleteObject();
            m_images[1].DeleteObject();
            Redraw();
            return result;
        }
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = CallNext(message, wParam, lParam);
            const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (position && !(position->flags & SWP_NOSIZE)) UpdateShape();
            return result;
        }
        default: break;
        }
    }
    return CComponent::WindowProc(message, wParam, lParam);
}

LRESULT CCaption::OnSkinChanged() {
    const LRESULT result = Default();
    HWND window = GetHookedWindow();
    if (!window) return result;
    LoadSkin();
    Invalidate();
    UpdateShape();
    // Painted once the window has taken its new frame.
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return result;
}

void CCaption::OnNcCalcSize(WMNCCalcSize_t& m) {
    RECT* proposed = m.ProposedRect();
    if (!IsSkinned() || !proposed) {
        m.Result = Default();
        return;
    }
    // The window's top rows are the caption; the frame below is the border's.
    proposed->top = std::min<LONG>(proposed->top + GetHeight(), proposed->bottom);
    m.Result = 0;
}

void CCaption::OnNcHitTest(WMNCHitTest_t& m) {
    if (HWND window = GetHookedWindow(); window && IsSkinned()) {
        const UINT hit = HitTest(WindowPoint(window, POINT{m.XPos(), m.YPos()}));
        if (hit != HTNOWHERE) {
            m.Result = hit;
            return;
        }
    }
    m.Result = Default();
}

void CCaption::OnNcPaint(WMNCPaint_t& m) {
    HWND window = GetHookedWindow();
    if (!IsSkinned() || !window) {
        m.Result = Default();
        return;
    }
    Redraw();
    m.Result = 0;
}

void CCaption::OnNcActivate(WMNCActivate_t& m) {
    if (!IsSkinned()) {
        m.Result = Default();
        return;
    }
    m_active = m.Active();
    // The system keeps its own note of the state, without painting (-1).
    m.Result = CallNext(WM_NCACTIVATE, m.WParam, -1);
    if (m.LParam != -1) Redraw();
}

void CCaption::OnNCMouseMove(WMNCHitMessage_t& m) {
    if (IsSkinned() && !m_tracking) SetHoverButton(ButtonWithHitTest(m.HitTest()));
    m.Result = Default();
}

void CCaption::OnNcLButtonDown(WMNCHitMessage_t& m) {
    if (CCaptionButton* button = ButtonWithHitTest(m.HitTest())) {
        // The system would track and paint a button of its own caption.
        if (button->GetEnabled()) PressButton(button);
        m.Result = 0;
        return;
    }
    m.Result = Default();
}

void CCaption::OnNcLButtonDblClk(WMNCHitMessage_t& m) {
    if (ButtonWithHitTest(m.HitTest())) {
        OnNcLButtonDown(m);
        return;
    }
    m.Result = Default();
}

void CCaption::OnNCLButtonUp(WMNCHitMessage_t& m) {
    if (!m_tracking) {
        m.Result = Default();
        return;
    }
    HWND window = GetHookedWindow();
    const UINT command = EndTracking(m.HitTest() == m_tracking->GetHitTest());
    m.Result = 0;
    // Last: the command may end the window, and this component with it.
    if (command) ::SendMessageA(window, WM_SYSCOMMAND, command, m.LParam);
}

void CCaption::OnNcRButtonDown(WMNCHitMessage_t& m) {
    if (IsSkinned() && InCaption(m.HitTest())) {
        // The system would wait for the release and track its menu with its
        // own caption's hit testing.
        m_rightPressed = true;
        m.Result = 0;
        return;
    }
    m.Result = Default();
}

void CCaption::OnMouseMove(WMMouse_t& m) {
    HWND window = GetHookedWindow();
    if (!m_tracking || !window) {
        m.Result = Default();
        return;
    }
    POINT at = m.Pos();
    ::ClientToScreen(window, &at);
    const bool over = ButtonAt(WindowPoint(window, at)) == m_tracking;
    if (over != m_tracking->GetPressed()) {
        m_tracking->SetPressed(over);
        m_tracking->SetHover(over);
        Redraw();
    }
    m.Result = 0;
}

void CCaption::OnLButtonUp(WMMouse_t& m) {
    HWND window = GetHookedWindow();
    if (!m_tracking || !window) {
        m.Result = Default();
        return;
    }
    POINT at = m.Pos();
    ::ClientToScreen(window, &at);
    const UINT command = EndTracking(ButtonAt(WindowPoint(window, at)) == m_tracking);
    m.Result = 0;
    // Last: the command may end the window, and this component with it.
    if (command) ::SendMessageA(window, WM_SYSCOMMAND, command, MAKELPARAM(at.x, at.y));
}

LRESULT CCaption::OnSysCommand(UINT command, CPoint point) {
    HWND window = GetHookedWindow();
    const bool topLevel = window && !(::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD);
    if (IsSkinned() && topLevel && (command & 0xFFF0) == SC_KEYMENU && !::GetMenu(window)) {
        // Without a menu bar the system would track its system menu from the
        // system button of its own caption.
        if (point.x == ' ') {
            const CRect bounds = WindowRect(window);
            ShowSystemMenu(CPoint(bounds.left + m_skin->Border.LeftBorderWidth, bounds.top + GetHeight()));
        }
        return 0;
    }
    return Default();
}
